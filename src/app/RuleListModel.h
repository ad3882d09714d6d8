#pragma once

#include "app/StylesheetTree.h"

#include <QAbstractItemModel>

class Stylesheet;

// The stylesheet's entries as the rule list shows them: a tree under the one
// column "Select", groups and rules with nested rules holding their entries;
// the selector, statement or prelude as the row text, renamed in place (never
// to a text the document refuses), the entry's saved head line with its
// comments as the tool tip.
class RuleListModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    explicit RuleListModel(Stylesheet *document, QObject *parent = nullptr);

    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    EntryPath pathOf(const QModelIndex &index) const;
    QModelIndex indexOf(const EntryPath &path) const;
    // The entry in row of the block under parent, as held.
    const Rule &entryAt(const QModelIndex &parent, int row) const;
    // Whether text may become the entry's name.
    bool canRename(const QModelIndex &index, const QString &text) const;
    // The block whose entries are the rows under parent.
    const RuleBlock *blockUnder(const QModelIndex &parent) const;
    // The views read every row again, as after a new file.
    void reshow();

signals:
    // The user gave the entry at path a new name in place.
    void selectorEdited(const EntryPath &path);

private:
    Stylesheet *m_document;
};
