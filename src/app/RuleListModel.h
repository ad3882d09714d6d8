#pragma once

#include <QAbstractListModel>
#include <QString>

#include <vector>

// One stylesheet rule as the list holds it.
struct Rule
{
    QString selector;
    QString declarations;
};

// The rules of the open stylesheet, one row per rule, shown under the one
// column "Select". The row text is the selector; it can be renamed in place,
// but never to an empty text.
class RuleListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    const Rule &rule(int row) const { return m_rules[size_t(row)]; }
    // selector + " { " + declarations + " }": the saved line, the status text
    // and the clipboard text of a rule.
    QString ruleText(int row) const;

    // Replaces every rule in one reset, which stays fast for very long lists.
    void setRules(std::vector<Rule> rules);
    // Appends in one insertion; returns the row of the first appended rule.
    int appendRules(std::vector<Rule> rules);
    void removeRule(int row);
    void setDeclarations(int row, const QString &declarations);

signals:
    // The user gave the rule in row a new, non-empty selector in place.
    void selectorEdited(int row);

private:
    std::vector<Rule> m_rules;
};
