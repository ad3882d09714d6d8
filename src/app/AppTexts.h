#pragma once

#include <QString>

// The main window's own texts, each written once and shared with the tests.
namespace AppTexts {

// The caption until a stylesheet has been started or opened.
inline const QString designCaption = QStringLiteral("澜石CSS编辑器");
inline const QString newFileCaption = QStringLiteral("新文件");
inline const QString captionSeparator = QStringLiteral(" - ");
inline const QString listHeader = QStringLiteral("Select");
inline const QString newRuleSelector = QStringLiteral(".NewItem");

// Status bar.
inline const QString newFileDone = QStringLiteral("新建文建完成。");
inline const QString ruleCopied = QStringLiteral("当前条目复制完成。");
inline const QString noCurrentRule = QStringLiteral("必须有可操作的条目。");
inline const QString nothingToPaste = QStringLiteral("没有可粘贴的内容。");
inline QString fileSaved(const QString &path)
{
    return QStringLiteral("文件[") + path + QStringLiteral("]保存完成。");
}

// Message boxes.
inline QString cannotOpen(const QString &path)
{
    return QStringLiteral("文件[") + path + QStringLiteral("]不能打开。");
}
inline QString saveFailed(const QString &path, const QString &reason)
{
    return QStringLiteral("文件[") + path + QStringLiteral("]保存失败：") + reason;
}
inline const QString askSave = QStringLiteral("样式表已被修改，是否保存？");

// File dialogs.
inline const QString fileFilter = QStringLiteral("CSS File(*.css);;All File(*)");

// Menus.
inline const QString menuFile = QStringLiteral("文件");
inline const QString menuEdit = QStringLiteral("编辑");
inline const QString menuHelp = QStringLiteral("帮助");
inline const QString actNewFile = QStringLiteral("新文件");
inline const QString actOpen = QStringLiteral("打开(&O)...");
inline const QString actSave = QStringLiteral("保存(&S)");
inline const QString actSaveAs = QStringLiteral("更名保存(&A)");
inline const QString actExit = QStringLiteral("退出(&X)");
inline const QString actCut = QStringLiteral("剪切(&U)");
inline const QString actCopy = QStringLiteral("复制(&C)");
inline const QString actPaste = QStringLiteral("粘贴(&P)");
inline const QString actItemNew = QStringLiteral("新建条目(&N)");
inline const QString actItemDel = QStringLiteral("删除条目(&D)");
inline const QString actWebSite = QStringLiteral("访问澜石人网站(&W)");
inline const QString actAbout = QStringLiteral("关于(&A)...");

// Toolbar tooltips.
inline const QString tipNew = QStringLiteral("新建文件");
inline const QString tipOpen = QStringLiteral("打开文件");
inline const QString tipSave = QStringLiteral("保存文件");
inline const QString tipSaveAs = QStringLiteral("更名保存");
inline const QString tipCut = QStringLiteral("剪切");
inline const QString tipCopy = QStringLiteral("复制");
inline const QString tipPaste = QStringLiteral("粘贴");
inline const QString tipAdd = QStringLiteral("增加条目");
inline const QString tipDel = QStringLiteral("删除条目");
inline const QString tipHelp = QStringLiteral("关于...");

} // namespace AppTexts
