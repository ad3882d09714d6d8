#include "app/RuleFilterModel.h"

#include "app/Stylesheet.h"

RuleFilterModel::RuleFilterModel(const Stylesheet *document, QObject *parent)
    : QSortFilterProxyModel(parent)
    , m_document(document)
{
}

void RuleFilterModel::setFilterText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    invalidateFilter();
}

void RuleFilterModel::setPinnedRow(int row)
{
    if (row == m_pinned)
        return;
    m_pinned = row;
    // Without a filter every row shows anyway; a pass over all rules would be wasted.
    if (!m_text.isEmpty())
        invalidateFilter();
}

bool RuleFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex &) const
{
    // The document's own text is searched: going through data() or copying the
    // rule would build a string per rule, too slow for a filter that runs on
    // every keystroke.
    return m_text.isEmpty() || sourceRow == m_pinned
        || m_document->selectorView(sourceRow).contains(m_text, Qt::CaseInsensitive);
}
