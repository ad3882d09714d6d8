#include "app/RuleListModel.h"

#include "app/Stylesheet.h"

namespace {

// The rule text, with the comments that stand around the rule in the file.
QString toolTip(const Rule &rule, const QString &ruleText)
{
    QStringList lines;
    for (const QString &comment : rule.commentsBefore)
        lines << QStringLiteral("/*") + comment + QStringLiteral("*/");
    lines << ruleText;
    for (const QString &comment : rule.commentsAfter)
        lines << QStringLiteral("/*") + comment + QStringLiteral("*/");
    return lines.join(u'\n');
}

} // namespace

RuleListModel::RuleListModel(Stylesheet *document, QObject *parent)
    : QAbstractListModel(parent)
    , m_document(document)
{
    connect(document, &Stylesheet::aboutToReset, this, [this] { beginResetModel(); });
    connect(document, &Stylesheet::wasReset, this, [this] { endResetModel(); });
    connect(document, &Stylesheet::rulesAboutToBeInserted, this,
            [this](int first, int last) { beginInsertRows(QModelIndex(), first, last); });
    connect(document, &Stylesheet::rulesInserted, this, [this] { endInsertRows(); });
    connect(document, &Stylesheet::rulesAboutToBeRemoved, this,
            [this](int first, int last) { beginRemoveRows(QModelIndex(), first, last); });
    connect(document, &Stylesheet::rulesRemoved, this, [this] { endRemoveRows(); });
    connect(document, &Stylesheet::ruleChanged, this, [this](int row) {
        const QModelIndex changed = index(row);
        emit dataChanged(changed, changed);
    });
}

int RuleListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_document->count();
}

QVariant RuleListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return m_document->rule(index.row()).selector;
    if (role == Qt::ToolTipRole)
        return toolTip(m_document->rule(index.row()), m_document->ruleText(index.row()));
    return {};
}

bool RuleListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return false;
    if (!m_document->rename(index.row(), value.toString()))
        return false;
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
        return QStringLiteral("Select");
    return {};
}
