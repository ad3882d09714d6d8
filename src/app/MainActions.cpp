#include "app/MainActions.h"

#include <QAction>
#include <QHash>
#include <QIcon>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace {

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
        {QStringLiteral("undo"), QStringLiteral("edit-undo")},
        {QStringLiteral("redo"), QStringLiteral("edit-redo")},
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
    m_fileMenu = addMenu(window, QStringLiteral("mmFile"), QStringLiteral("文件"));
    newFile = addCommand(m_fileMenu, QStringLiteral("mmFiles0"), QStringLiteral("新文件"),
                         QStringLiteral("new"), QStringLiteral("新建文件"));
    newFile->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    open = addCommand(m_fileMenu, QStringLiteral("mmFiles1"), QStringLiteral("打开(&O)..."),
                      QStringLiteral("open"), QStringLiteral("打开文件"));
    open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    save = addCommand(m_fileMenu, QStringLiteral("mmFiles2"), QStringLiteral("保存(&S)"),
                      QStringLiteral("save"), QStringLiteral("保存文件"));
    save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    saveAs = addCommand(m_fileMenu, QStringLiteral("mmFiles3"), QStringLiteral("更名保存(&A)"),
                        QStringLiteral("saveas"), QStringLiteral("更名保存"));
    addSeparator(m_fileMenu, QStringLiteral("mmFileN1"));
    exit = addCommand(m_fileMenu, QStringLiteral("mmExit"), QStringLiteral("退出(&X)"));

    QMenu *edit = addMenu(window, QStringLiteral("mmEdit"), QStringLiteral("编辑"));
    cut = addCommand(edit, QStringLiteral("mmEdits0"), QStringLiteral("剪切(&U)"),
                     QStringLiteral("cut"), QStringLiteral("剪切"));
    copy = addCommand(edit, QStringLiteral("mmEdits1"), QStringLiteral("复制(&C)"),
                      QStringLiteral("copy"), QStringLiteral("复制"));
    paste = addCommand(edit, QStringLiteral("mmEdits2"), QStringLiteral("粘贴(&P)"),
                       QStringLiteral("paste"), QStringLiteral("粘贴"));
    undo = addCommand(edit, QStringLiteral("mmUndo"), QStringLiteral("撤销(&Z)"),
                      QStringLiteral("undo"), QStringLiteral("撤销"));
    undo->setShortcuts(QKeySequence::Undo);
    redo = addCommand(edit, QStringLiteral("mmRedo"), QStringLiteral("重做(&Y)"),
                      QStringLiteral("redo"), QStringLiteral("重做"));
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y),
                        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    addSeparator(edit, QStringLiteral("mmEditN1"));
    newRule = addCommand(edit, QStringLiteral("mmItemNew"), QStringLiteral("新建条目(&N)"),
                         QStringLiteral("add"), QStringLiteral("增加条目"));
    newRule->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Insert));
    // Delete belongs to whatever field has the focus; the window adds this
    // action to the rule list so the key deletes a rule only from there.
    deleteRule = addCommand(edit, QStringLiteral("mmItemDel"), QStringLiteral("删除条目(&D)"),
                            QStringLiteral("del"), QStringLiteral("删除条目"));
    deleteRule->setShortcut(QKeySequence(Qt::Key_Delete));
    deleteRule->setShortcutContext(Qt::WidgetWithChildrenShortcut);

    QMenu *help = addMenu(window, QStringLiteral("mmHelp"), QStringLiteral("帮助"));
    webSite = addCommand(help, QStringLiteral("mmBrowTarnwick"), QStringLiteral("访问澜石人网站(&W)"));
    webSite->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    addSeparator(help, QStringLiteral("mmHelpN1"));
    about = addCommand(help, QStringLiteral("mmAbout"), QStringLiteral("关于(&A)..."),
                       QStringLiteral("help"), QStringLiteral("关于..."));

    buildToolbar(window);
}

QAction *MainActions::addCommand(QMenu *menu, const QString &name, const QString &caption,
                                 const QString &iconKey, const QString &toolTip)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(name);
    if (!iconKey.isEmpty()) {
        action->setIcon(commandIcon(iconKey));
        action->setData(iconKey);
    }
    if (!toolTip.isEmpty())
        action->setToolTip(toolTip);
    return action;
}

void MainActions::buildToolbar(QMainWindow *window)
{
    QToolBar *toolbar = window->addToolBar(QString());
    toolbar->setObjectName(QStringLiteral("tBar"));
    toolbar->setMovable(false);
    toolbar->setFloatable(false);
    toolbar->setIconSize(QSize(24, 24));

    const QList<QAction *> buttons{newFile, open, save, saveAs, nullptr, cut, copy, paste,
                                   undo, redo, nullptr, newRule, deleteRule, nullptr, about};
    for (QAction *action : buttons) {
        if (!action) {
            toolbar->addSeparator();
            continue;
        }
        toolbar->addAction(action);
        // The button is named after its key, so it can be found like the menu entry.
        toolbar->widgetForAction(action)->setObjectName(QStringLiteral("tBar_")
                                                        + action->data().toString());
    }
}
