#include "app/RuleFilterModel.h"

#include "app/RuleListModel.h"

RuleFilterModel::RuleFilterModel(RuleListModel *rules, QObject *parent)
    : QSortFilterProxyModel(parent)
    , m_rules(rules)
{
    setRecursiveFilteringEnabled(true);
    setSourceModel(rules);
}

void RuleFilterModel::setFilterText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    invalidateFilter();
}

void RuleFilterModel::setPinned(const QModelIndex &entry)
{
    if (entry == m_pinned)
        return;
    m_pinned = entry;
    // Without a filter every row shows anyway; a pass over all rules would be wasted.
    if (!m_text.isEmpty())
        invalidateFilter();
}

bool RuleFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const
{
    // The document's own text is searched: going through data() would build a
    // string per rule, too slow for a filter that runs on every keystroke.
    if (m_text.isEmpty())
        return true;
    if (m_pinned.isValid() && m_pinned.row() == sourceRow && m_pinned.parent() == sourceParent)
        return true;
    return m_rules->entryAt(sourceParent, sourceRow).selector.contains(m_text, Qt::CaseInsensitive);
}
