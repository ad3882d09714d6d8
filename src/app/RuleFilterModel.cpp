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
    refilter();
}

void RuleFilterModel::setPinned(const EntryPath &entry)
{
    if (entry == m_pinned)
        return;
    m_pinned = entry;
    // Without a filter every row shows anyway; a pass over all rules would be wasted.
    if (!m_text.isEmpty())
        refilter();
}

// The rules are read again as a whole: refiltering block by block would have
// the view lay itself out again for every block, thousands of times over.
void RuleFilterModel::refilter()
{
    m_pinnedPlaces.clear();
    QModelIndex parent;
    for (int level = 0; level < m_pinned.depth(); ++level) {
        m_pinnedPlaces.emplace_back(m_rules->blockUnder(parent), m_pinned.rowAt(level));
        parent = m_rules->index(m_pinned.rowAt(level), 0, parent);
    }
    m_rules->reshow();
}

bool RuleFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const
{
    if (m_text.isEmpty())
        return true;
    const std::pair<const RuleBlock *, int> place(m_rules->blockUnder(sourceParent), sourceRow);
    if (std::find(m_pinnedPlaces.begin(), m_pinnedPlaces.end(), place) != m_pinnedPlaces.end())
        return true;
    return matches(place.first->entries[size_t(sourceRow)]);
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
