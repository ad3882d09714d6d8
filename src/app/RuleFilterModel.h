#pragma once

#include <QPersistentModelIndex>
#include <QSortFilterProxyModel>

class RuleListModel;
struct Rule;

// Shows the entries whose text contains the filter text, ignoring letter
// case, at every depth with the blocks that hold them, and always the current
// entry, so its edits never vanish from sight.
class RuleFilterModel : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit RuleFilterModel(RuleListModel *rules, QObject *parent = nullptr);

    void setFilterText(const QString &text);
    // The entry shown whatever the filter says (invalid: none); a source index.
    void setPinned(const QModelIndex &entry);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    bool matches(const Rule &entry) const;

    RuleListModel *m_rules;
    QString m_text;
    QPersistentModelIndex m_pinned;
};
