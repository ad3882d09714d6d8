// Throughput of the text engine: the reader alone, the editor's whole read path
// (file -> lines -> reader), and declaration lists. Run in a Release or
// RelWithDebInfo build; figures are MB/s of stylesheet text.
#include "css/CSSTextRead.h"
#include "css/LineFeed.h"
#include "css/modCSSFns.h"
#include "support/LargePages.h"
#include "support/StringStore.h"
#include "support/TextFile.h"
#include "support/VValues.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fstream>
#include <memory>
#include <string>

namespace {

constexpr qsizetype MiB = 1024 * 1024;

// Rules over several lines with TAB indents, grouped under section comments.
QString multiLineStylesheet(qsizetype size)
{
    QString text;
    text.reserve(size + 1024);
    for (int i = 0; text.size() < size; ++i) {
        if (i % 10 == 0)
            text += QStringLiteral("/* Section %1\n   ===================== */\n\n").arg(i / 10);
        text += QStringLiteral(
                    ".card-%1 > .title a:hover,\n.card-%1 .subtitle {\n"
                    "\tcolor: #3a3a3a;\n\tmargin: 0 auto 12px;\n"
                    "\tfont: 600 14px/1.4 \"Helvetica Neue\", Arial, sans-serif;\n"
                    "\tbackground: url(img/bg-%1.png) no-repeat; /* sprite */\n}\n\n")
                    .arg(i);
    }
    return text;
}

// One line, no blanks, with media blocks and a licence comment in front.
QString minifiedStylesheet(qsizetype size)
{
    QString text = QStringLiteral("/*! Kit v1.0 | MIT License */");
    text.reserve(size + 1024);
    for (int i = 0; text.size() < size; ++i) {
        text += QStringLiteral(".card-%1>.title a:hover,.card-%1 .subtitle{color:#3a3a3a;"
                               "margin:0 auto 12px;font:600 14px/1.4 Arial,sans-serif}")
                    .arg(i);
        if (i % 20 == 0)
            text += QStringLiteral("@media (min-width:768px){.col-%1{flex:0 0 auto;width:50%}}").arg(i);
    }
    return text;
}

// The multi-line rules with a third of them inside @media groups or nested in
// another rule, as hand-written stylesheets are today.
QString blockStylesheet(qsizetype size)
{
    QString text;
    text.reserve(size + 1024);
    const auto rule = [](int i, const QString &indent) {
        return QStringLiteral("%2.card-%1 .subtitle {\n%2\tcolor: #3a3a3a;\n%2\tmargin: 0 auto 12px;\n"
                              "%2\tbackground: url(\"data:image/svg+xml;utf8,<svg/>\") no-repeat;\n")
            .arg(i)
            .arg(indent);
    };
    for (int i = 0; text.size() < size; i += 3) {
        text += rule(i, QString()) + QStringLiteral("}\n");
        text += rule(i + 1, QString()) + QStringLiteral("\t&:hover { color: red; }\n}\n");
        text += QStringLiteral("@media (min-width: 768px) {\n") + rule(i + 2, QStringLiteral("  "))
            + QStringLiteral("  }\n}\n");
    }
    return text;
}

const QString &multiLine10MiB()
{
    static const QString text = multiLineStylesheet(10 * MiB);
    return text;
}

const QString &minified5MiB()
{
    static const QString text = minifiedStylesheet(5 * MiB);
    return text;
}

// Files on disk for the whole read path, written once per run.
QString fileHolding(const QString &name, const QString &text)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(name);
    if (!QFile::exists(path)) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return QString();
        file.write(text.toUtf8());
    }
    return path;
}

// What the document does per rule: keep the two texts, in a store that lives
// as long as the rules read in one pass.
struct RuleSink
{
    explicit RuleSink(CSSTextRead &reader)
    {
        QObject::connect(&reader, &CSSTextRead::FindSelector, &reader,
                         [this](QStringView selector, QStringView declarations) {
                             benchmark::DoNotOptimize(texts->keep(selector));
                             benchmark::DoNotOptimize(texts->keep(declarations));
                             ++rules;
                         });
        QObject::connect(&reader, &CSSTextRead::BlockStarted, &reader,
                         [this](QStringView prelude) { benchmark::DoNotOptimize(texts->keep(prelude)); });
        QObject::connect(&reader, &CSSTextRead::FindDeclarations, &reader,
                         [this](QStringView declarations) {
                             benchmark::DoNotOptimize(texts->keep(declarations));
                         });
    }
    void startPass(qsizetype expectedChars) { texts = std::make_unique<StringStore>(expectedChars); }

    std::unique_ptr<StringStore> texts;
    qint64 rules = 0;
};

void readWhole(benchmark::State &state, const QString &text)
{
    CSSTextRead reader;
    RuleSink sink(reader);
    for (auto _ : state) {
        sink.startPass(text.size());
        reader.Clear();
        reader.AddData(text);
        reader.Clear();
    }
    state.SetBytesProcessed(state.iterations() * text.size());
    state.counters["rules"] = double(sink.rules) / double(state.iterations());
}

// The editor's open: the file decoded, then its lines to the reader.
void readPath(benchmark::State &state, const QString &path)
{
    if (path.isEmpty()) {
        state.SkipWithError("cannot write the input file");
        return;
    }
    CSSTextRead reader;
    RuleSink sink(reader);
    const qint64 bytes = QFileInfo(path).size();
    for (auto _ : state) {
        TextFile file;
        if (!file.OpenFile(path)) {
            state.SkipWithError("cannot open the input file");
            return;
        }
        sink.startPass(bytes);
        reader.Clear();
        ReadStylesheet(reader, file);
        reader.Clear();
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["rules"] = double(sink.rules) / double(state.iterations());
}

// The floor for any line reader: std::getline over the same file, touching each line.
void ifstreamLines(benchmark::State &state, const QString &path)
{
    const qint64 bytes = QFileInfo(path).size();
    std::size_t seen = 0;
    for (auto _ : state) {
        std::ifstream in(QFile::encodeName(path).toStdString(), std::ios::binary);
        std::string line;
        while (std::getline(in, line))
            seen += line.size();
    }
    benchmark::DoNotOptimize(seen);
    state.SetBytesProcessed(state.iterations() * bytes);
}

void BM_ReaderMultiLine10MiB(benchmark::State &state) { readWhole(state, multiLine10MiB()); }
BENCHMARK(BM_ReaderMultiLine10MiB)->Unit(benchmark::kMillisecond);

void BM_ReaderMinified5MiB(benchmark::State &state) { readWhole(state, minified5MiB()); }
BENCHMARK(BM_ReaderMinified5MiB)->Unit(benchmark::kMillisecond);

void BM_ReadPathMultiLine10MiB(benchmark::State &state)
{
    readPath(state, fileHolding(QStringLiteral("multi.css"), multiLine10MiB()));
}
BENCHMARK(BM_ReadPathMultiLine10MiB)->Unit(benchmark::kMillisecond);

// Run next to the one above, so that one run shows how near the floor the editor's path is.
void BM_IfstreamLinesMultiLine10MiB(benchmark::State &state)
{
    ifstreamLines(state, fileHolding(QStringLiteral("multi.css"), multiLine10MiB()));
}
BENCHMARK(BM_IfstreamLinesMultiLine10MiB)->Unit(benchmark::kMillisecond);

void BM_ReadPathBlocks10MiB(benchmark::State &state)
{
    static const QString text = blockStylesheet(10 * MiB);
    readPath(state, fileHolding(QStringLiteral("blocks.css"), text));
}
BENCHMARK(BM_ReadPathBlocks10MiB)->Unit(benchmark::kMillisecond);

void BM_ReadPathMinified5MiB(benchmark::State &state)
{
    readPath(state, fileHolding(QStringLiteral("minified.css"), minified5MiB()));
}
BENCHMARK(BM_ReadPathMinified5MiB)->Unit(benchmark::kMillisecond);

// Linear growth: the time per byte should stay flat from 1 MiB to 10 MiB.
void BM_ReaderScaling(benchmark::State &state)
{
    const QString text = multiLineStylesheet(state.range(0));
    readWhole(state, text);
    state.SetComplexityN(text.size());
}
BENCHMARK(BM_ReaderScaling)->Arg(MiB)->Arg(10 * MiB)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);

// Selecting a rule parses its declarations; committing a page formats them.
void BM_ParseAndFormatDeclarations(benchmark::State &state)
{
    QStringList rules;
    qint64 bytes = 0;
    for (int i = 0; i < 20000; ++i) {
        rules << QStringLiteral("color: #3a3a3a;  margin: 0 auto %1px;  font: 600 14px/1.4 Arial, "
                                "sans-serif;  background: url(img/bg-%1.png) no-repeat;  "
                                "content: \"a:b\";  COLOR: red")
                     .arg(i);
        bytes += rules.back().size();
    }
    VValues values;
    qint64 written = 0;
    for (auto _ : state) {
        for (const QString &rule : rules) {
            values.Clear();
            ParseDeclarations(values, rule);
            written += FormatDeclarations(values).size();
        }
    }
    benchmark::DoNotOptimize(written);
    state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(BM_ParseAndFormatDeclarations)->Unit(benchmark::kMillisecond);

void registerCorpusBenchmarks()
{
    const QDir corpus(QStringLiteral(QUILLMERE_CORPUS_DIR));
    if (!corpus.exists())
        return;
    for (const QString &name : corpus.entryList({QStringLiteral("*.css")}, QDir::Files, QDir::Name)) {
        const QString path = corpus.filePath(name);
        benchmark::RegisterBenchmark(("BM_ReadPathCorpus/" + name).toUtf8().constData(),
                                     [path](benchmark::State &state) { readPath(state, path); })
            ->Unit(benchmark::kMicrosecond);
    }
}

} // namespace

int main(int argc, char **argv)
{
    keepFreedMemory();
    benchmark::Initialize(&argc, argv);
    registerCorpusBenchmarks();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
