#include "app/modMain.h"

#include "framework/AppInfo.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

#ifndef QUILLMERE_DATA_FROM_BIN
#error "modMain.cpp needs QUILLMERE_DATA_FROM_BIN, the installed data folder relative to the executable"
#endif

namespace {

QString &appFolder()
{
    static QString folder;
    return folder;
}

QString versionNumber()
{
    return QStringLiteral("%1.%2.%3")
        .arg(AppInfo::VersionMajor)
        .arg(AppInfo::VersionMinor)
        .arg(AppInfo::VersionPatch);
}

void installQtTranslation(QApplication &app)
{
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto *translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_zh_CN"), folder)
        || translator->load(QStringLiteral("qt_zh_CN"), folder))
        QApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace

QString EnsureTrailingBackslash(const QString &path)
{
    if (path.endsWith(QLatin1Char('/')))
        return path;
    return path + QLatin1Char('/');
}

void InitAppFolder(const QString &programFolder)
{
    appFolder() = EnsureTrailingBackslash(programFolder);
}

QString AppFolder()
{
    return appFolder();
}

QString ProgramFolder(const QString &executableFolder)
{
    // Relative to the executable, so the package works under any prefix.
    const QDir bin(executableFolder);
    if (QFileInfo(bin, QStringLiteral("Model")).isDir())
        return EnsureTrailingBackslash(bin.absolutePath());
    return EnsureTrailingBackslash(
        QDir::cleanPath(bin.absoluteFilePath(QStringLiteral(QUILLMERE_DATA_FROM_BIN))));
}

QString CommandLineReply(const QStringList &arguments)
{
    if (arguments.size() != 2)
        return QString();
    const QString version = AppInfo::Title + QLatin1Char(' ') + versionNumber() + QLatin1Char('\n');
    if (arguments[1] == QLatin1String("--version"))
        return version;
    if (arguments[1] == QLatin1String("--help"))
        return version
            + QStringLiteral("用法：quillmere [样式表文件]\n"
                             "      quillmere --help | --version\n"
                             "\n"
                             "  样式表文件   要打开的 CSS 文件；命令行的全部文字即一个路径\n"
                             "  --help       显示本说明后退出\n"
                             "  --version    显示版本后退出\n");
    return QString();
}

QString CommandLineText(const QStringList &arguments)
{
    // An unquoted path with blanks arrives split by the shell; the whole text
    // is one path, so the pieces are joined back.
    return arguments.mid(1).join(QLatin1Char(' '));
}

QString SwitchEngineSandboxForRoot(bool runsAsRoot)
{
    static const char variable[] = "QTWEBENGINE_DISABLE_SANDBOX";
    if (!runsAsRoot || qEnvironmentVariableIsSet(variable))
        return QString();
    qputenv(variable, "1");
    return QStringLiteral("quillmere: 以 root 身份运行，预览组件的沙箱已关闭。\n");
}

void InitApplication(QApplication &app)
{
    QApplication::setApplicationName(QStringLiteral("quillmere"));
    QApplication::setApplicationVersion(versionNumber());
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/quillmere.svg")));
    // Lets the desktop match the window to its launcher and icon.
    QApplication::setDesktopFileName(QStringLiteral("org.quillmere.Quillmere"));
    installQtTranslation(app);
    InitAppFolder(ProgramFolder(QApplication::applicationDirPath()));
}
