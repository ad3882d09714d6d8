#pragma once

#include <QTreeView>

#include <functional>

// The rule list's view: a one-column tree whose in-place rename can be
// finished from outside, so a command never acts on a half-typed selector,
// and stays open, with a beep, while the typed name would not do.
class RuleListView : public QTreeView
{
    Q_OBJECT

public:
    using NameCheck = std::function<bool(const QModelIndex &index, const QString &name)>;

    explicit RuleListView(QWidget *parent = nullptr);

    // Decides whether Enter may take the typed name.
    void setNameCheck(NameCheck check);
    // Writes an open rename editor's text into the model and closes it.
    void commitOpenEditor();
};
