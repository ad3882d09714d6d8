#pragma once

#include "app/StylesheetTree.h"

#include <QSortFilterProxyModel>

#include <utility>
#include <vector>

class RuleListModel;

// Shows the entries whose text contains the filter text, ignoring letter
// case, at every depth with the blocks that hold them, and always the current
// entry, so its edits never vanish from sight.
class RuleFilterModel : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit RuleFilterModel(RuleListModel *rules, QObject *parent = nullptr);

    void setFilterText(const QString &text);
    // The entry shown whatever the filter says (empty: none).
    void setPinned(const EntryPath &entry);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    void refilter();
    bool matches(const Rule &entry) const;

    RuleListModel *m_rules;
    QString m_text;
    EntryPath m_pinned;
    // The pinned entry and the entries holding it, as block and row.
    std::vector<std::pair<const RuleBlock *, int>> m_pinnedPlaces;
};
