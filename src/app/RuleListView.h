#pragma once

#include <QTreeView>

// The rule list's view: a one-column list whose in-place rename can be
// finished from outside, so a command never acts on a half-typed selector.
class RuleListView : public QTreeView
{
    Q_OBJECT

public:
    explicit RuleListView(QWidget *parent = nullptr);

    // Writes an open rename editor's text into the model and closes it.
    void commitOpenEditor();
};
