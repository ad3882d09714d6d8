#include "app/RuleFilterModel.h"

#include "app/RuleListModel.h"

#include <algorithm>

RuleFilterModel::RuleFilterModel(RuleListModel *rules, QObject *parent)
    : QSortFilterProxyModel(parent)
    , m_rules(rules)
{
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
    if (m_text.isEmpty())
        return true;
    // A block shows when it holds the pinned entry or a match.
    QModelIndex pinned = m_pinned;
    for (; pinned.isValid(); pinned = pinned.parent()) {
        if (pinned.row() == sourceRow && pinned.parent() == sourceParent)
            return true;
    }
    return matches(m_rules->entryAt(sourceParent, sourceRow));
}

// The document's own texts are searched: going through data() would build a
// string per rule, too slow for a filter that runs on every keystroke.
bool RuleFilterModel::matches(const Rule &entry) const
{
    if (entry.selector.contains(m_text, Qt::CaseInsensitive))
        return true;
    if (!entry.holdsEntries())
        return false;
    return std::any_of(entry.block->entries.begin(), entry.block->entries.end(),
                       [this](const Rule &inside) { return matches(inside); });
}
