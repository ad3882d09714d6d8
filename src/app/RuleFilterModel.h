#pragma once

#include <QSortFilterProxyModel>

class Stylesheet;

// Shows the rules whose selector contains the filter text, ignoring letter
// case, and always the current rule, so its edits never vanish from sight.
class RuleFilterModel : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit RuleFilterModel(const Stylesheet *document, QObject *parent = nullptr);

    void setFilterText(const QString &text);
    // The rule shown whatever the filter says (-1: none).
    void setPinnedRow(int row);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    const Stylesheet *m_document;
    QString m_text;
    int m_pinned = -1;
};
