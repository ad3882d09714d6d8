// The real main window on a large stylesheet: open, switch rules, save.
//
//   bench_window                          run the benchmarks
//   bench_window --screenshot CSS PNG [WxH]   open CSS, save a picture of the window

#include "app/Stylesheet.h"
#include "app/frmCSS.h"
#include "pages/StandardPages.h"

#include <benchmark/benchmark.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPixmap>
#include <QTemporaryDir>

#include <cstring>
#include <memory>

namespace {

constexpr int ruleCount = 100000;

struct Fixture
{
    QTemporaryDir dir;
    QString source;
    QString target;
    std::unique_ptr<frmCSS> window;
};

Fixture *fixture = nullptr;

// About 100 bytes a rule, 10 MB in all, in the shapes real stylesheets use.
QString writeLargeStylesheet(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    QByteArray text;
    text.reserve(ruleCount * 104);
    for (int i = 0; i < ruleCount; ++i) {
        text += ".block-" + QByteArray::number(i) + " .element > a:hover {\n";
        text += "\tcolor: #" + QByteArray::number(0x100000 + i, 16) + ";\n";
        text += "\tmargin: 0 4px; padding: 2px 8px;\n\tfont-size: 12px;\n}\n";
    }
    file.write(text);
    return path;
}

void showEverything()
{
    QCoreApplication::processEvents();
}

// Peak resident memory of the process, in bytes.
double peakResidentBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() * 1024;
    }
    return 0;
}

void BM_OpenLargeStylesheet(benchmark::State &state)
{
    frmCSS &window = *fixture->window;
    for (auto _ : state) {
        window.LoadFile(fixture->source);
        showEverything();
    }
    if (window.document().count() != ruleCount)
        state.SkipWithError("the stylesheet did not load whole");
    state.counters["rules"] = window.document().count();
    state.counters["peak_rss_MB"] = peakResidentBytes() / (1024 * 1024);
}
BENCHMARK(BM_OpenLargeStylesheet)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_SelectRule(benchmark::State &state)
{
    frmCSS &window = *fixture->window;
    auto *list = window.findChild<QAbstractItemView *>(QStringLiteral("lstStyle"));
    int row = 1;
    for (auto _ : state) {
        list->setCurrentIndex(list->model()->index(row, 0));
        showEverything();
        row = (row * 7919 + 1) % ruleCount;
    }
}
BENCHMARK(BM_SelectRule)->Unit(benchmark::kMicrosecond);

void BM_SaveLargeStylesheet(benchmark::State &state)
{
    frmCSS &window = *fixture->window;
    for (auto _ : state) {
        if (!window.WriteFile(fixture->target))
            state.SkipWithError("the save failed");
    }
    state.counters["peak_rss_MB"] = peakResidentBytes() / (1024 * 1024);
}
BENCHMARK(BM_SaveLargeStylesheet)->Unit(benchmark::kMillisecond)->Iterations(5);

// One keystroke in the rule filter: the list is filtered over all rules.
void BM_FilterKeystroke(benchmark::State &state)
{
    frmCSS &window = *fixture->window;
    auto *filter = window.findChild<QLineEdit *>(QStringLiteral("txtFilter"));
    const QStringList typed{QStringLiteral("b"), QStringLiteral("bl"), QStringLiteral("blo"),
                            QStringLiteral("block-9"), QStringLiteral("block-99"),
                            QStringLiteral("block-999"), QStringLiteral("")};
    int step = 0;
    for (auto _ : state) {
        filter->setText(typed[step++ % typed.size()]);
        showEverything();
    }
    filter->clear();
}
BENCHMARK(BM_FilterKeystroke)->Unit(benchmark::kMillisecond);

int screenshot(const QString &stylesheet, const QString &picture, const QString &size)
{
    frmCSS window;
    const QStringList extent = size.split(QLatin1Char('x'));
    if (extent.size() == 2)
        window.resize(extent[0].toInt(), extent[1].toInt());
    window.show();
    window.start(stylesheet);
    showEverything();
    return window.grab().save(picture) ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    registerStandardPages();

    if (argc >= 4 && std::strcmp(argv[1], "--screenshot") == 0)
        return screenshot(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                          argc > 4 ? QString::fromLocal8Bit(argv[4]) : QString());

    Fixture data;
    data.source = writeLargeStylesheet(data.dir.filePath(QStringLiteral("large.css")));
    data.target = data.dir.filePath(QStringLiteral("saved.css"));
    data.window = std::make_unique<frmCSS>();
    data.window->show();
    data.window->start(QString());
    fixture = &data;

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fixture = nullptr;
    return 0;
}
