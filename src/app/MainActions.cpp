#include "app/MainActions.h"

#include "app/AppTexts.h"

#include <QAction>
#include <QHash>
#include <QIcon>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace {

struct ToolbarButton
{
    const char *key; // empty for a separator
    QString tooltip;
};

// The desktop theme's icon when there is one, else the bundled drawing.
QIcon commandIcon(const QString &key)
{
    static const QHash<QString, QString> themeNames = {
        {QStringLiteral("new"), QStringLiteral("document-new")},
        {QStringLiteral("open"), QStringLiteral("document-open")},
        {QStringLiteral("save"), QStringLiteral("document-save")},
        {QStringLiteral("saveas"), QStringLiteral("document-save-as")},
        {QStringLiteral("cut"), QStringLiteral("edit-cut")},
        {QStringLiteral("copy"), QStringLiteral("edit-copy")},
        {QStringLiteral("paste"), QStringLiteral("edit-paste")},
        {QStringLiteral("add"), QStringLiteral("list-add")},
        {QStringLiteral("del"), QStringLiteral("list-remove")},
        {QStringLiteral("help"), QStringLiteral("help-about")},
    };
    return QIcon::fromTheme(themeNames.value(key),
                            QIcon(QStringLiteral(":/icons/") + key + QStringLiteral(".svg")));
}

QMenu *addMenu(QMainWindow *window, const QString &name, const QString &caption)
{
    QMenu *menu = window->menuBar()->addMenu(caption);
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    return menu;
}

void addSeparator(QMenu *menu, const QString &name)
{
    menu->addSeparator()->setObjectName(name);
}

} // namespace

MainActions::MainActions(QMainWindow *window)
    : QObject(window)
{
    buildFileMenu(window);
    buildEditMenu(window);
    buildHelpMenu(window);
    buildToolbar(window);
}

QAction *MainActions::addEntry(QMenu *menu, const QString &name, const QString &caption,
                               const QString &iconKey)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(name);
    if (!iconKey.isEmpty())
        action->setIcon(commandIcon(iconKey));
    return action;
}

void MainActions::buildFileMenu(QMainWindow *window)
{
    QMenu *menu = addMenu(window, QStringLiteral("mmFile"), AppTexts::menuFile);
    const struct {
        const QString &caption;
        const char *iconKey;
        QKeySequence shortcut;
    } files[] = {
        {AppTexts::actNewFile, "new", QKeySequence(Qt::CTRL | Qt::Key_N)},
        {AppTexts::actOpen, "open", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {AppTexts::actSave, "save", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {AppTexts::actSaveAs, "saveas", QKeySequence()},
    };
    for (int index = 0; index < int(std::size(files)); ++index) {
        QAction *action = addEntry(menu, QStringLiteral("mmFiles%1").arg(index),
                                   files[index].caption, QLatin1String(files[index].iconKey));
        action->setShortcut(files[index].shortcut);
        connect(action, &QAction::triggered, this, [this, index] { emit fileCommand(index); });
    }
    addSeparator(menu, QStringLiteral("mmFileN1"));
    connect(addEntry(menu, QStringLiteral("mmExit"), AppTexts::actExit), &QAction::triggered,
            this, &MainActions::exitCommand);
}

void MainActions::buildEditMenu(QMainWindow *window)
{
    QMenu *menu = addMenu(window, QStringLiteral("mmEdit"), AppTexts::menuEdit);
    const struct {
        const QString &caption;
        const char *iconKey;
    } edits[] = {
        {AppTexts::actCut, "cut"},
        {AppTexts::actCopy, "copy"},
        {AppTexts::actPaste, "paste"},
    };
    for (int index = 0; index < int(std::size(edits)); ++index) {
        QAction *action = addEntry(menu, QStringLiteral("mmEdits%1").arg(index),
                                   edits[index].caption, QLatin1String(edits[index].iconKey));
        connect(action, &QAction::triggered, this, [this, index] { emit editCommand(index); });
    }
    addSeparator(menu, QStringLiteral("mmEditN1"));

    QAction *newRule = addEntry(menu, QStringLiteral("mmItemNew"), AppTexts::actItemNew,
                                QStringLiteral("add"));
    newRule->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Insert));
    connect(newRule, &QAction::triggered, this, &MainActions::newRuleCommand);

    // Delete belongs to whatever field has the focus; the window adds this
    // action to the rule list so the key deletes a rule only from there.
    m_deleteRule = addEntry(menu, QStringLiteral("mmItemDel"), AppTexts::actItemDel,
                            QStringLiteral("del"));
    m_deleteRule->setShortcut(QKeySequence(Qt::Key_Delete));
    m_deleteRule->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(m_deleteRule, &QAction::triggered, this, &MainActions::deleteRuleCommand);
}

void MainActions::buildHelpMenu(QMainWindow *window)
{
    QMenu *menu = addMenu(window, QStringLiteral("mmHelp"), AppTexts::menuHelp);
    QAction *webSite = addEntry(menu, QStringLiteral("mmBrowTarnwick"), AppTexts::actWebSite);
    webSite->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    connect(webSite, &QAction::triggered, this, &MainActions::webSiteCommand);
    addSeparator(menu, QStringLiteral("mmHelpN1"));
    connect(addEntry(menu, QStringLiteral("mmAbout"), AppTexts::actAbout, QStringLiteral("help")),
            &QAction::triggered, this, &MainActions::aboutCommand);
}

void MainActions::buildToolbar(QMainWindow *window)
{
    QToolBar *toolbar = window->addToolBar(QString());
    toolbar->setObjectName(QStringLiteral("tBar"));
    toolbar->setMovable(false);
    toolbar->setFloatable(false);
    toolbar->setIconSize(QSize(24, 24));

    const ToolbarButton buttons[] = {
        {"new", AppTexts::tipNew},
        {"open", AppTexts::tipOpen},
        {"save", AppTexts::tipSave},
        {"saveas", AppTexts::tipSaveAs},
        {"", QString()},
        {"cut", AppTexts::tipCut},
        {"copy", AppTexts::tipCopy},
        {"paste", AppTexts::tipPaste},
        {"", QString()},
        {"add", AppTexts::tipAdd},
        {"del", AppTexts::tipDel},
        {"", QString()},
        {"help", AppTexts::tipHelp},
    };
    for (const ToolbarButton &button : buttons) {
        const QString key = QLatin1String(button.key);
        if (key.isEmpty()) {
            toolbar->addSeparator();
            continue;
        }
        QAction *action = toolbar->addAction(commandIcon(key), button.tooltip);
        action->setObjectName(QStringLiteral("tBar_") + key);
        action->setData(key);
        action->setToolTip(button.tooltip);
    }
    connect(toolbar, &QToolBar::actionTriggered, this, [this](QAction *action) {
        emit toolbarKeyClicked(action->data().toString());
    });
}
