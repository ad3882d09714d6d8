#include "pages/grid/PropertyGrid.h"

#include "pages/common/SuggestionList.h"
#include "pages/grid/CssPropertyNames.h"

#include <QApplication>
#include <QColor>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyledItemDelegate>

#include <limits>

namespace {

// The caption row's texts, also the names screen readers give the editor.
const QString NameCaption = QStringLiteral("属性名");
const QString ValueCaption = QStringLiteral("值");

// A warning, not an error: dark orange rather than red.
const QColor WarningColour(0xb3, 0x58, 0x06);

// The in-place editor: a plain line edit, offering property names in the
// name column.
class CellDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &,
                          const QModelIndex &index) const override
    {
        auto *editor = new QLineEdit(parent);
        editor->setObjectName(QStringLiteral("txtE"));
        editor->setFrame(false);
        // A line edit cuts longer text to 32767 characters; a value (an inline
        // picture, say) may be longer and must not be cut by being edited.
        editor->setMaxLength(std::numeric_limits<int>::max());
        editor->installEventFilter(this->parent()); // the grid, for Up and Down
        if (index.column() == PropertyGrid::NameColumn) {
            editor->setAccessibleName(NameCaption);
            // Above the cell, so the next row stays free for a click.
            new SuggestionList(editor, CssPropertyNames(), SuggestionList::Side::Above);
        } else {
            editor->setAccessibleName(ValueCaption);
        }
        return editor;
    }
};

} // namespace

PropertyGrid::PropertyGrid(QWidget *parent)
    : QTableWidget(0, 2, parent)
{
    setObjectName(QStringLiteral("Gd"));
    setHorizontalHeaderLabels({NameCaption, ValueCaption});
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setSectionsClickable(false);
    verticalHeader()->hide();
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(true);
    // The current cell is always open for typing; a click or a key on a cell
    // whose editor was closed (Enter, Escape) opens it again.
    setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::SelectedClicked
                    | QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::AnyKeyPressed);
    setItemDelegate(new CellDelegate(this));

    connect(this, &QTableWidget::currentCellChanged, this,
            [this](int currentRow) { appendRowAtEnd(currentRow); });
    connect(this, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) { markName(item); });
}

QString PropertyGrid::text(int row, int column) const
{
    const QTableWidgetItem *cell = item(row, column);
    return cell ? cell->text() : QString();
}

void PropertyGrid::setText(int row, int column, const QString &text)
{
    setItem(row, column, new QTableWidgetItem(text));
}

void PropertyGrid::commitEditor()
{
    if (QWidget *editor = indexWidget(currentIndex()))
        commitData(editor);
}

void PropertyGrid::dropEditor()
{
    if (QWidget *editor = indexWidget(currentIndex()))
        closeEditor(editor, QAbstractItemDelegate::NoHint);
}

bool PropertyGrid::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    if (trigger == CurrentChanged && !hasFocus() && !isAncestorOf(QApplication::focusWidget()))
        return false;
    return QTableWidget::edit(index, trigger, event);
}

void PropertyGrid::focusInEvent(QFocusEvent *event)
{
    QTableWidget::focusInEvent(event);
    if (currentIndex().isValid())
        edit(currentIndex(), AllEditTriggers, nullptr);
}

bool PropertyGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && stepRow(*static_cast<QKeyEvent *>(event)))
        return true;
    return QTableWidget::eventFilter(watched, event);
}

void PropertyGrid::keyPressEvent(QKeyEvent *event)
{
    if (!stepRow(*event))
        QTableWidget::keyPressEvent(event);
}

bool PropertyGrid::stepRow(const QKeyEvent &key)
{
    if ((key.key() != Qt::Key_Up && key.key() != Qt::Key_Down) || currentRow() < 0)
        return false;
    int step = key.key() == Qt::Key_Up ? -1 : 1;
    const Qt::KeyboardModifiers held = key.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (held == Qt::ShiftModifier)
        step = -step;
    setCurrentCell((currentRow() + step + rowCount()) % rowCount(), currentColumn());
    return true;
}

void PropertyGrid::resizeEvent(QResizeEvent *event)
{
    QTableWidget::resizeEvent(event);
    // The value column, stretched, takes the rest.
    setColumnWidth(NameColumn, contentsRect().width() * 35 / 100);
}

void PropertyGrid::appendRowAtEnd(int currentRow)
{
    if (currentRow >= 0 && currentRow == rowCount() - 1)
        insertRow(rowCount());
}

void PropertyGrid::markName(QTableWidgetItem *cell)
{
    if (cell->column() != NameColumn)
        return;
    const QString name = cell->text().trimmed();
    const bool unknown = !name.isEmpty() && !IsKnownPropertyName(name);
    cell->setData(Qt::ToolTipRole, unknown ? QVariant(QStringLiteral("未知属性")) : QVariant());
    cell->setData(Qt::ForegroundRole, unknown ? QVariant(WarningColour) : QVariant());
}
