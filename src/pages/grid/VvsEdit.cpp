#include "pages/grid/VvsEdit.h"

#include "css/modStr.h"
#include "pages/grid/PropertyGrid.h"
#include "support/VValues.h"

#include <QShowEvent>
#include <QVBoxLayout>

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
    storeRows();
    return true;
}

void VvsEdit::ReShow()
{
    m_grid->dropEditor();
    showRows();
    m_grid->setCurrentCell(0, PropertyGrid::NameColumn);
}

QString VvsEdit::ErrString() const
{
    return QString();
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
        ++row;
    }
}

// The one place the grid becomes the rule's values: a row with an empty name
// or value is dropped; of rows sharing a name, the first gives the place and
// the last the value.
void VvsEdit::storeRows()
{
    m_values->Clear();
    for (int row = 0; row < m_grid->rowCount(); ++row) {
        const QString name = TrimSpaces(m_grid->text(row, PropertyGrid::NameColumn)).toString();
        const QString value = TrimSpaces(m_grid->text(row, PropertyGrid::ValueColumn)).toString();
        if (name.isEmpty() || value.isEmpty())
            continue;
        if (Pair *pair = m_values->Find(name))
            pair->SetValue(value);
        else
            m_values->Add(value, name);
    }
}
