// Pictures of the main window for the README, taken from the running editor:
// a real stylesheet open, one rule selected, one picture per tab of the page
// host, saved as OUTDIR/screenshot-<n>.png (n counts the tabs from 1).
//
//   quillmere_screenshots STYLESHEET SELECTOR OUTDIR

#include "app/Stylesheet.h"
#include "app/frmCSS.h"
#include "app/modMain.h"
#include "framework/CtlsStep.h"
#include "pages/StandardPages.h"
#include "pages/preview/PreviewEngineLoader.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QImage>
#include <QTabBar>
#include <QTimer>

#include <cstdio>

namespace {

constexpr int settleStepMs = 250;
constexpr int settleQuietMs = 2000;
constexpr int settleLimitMs = 20000;

void runEventsFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Some pages draw a while after they are shown (the preview loads its sample
// into a browser, which takes about a second): the picture is taken once the
// window has looked the same for settleQuietMs.
QImage settledPicture(QWidget &window)
{
    QImage last = window.grab().toImage();
    int quiet = 0;
    for (int waited = 0; waited < settleLimitMs && quiet < settleQuietMs; waited += settleStepMs) {
        runEventsFor(settleStepMs);
        QImage next = window.grab().toImage();
        quiet = next == last ? quiet + settleStepMs : 0;
        last = next;
    }
    return last;
}

int rowOf(const frmCSS &window, const QString &selector)
{
    for (int row = 0; row < window.document().count(); ++row) {
        if (window.document().rule(row).selector == selector)
            return row;
    }
    return -1;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fputs("usage: quillmere_screenshots STYLESHEET SELECTOR OUTDIR\n", stderr);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    InitApplication(app);
    // The editor's own folder, so the preview finds the templates beside it.
    InitAppFolder(ProgramFolder(QStringLiteral(QUILLMERE_EDITOR_DIR)));
    registerStandardPages();
    PreviewEngineLoader::SetFile(QStringLiteral(QUILLMERE_PREVIEW_ENGINE));

    const QString stylesheet = QString::fromLocal8Bit(argv[1]);
    const QString selector = QString::fromLocal8Bit(argv[2]);
    const QDir outDir(QString::fromLocal8Bit(argv[3]));

    frmCSS window;
    window.show();
    window.start(stylesheet);
    const int row = rowOf(window, selector);
    if (row < 0) {
        std::fprintf(stderr, "quillmere_screenshots: no rule %s in %s\n", argv[2], argv[1]);
        return 1;
    }
    auto *list = window.findChild<QAbstractItemView *>(QStringLiteral("lstStyle"));
    list->setCurrentIndex(list->model()->index(row, 0));

    auto *host = window.findChild<CtlsStep *>(QStringLiteral("csCSS"));
    for (int tab = 0; tab < host->tabBar()->count(); ++tab) {
        host->setCurrentIndex(tab);
        const QString file = outDir.filePath(QStringLiteral("screenshot-%1.png").arg(tab + 1));
        if (!settledPicture(window).save(file)) {
            std::fprintf(stderr, "quillmere_screenshots: cannot write %s\n",
                         file.toUtf8().constData());
            return 1;
        }
        std::printf("%s  %s\n", file.toUtf8().constData(),
                    host->tabBar()->tabText(tab).toUtf8().constData());
    }
    return 0;
}
