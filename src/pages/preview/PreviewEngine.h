#pragma once

#include <QMetaObject>
#include <functional>

class QObject;
class QString;
class QUrl;
class QWidget;

// The browser that shows the preview. It lives in a library of its own, loaded
// when the preview is first shown, so the program does not map the browser
// engine at start-up; nothing here names the engine's types.
class PreviewEngine
{
public:
    virtual ~PreviewEngine() = default;

    // The browser itself, a child of the parent the engine was made with;
    // deleting it deletes the engine.
    virtual QWidget *widget() = 0;
    // Shows html; relative addresses in it resolve against base.
    virtual void setHtml(const QString &html, const QUrl &base) = 0;
    // Calls done with the outcome each time a document has finished loading,
    // for as long as context lives.
    virtual QMetaObject::Connection onLoadFinished(QObject *context, std::function<void(bool)> done) = 0;
};

// The library's one entry point. The program never links it: it looks the name
// up in the loaded library (PreviewEngineLoader).
extern "C" PreviewEngine *quillmere_create_preview_engine(QWidget *parent);
