#pragma once

#include <QObject>

class QAction;
class QMainWindow;
class QMenu;

// The main window's commands, one QAction each, with their captions,
// shortcuts, tool tips and icons, placed in the menu bar and the toolbar.
// The window connects each action straight to the slot that does the work.
class MainActions : public QObject
{
    Q_OBJECT

public:
    explicit MainActions(QMainWindow *window);

    QAction *newFile;
    QAction *open;
    QAction *save;
    QAction *saveAs;
    QAction *exit;
    QAction *cut;
    QAction *copy;
    QAction *paste;
    QAction *undo;
    QAction *redo;
    QAction *newRule;
    // Its Delete shortcut applies only where the window adds it (the rule list).
    QAction *deleteRule;
    QAction *webSite;
    QAction *about;

    // The File menu, for entries the window adds of its own.
    QMenu *fileMenu() const { return m_fileMenu; }

private:
    QAction *addCommand(QMenu *menu, const QString &name, const QString &caption,
                        const QString &iconKey = QString(), const QString &toolTip = QString());
    void buildToolbar(QMainWindow *window);

    QMenu *m_fileMenu = nullptr;
};
