#include "app/RuleListModel.h"

#include "app/Stylesheet.h"

namespace {

QString commentLines(const QStringList &comments)
{
    QStringList lines;
    for (const QString &comment : comments)
        lines << QStringLiteral("/*") + comment + QStringLiteral("*/");
    return lines.join(u'\n');
}

// The head line, with the comments that stand around the entry in the file.
QString toolTip(const Rule &entry)
{
    QStringList parts{commentLines(entry.commentsBefore), SavedForm::headLine(entry),
                      commentLines(entry.commentsAfter)};
    parts.removeAll(QString());
    return parts.join(u'\n');
}

} // namespace

RuleListModel::RuleListModel(Stylesheet *document, QObject *parent)
    : QAbstractItemModel(parent)
    , m_document(document)
{
    connect(document, &Stylesheet::aboutToReset, this, [this] { beginResetModel(); });
    connect(document, &Stylesheet::wasReset, this, [this] { endResetModel(); });
    connect(document, &Stylesheet::entriesAboutToBeInserted, this,
            [this](const EntryPath &parent, int first, int last) {
                beginInsertRows(indexOf(parent), first, last);
            });
    connect(document, &Stylesheet::entriesInserted, this, [this] { endInsertRows(); });
    connect(document, &Stylesheet::entriesAboutToBeRemoved, this,
            [this](const EntryPath &parent, int first, int last) {
                beginRemoveRows(indexOf(parent), first, last);
            });
    connect(document, &Stylesheet::entriesRemoved, this, [this] { endRemoveRows(); });
    connect(document, &Stylesheet::entryChanged, this, [this](const EntryPath &path) {
        const QModelIndex changed = indexOf(path);
        emit dataChanged(changed, changed);
    });
}

// An index points at the block that holds its entry; blocks stay in place.
QModelIndex RuleListModel::index(int row, int column, const QModelIndex &parent) const
{
    const RuleBlock *block = blockUnder(parent);
    if (column != 0 || !block || row < 0 || row >= int(block->entries.size()))
        return {};
    return createIndex(row, column, const_cast<RuleBlock *>(block));
}

QModelIndex RuleListModel::parent(const QModelIndex &child) const
{
    const auto *block = static_cast<const RuleBlock *>(child.internalPointer());
    if (!child.isValid() || block == &m_document->root())
        return {};
    return createIndex(block->row, 0, block->parent);
}

int RuleListModel::rowCount(const QModelIndex &parent) const
{
    if (parent.column() > 0)
        return 0;
    const RuleBlock *block = blockUnder(parent);
    return block ? int(block->entries.size()) : 0;
}

int RuleListModel::columnCount(const QModelIndex &) const
{
    return 1;
}

QVariant RuleListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const Rule &entry = entryAt(index.parent(), index.row());
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        // Kept text may run over lines; the row shows it on one.
        return entry.kind == EntryKind::Unknown ? entry.selector.simplified()
                                                : QString(entry.selector.constData(), entry.selector.size());
    }
    if (role == Qt::ToolTipRole)
        return toolTip(entry);
    return {};
}

bool RuleListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return false;
    const EntryPath path = pathOf(index);
    if (!m_document->rename(path, value.toString()))
        return false;
    emit selectorEdited(path);
    return true;
}

Qt::ItemFlags RuleListModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QAbstractItemModel::flags(index);
    if (!index.isValid())
        return flags;
    const Rule &entry = entryAt(index.parent(), index.row());
    // Telling the views that a rule holds nothing spares them asking, row by
    // row, over a hundred thousand rules.
    if (!entry.holdsEntries())
        flags |= Qt::ItemNeverHasChildren;
    if (entry.kind != EntryKind::Unknown)
        flags |= Qt::ItemIsEditable;
    return flags;
}

QVariant RuleListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (section == 0 && orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return QStringLiteral("Select");
    return {};
}

EntryPath RuleListModel::pathOf(const QModelIndex &index) const
{
    if (!index.isValid())
        return {};
    return pathOf(index.parent()).child(index.row());
}

QModelIndex RuleListModel::indexOf(const EntryPath &path) const
{
    QModelIndex at;
    for (int level = 0; level < path.depth(); ++level)
        at = index(path.rowAt(level), 0, at);
    return at;
}

const Rule &RuleListModel::entryAt(const QModelIndex &parent, int row) const
{
    return blockUnder(parent)->entries[size_t(row)];
}

bool RuleListModel::canRename(const QModelIndex &index, const QString &text) const
{
    return index.isValid() && m_document->canRename(pathOf(index), text);
}

void RuleListModel::reshow()
{
    beginResetModel();
    endResetModel();
}

const RuleBlock *RuleListModel::blockUnder(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return &m_document->root();
    const auto *block = static_cast<const RuleBlock *>(parent.internalPointer());
    return block->entries[size_t(parent.row())].block.get();
}
