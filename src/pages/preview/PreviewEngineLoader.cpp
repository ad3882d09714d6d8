#include "pages/preview/PreviewEngineLoader.h"

#include "pages/preview/PreviewEngine.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

#ifndef QUILLMERE_ENGINE_FROM_BIN
#error "PreviewEngineLoader.cpp needs QUILLMERE_ENGINE_FROM_BIN, the installed library folder relative to the executable"
#endif

namespace {

QString &chosenFile()
{
    static QString file;
    return file;
}

// The engine draws through a graphics context shared with the application's,
// which the application makes only if asked before it is constructed; loaded
// later without it, the engine crashes on its first page. Linked in, the
// engine asked for itself; loaded on demand, it is too late for that.
void shareGraphicsContexts()
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}
Q_CONSTRUCTOR_FUNCTION(shareGraphicsContexts)

} // namespace

QString PreviewEngineLoader::File()
{
    if (!chosenFile().isEmpty())
        return chosenFile();
    const QDir bin(QCoreApplication::applicationDirPath());
    const QString name = QStringLiteral(QUILLMERE_ENGINE_FILE_NAME);
    if (bin.exists(name))
        return bin.absoluteFilePath(name);
    return QDir::cleanPath(bin.absoluteFilePath(QStringLiteral(QUILLMERE_ENGINE_FROM_BIN "/" QUILLMERE_ENGINE_FILE_NAME)));
}

void PreviewEngineLoader::SetFile(const QString &path)
{
    chosenFile() = path;
}

PreviewEngine *PreviewEngineLoader::Create(QWidget *parent, QString *error)
{
    // Never unloaded: the engine keeps threads and objects until the program ends.
    QLibrary library(File());
    if (!library.load()) {
        *error = library.errorString();
        return nullptr;
    }
    auto create = reinterpret_cast<decltype(&quillmere_create_preview_engine)>(
        library.resolve("quillmere_create_preview_engine"));
    if (!create) {
        *error = QStringLiteral("%1 没有入口 quillmere_create_preview_engine")
                     .arg(QDir::toNativeSeparators(library.fileName()));
        return nullptr;
    }
    return create(parent);
}
