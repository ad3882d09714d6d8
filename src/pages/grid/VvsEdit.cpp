#include "pages/grid/VvsEdit.h"

#include "css/modCSSFns.h"
#include "css/modStr.h"
#include "pages/common/StylePage.h"
#include "pages/grid/PropertyGrid.h"
#include "support/VValues.h"

#include <QShowEvent>
#include <QTableWidgetItem>
#include <QVBoxLayout>

#include <utility>

namespace {
// Where a name cell keeps the comment that stood in front of its declaration.
constexpr int CommentRole = Qt::UserRole + 1;
} // namespace

VvsEdit::VvsEdit(QWidget *parent)
    : QWidget(parent)
    , m_grid(new PropertyGrid(this))
{
    m_grid->setAccessibleName(QStringLiteral("所有属性"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_grid);
}

bool VvsEdit::Init(VValues &values)
{
    m_values = &values;
    return true;
}

bool VvsEdit::Update()
{
    m_grid->commitEditor();
    m_error = breakingRow();
    if (!m_error.isEmpty())
        return false;
    storeRows();
    return true;
}

// Why the first row whose name or value would end or open a block or a
// comment cannot be written, or nothing.
QString VvsEdit::breakingRow() const
{
    for (int row = 0; row < m_grid->rowCount(); ++row) {
        const QString name = m_grid->text(row, PropertyGrid::NameColumn);
        const QString value = m_grid->text(row, PropertyGrid::ValueColumn);
        if (!StaysInDeclaration(QString(), name))
            return BreakingValueMessage(name);
        if (!StaysInDeclaration(name, value))
            return BreakingValueMessage(value);
    }
    return QString();
}

void VvsEdit::ReShow()
{
    m_grid->dropEditor();
    showRows();
    m_grid->setCurrentCell(0, PropertyGrid::NameColumn);
}

QString VvsEdit::ErrString() const
{
    return m_error;
}

void VvsEdit::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_grid->setFocus();
}

void VvsEdit::showRows()
{
    m_grid->setRowCount(0);
    m_grid->setRowCount(m_values->Count() + 1);
    int row = 0;
    for (const Pair &pair : *m_values) {
        m_grid->setText(row, PropertyGrid::NameColumn, pair.Key());
        m_grid->setText(row, PropertyGrid::ValueColumn, pair.Value());
        // The comment in front of the declaration stays with its row.
        if (!pair.Comment().isEmpty()) {
            QTableWidgetItem *name = m_grid->item(row, PropertyGrid::NameColumn);
            name->setData(CommentRole, pair.Comment());
            name->setToolTip(pair.Comment());
        }
        ++row;
    }
}

// The one place the grid becomes the rule's values: a row with an empty name
// or value is dropped; rows sharing a name make a chain in row order.
void VvsEdit::storeRows()
{
    // A dropped row's comment moves on to the next row kept, or to the end.
    QString carried;
    const QString trailing = m_values->TrailingComment();
    m_values->Clear();
    for (int row = 0; row < m_grid->rowCount(); ++row) {
        const QString name = TrimSpaces(m_grid->text(row, PropertyGrid::NameColumn)).toString();
        const QString value = TrimSpaces(m_grid->text(row, PropertyGrid::ValueColumn)).toString();
        const QTableWidgetItem *nameItem = m_grid->item(row, PropertyGrid::NameColumn);
        carried = JoinedComments(carried, nameItem ? nameItem->data(CommentRole).toString() : QString());
        if (name.isEmpty() || value.isEmpty())
            continue;
        m_values->Append(value, name).SetComment(std::exchange(carried, QString()));
    }
    m_values->SetTrailingComment(JoinedComments(carried, trailing));
}
