#include "app/RuleListView.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyledItemDelegate>

#include <limits>
#include <utility>

namespace {

// The rename editor: no length limit, as selectors of icon sets run to tens of
// thousands of characters, and Enter only with a name the check accepts.
class RuleNameDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    RuleListView::NameCheck check;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override
    {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto *line = qobject_cast<QLineEdit *>(editor))
            line->setMaxLength(std::numeric_limits<int>::max());
        m_editing = index;
        return editor;
    }

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        auto *line = qobject_cast<QLineEdit *>(object);
        if (line && event->type() == QEvent::KeyPress && check && m_editing.isValid()) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !check(m_editing, line->text())) {
                QApplication::beep();
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    mutable QPersistentModelIndex m_editing;
};

} // namespace

RuleListView::RuleListView(QWidget *parent)
    : QTreeView(parent)
{
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    setItemDelegate(new RuleNameDelegate(this));
    header()->setSectionsMovable(false);
}

void RuleListView::setNameCheck(NameCheck check)
{
    static_cast<RuleNameDelegate *>(itemDelegate())->check = std::move(check);
}

void RuleListView::commitOpenEditor()
{
    if (state() != QAbstractItemView::EditingState)
        return;
    if (QWidget *editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}
