#include "pages/preview/PreviewBrowser.h"

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

} // namespace

QWebEngineView *createPreviewBrowser(QWidget *parent)
{
    auto *view = new QWebEngineView(parent);
    auto *page = new SamplePage(view);
    QWebEngineSettings *settings = page->settings();
    settings->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    // The sample is a local document: this keeps its url()s and links off the network.
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(QWebEngineSettings::AutoLoadIconsForPage, false);
    settings->setAttribute(QWebEngineSettings::NavigateOnDropEnabled, false);
    view->setPage(page);
    return view;
}
