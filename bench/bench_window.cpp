// The real main window on a large stylesheet: open, switch rules, save; and
// the program's start-up.
//
//   bench_window                          run the benchmarks
//   bench_window --screenshot CSS PNG [WxH]   open CSS, save a picture of the window
//   bench_window --start-only             start the window, print how many browser
//                                         engine processes run, exit

#include "app/Stylesheet.h"
#include "app/frmCSS.h"
#include "framework/CtlsStep.h"
#include "pages/StandardPages.h"
#include "pages/preview/PreviewEngine.h"
#include "pages/preview/PreviewEngineLoader.h"
#include "pages/preview/cssPView.h"
#include "support/LargePages.h"

#include <benchmark/benchmark.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QPixmap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr int ruleCount = 100000;

// The benchmarks on the stylesheet as it is open run once per stylesheet: the
// argument picks it.
enum Sheet { Flat, Blocks };

struct Fixture
{
    QTemporaryDir dir;
    QString sources[2];
    QString target;
    std::unique_ptr<frmCSS> window;
    int open = -1;

    frmCSS &windowWith(int sheet)
    {
        if (open != sheet && window->LoadFile(sources[sheet]))
            open = sheet;
        return *window;
    }
};

Fixture *fixture = nullptr;

// The path, or empty when the text could not be written there.
QString written(const QString &path, const QByteArray &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size() ? path : QString();
}

// About 100 bytes a rule, 10 MB in all, in the shapes real stylesheets use.
QByteArray largeStylesheet()
{
    QByteArray text;
    text.reserve(ruleCount * 104);
    for (int i = 0; i < ruleCount; ++i) {
        text += ".block-" + QByteArray::number(i) + " .element > a:hover {\n";
        text += "\tcolor: #" + QByteArray::number(0x100000 + i, 16) + ";\n";
        text += "\tmargin: 0 4px; padding: 2px 8px;\n\tfont-size: 12px;\n}\n";
    }
    return text;
}

// The same rules, a third of them inside @media groups or nested in another
// rule: in every thirty, twenty plain ones (five of which hold a nested
// "&:hover"), then a group of five.
QByteArray blockStylesheet()
{
    QByteArray text;
    text.reserve(ruleCount * 110);
    const auto declarations = [](int i) {
        return "\tcolor: #" + QByteArray::number(0x100000 + i, 16)
            + ";\n\tmargin: 0 4px; padding: 2px 8px;\n\tfont-size: 12px;\n";
    };
    for (int i = 0; i < ruleCount;) {
        for (int plain = 0; plain < 20 && i < ruleCount; ++plain, ++i) {
            text += ".block-" + QByteArray::number(i) + " .element > a {\n" + declarations(i);
            if (plain < 5 && ++i < ruleCount)
                text += "\t&:hover {\n" + declarations(i) + "\t}\n";
            text += "}\n";
        }
        text += "@media (min-width: 768px) {\n";
        for (int inside = 0; inside < 5 && i < ruleCount; ++inside, ++i)
            text += "  .block-" + QByteArray::number(i) + " .element {\n" + declarations(i) + "  }\n";
        text += "}\n";
    }
    return text;
}

// Style rules at every depth.
int rulesIn(const RuleBlock &block)
{
    int rules = 0;
    for (const Rule &entry : block.entries) {
        rules += entry.kind == EntryKind::Rule ? 1 : 0;
        if (entry.holdsEntries())
            rules += rulesIn(*entry.block);
    }
    return rules;
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

// Browser engine processes started by this process.
int engineProcesses()
{
    const QString self = QString::number(QCoreApplication::applicationPid());
    int count = 0;
    for (const QString &pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // pid (name) state ppid ...
        const QString line = QString::fromLocal8Bit(stat.readAll());
        const QStringList afterName = line.mid(line.lastIndexOf(u')') + 2).split(u' ');
        if (line.contains(QLatin1String("(QtWebEngineProc")) && afterName.value(1) == self)
            ++count;
    }
    return count;
}

// From exec to the main window on screen, in a fresh process each time, so
// loading the libraries (the browser engine's among them) is counted too. The
// child reports once its window is exposed; its exit is not timed.
void BM_StartUp(benchmark::State &state)
{
    int processes = 0;
    for (auto _ : state) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--start-only")});
        if (!child.waitForReadyRead(30000)) {
            state.SkipWithError("the window did not start");
            break;
        }
        state.PauseTiming();
        child.waitForFinished(30000);
        processes = child.readAllStandardOutput().trimmed().split('\n').last().toInt();
        state.ResumeTiming();
    }
    state.counters["engine_processes"] = processes;
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_OpenLargeStylesheet(benchmark::State &state)
{
    frmCSS &window = *fixture->window;
    const QString &source = fixture->sources[state.range(0)];
    for (auto _ : state) {
        window.LoadFile(source);
        showEverything();
    }
    fixture->open = int(state.range(0));
    if (rulesIn(window.document().root()) != ruleCount)
        state.SkipWithError("the stylesheet did not load whole");
    state.counters["rules"] = rulesIn(window.document().root());
    state.counters["peak_rss_MB"] = peakResidentBytes() / (1024 * 1024);
}
BENCHMARK(BM_OpenLargeStylesheet)->Arg(Flat)->Arg(Blocks)->Unit(benchmark::kMillisecond)->Iterations(5);

// The document alone, without the window: what the views add is the difference.
void BM_LoadDocument(benchmark::State &state)
{
    for (auto _ : state) {
        Stylesheet sheet;
        if (!sheet.load(fixture->sources[state.range(0)]) || rulesIn(sheet.root()) != ruleCount)
            state.SkipWithError("the stylesheet did not load whole");
    }
}
BENCHMARK(BM_LoadDocument)->Arg(Flat)->Arg(Blocks)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_SelectRule(benchmark::State &state)
{
    frmCSS &window = fixture->windowWith(int(state.range(0)));
    auto *list = window.findChild<QAbstractItemView *>(QStringLiteral("lstStyle"));
    int row = 1;
    for (auto _ : state) {
        list->setCurrentIndex(list->model()->index(row, 0));
        showEverything();
        row = (row * 7919 + 1) % list->model()->rowCount();
    }
}
BENCHMARK(BM_SelectRule)->Arg(Flat)->Arg(Blocks)->Unit(benchmark::kMicrosecond);

// Runs until the preview's browser has finished loading; false on a time-out.
bool waitForPreviewLoad(const cssPView &preview)
{
    QEventLoop loop;
    preview.browser()->onLoadFinished(&loop, [&loop](bool) { loop.quit(); });
    QTimer::singleShot(30000, &loop, [&loop] { loop.exit(1); });
    return loop.exec() == 0;
}

// The editor's own work for a rule change with the preview on show: commit,
// parse, build the sample and hand it to the engine. The engine's rendering
// runs untimed between iterations.
void BM_SelectRuleWithPreview(benchmark::State &state)
{
    frmCSS &window = fixture->windowWith(Flat);
    auto *preview = window.findChild<cssPView *>();
    auto *host = window.findChild<CtlsStep *>(QStringLiteral("csCSS"));
    auto *list = window.findChild<QAbstractItemView *>(QStringLiteral("lstStyle"));
    host->setCurrentIndex(7);
    if (!preview || !preview->browser() || !waitForPreviewLoad(*preview)) {
        state.SkipWithError("the preview did not start");
        return;
    }
    int row = 1;
    for (auto _ : state) {
        list->setCurrentIndex(list->model()->index(row, 0));
        state.PauseTiming();
        if (!waitForPreviewLoad(*preview))
            state.SkipWithError("the preview did not load");
        row = (row * 7919 + 1) % ruleCount;
        state.ResumeTiming();
    }
    state.counters["engine_processes"] = engineProcesses();
    host->setCurrentIndex(0);
}
BENCHMARK(BM_SelectRuleWithPreview)->Unit(benchmark::kMicrosecond)->Iterations(200);

// Says when the window is on screen, then how many engine processes run.
int startOnly()
{
    frmCSS window;
    window.show();
    window.start(QString());
    while (!window.windowHandle() || !window.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    std::printf("exposed\n");
    std::fflush(stdout);
    std::printf("%d\n", engineProcesses());
    return 0;
}

void BM_SaveLargeStylesheet(benchmark::State &state)
{
    frmCSS &window = fixture->windowWith(int(state.range(0)));
    for (auto _ : state) {
        if (!window.WriteFile(fixture->target))
            state.SkipWithError("the save failed");
    }
    state.counters["peak_rss_MB"] = peakResidentBytes() / (1024 * 1024);
}
BENCHMARK(BM_SaveLargeStylesheet)->Arg(Flat)->Arg(Blocks)->Unit(benchmark::kMillisecond)->Iterations(5);

// One keystroke in the rule filter: the list is filtered over all rules.
void BM_FilterKeystroke(benchmark::State &state)
{
    frmCSS &window = fixture->windowWith(int(state.range(0)));
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
BENCHMARK(BM_FilterKeystroke)->Arg(Flat)->Arg(Blocks)->Unit(benchmark::kMillisecond);

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
    keepFreedMemory();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    registerStandardPages();
    PreviewEngineLoader::SetFile(QStringLiteral(QUILLMERE_PREVIEW_ENGINE));

    if (argc == 2 && std::strcmp(argv[1], "--start-only") == 0)
        return startOnly();
    if (argc >= 4 && std::strcmp(argv[1], "--screenshot") == 0)
        return screenshot(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                          argc > 4 ? QString::fromLocal8Bit(argv[4]) : QString());

    Fixture data;
    data.sources[Flat] = written(data.dir.filePath(QStringLiteral("large.css")), largeStylesheet());
    data.sources[Blocks] = written(data.dir.filePath(QStringLiteral("blocks.css")), blockStylesheet());
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
