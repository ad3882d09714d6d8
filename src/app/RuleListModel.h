#pragma once

#include <QAbstractListModel>

class Stylesheet;

// The stylesheet's rules as the rule list shows them: one row per rule under
// the one column "Select", the selector as the row text, renamed in place
// (never to an empty text), the rule text as the tool tip.
class RuleListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit RuleListModel(Stylesheet *document, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

signals:
    // The user gave the rule in row a new, non-empty selector in place.
    void selectorEdited(int row);

private:
    Stylesheet *m_document;
};
