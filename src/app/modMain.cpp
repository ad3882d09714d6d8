#include "app/modMain.h"

#include "framework/AppInfo.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

QString &appFolder()
{
    static QString folder;
    return folder;
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

QString CommandLineText(const QStringList &arguments)
{
    // An unquoted path with blanks arrives split by the shell; the whole text
    // is one path, so the pieces are joined back.
    return arguments.mid(1).join(QLatin1Char(' '));
}

void InitApplication(QApplication &app)
{
    QApplication::setApplicationName(QStringLiteral("quillmere"));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(AppInfo::VersionMajor)
                                            .arg(AppInfo::VersionMinor)
                                            .arg(AppInfo::VersionPatch));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/quillmere.svg")));
    installQtTranslation(app);
    InitAppFolder(QApplication::applicationDirPath());
}
