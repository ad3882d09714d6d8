#include "app/RuleListModel.h"

#include "app/AppTexts.h"

#include <iterator>

int RuleListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rules.size());
}

QVariant RuleListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return rule(index.row()).selector;
    if (role == Qt::ToolTipRole)
        return ruleText(index.row());
    return {};
}

bool RuleListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return false;
    const QString selector = value.toString();
    // An empty name is refused; the row keeps its previous text.
    if (selector.isEmpty())
        return false;
    if (selector == rule(index.row()).selector)
        return true;
    m_rules[size_t(index.row())].selector = selector;
    emit dataChanged(index, index);
    emit selectorEdited(index.row());
    return true;
}

Qt::ItemFlags RuleListModel::flags(const QModelIndex &index) const
{
    return QAbstractListModel::flags(index) | Qt::ItemIsEditable;
}

QVariant RuleListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (section == 0 && orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return AppTexts::listHeader;
    return {};
}

QString RuleListModel::ruleText(int row) const
{
    const Rule &r = rule(row);
    return r.selector + QLatin1String(" { ") + r.declarations + QLatin1String(" }");
}

void RuleListModel::setRules(std::vector<Rule> rules)
{
    beginResetModel();
    m_rules = std::move(rules);
    endResetModel();
}

int RuleListModel::appendRules(std::vector<Rule> rules)
{
    const int first = int(m_rules.size());
    if (rules.empty())
        return first;
    beginInsertRows(QModelIndex(), first, first + int(rules.size()) - 1);
    m_rules.insert(m_rules.end(), std::make_move_iterator(rules.begin()),
                   std::make_move_iterator(rules.end()));
    endInsertRows();
    return first;
}

void RuleListModel::removeRule(int row)
{
    beginRemoveRows(QModelIndex(), row, row);
    m_rules.erase(m_rules.begin() + row);
    endRemoveRows();
}

void RuleListModel::setDeclarations(int row, const QString &declarations)
{
    m_rules[size_t(row)].declarations = declarations;
    const QModelIndex changed = index(row);
    emit dataChanged(changed, changed, {Qt::ToolTipRole});
}
