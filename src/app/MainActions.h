#pragma once

#include <QObject>
#include <QString>

class QAction;
class QMainWindow;
class QMenu;

// Builds the main window's menu bar and toolbar in one place, with their
// captions, shortcuts, tooltips and icons, and reports which command was chosen.
class MainActions : public QObject
{
    Q_OBJECT

public:
    explicit MainActions(QMainWindow *window);

    // The delete-rule entry; its Delete shortcut only applies where it is added.
    QAction *deleteRuleAction() const { return m_deleteRule; }

signals:
    void fileCommand(int index);         // mmFiles: new, open, save, save as
    void editCommand(int index);         // mmEdits: cut, copy, paste
    void exitCommand();
    void newRuleCommand();
    void deleteRuleCommand();
    void webSiteCommand();
    void aboutCommand();
    void toolbarKeyClicked(const QString &key); // tBar: the clicked button's key

private:
    QAction *addEntry(QMenu *menu, const QString &name, const QString &caption,
                      const QString &iconKey = QString());
    void buildFileMenu(QMainWindow *window);
    void buildEditMenu(QMainWindow *window);
    void buildHelpMenu(QMainWindow *window);
    void buildToolbar(QMainWindow *window);

    QAction *m_deleteRule = nullptr;
};
