// The browser library: everything that needs the browser engine is here.

#include "pages/preview/PreviewEngine.h"

#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace {

// The sample stays put: a click on a link or a form button leaves it alone.
class SamplePage : public QWebEnginePage
{
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    bool acceptNavigationRequest(const QUrl &, NavigationType type, bool) override
    {
        return type != NavigationTypeLinkClicked && type != NavigationTypeFormSubmitted;
    }
};

// A browser for previews of documents from anywhere: it runs no page scripts,
// fetches nothing but local files, and does not follow links or forms.
class PreviewBrowser : public QWebEngineView, public PreviewEngine
{
public:
    explicit PreviewBrowser(QWidget *parent)
        : QWebEngineView(parent)
    {
        auto *sample = new SamplePage(this);
        QWebEngineSettings *settings = sample->settings();
        settings->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
        // The sample is a local document: this keeps its url()s and links off the network.
        settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
        settings->setAttribute(QWebEngineSettings::AutoLoadIconsForPage, false);
        settings->setAttribute(QWebEngineSettings::NavigateOnDropEnabled, false);
        setPage(sample);
    }

    QWidget *widget() override { return this; }

    void setHtml(const QString &html, const QUrl &base) override { QWebEngineView::setHtml(html, base); }

    QMetaObject::Connection onLoadFinished(QObject *context, std::function<void(bool)> done) override
    {
        return connect(this, &QWebEngineView::loadFinished, context, std::move(done));
    }
};

} // namespace

extern "C" Q_DECL_EXPORT PreviewEngine *quillmere_create_preview_engine(QWidget *parent)
{
    return new PreviewBrowser(parent);
}
