// Arbitrary bytes through the whole text engine: decoding, the tokenizer and
// the reader fed in pieces, the editor's fast line feed, the document's saved
// form and the declaration lists. Aborts when reading in pieces disagrees with
// reading in one piece, when the line feed disagrees with feeding each line
// and CR LF, when a saved stylesheet reads back as another tree or saves as
// other text, or when formatting declarations is not a fixed point.
#include "app/Stylesheet.h"
#include "css/CSSTextRead.h"
#include "css/CssTokenizer.h"
#include "css/LineFeed.h"
#include "css/modCSSFns.h"
#include "support/TextFile.h"
#include "support/VValues.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

enum class Signal { Selector, Comment, Statement, Unknown, BlockStarted, Declarations, BlockEnded, Unfinished };

struct Event
{
    Signal signal;
    QString first;
    QString second;
    bool operator==(const Event &other) const
    {
        return signal == other.signal && first == other.first && second == other.second;
    }
};

// Every signal, so that a difference in block structure shows as well as one
// in the texts.
void record(CSSTextRead &reader, std::vector<Event> &events)
{
    const auto add = [&events](Signal signal, QStringView first, QStringView second = {}) {
        events.push_back({signal, first.toString(), second.toString()});
    };
    QObject::connect(&reader, &CSSTextRead::FindSelector, &reader,
                     [add](QStringView selector, QStringView declarations) {
                         add(Signal::Selector, selector, declarations);
                     });
    QObject::connect(&reader, &CSSTextRead::FindRemText, &reader,
                     [add](const QString &comment) { add(Signal::Comment, comment); });
    QObject::connect(&reader, &CSSTextRead::FindStatement, &reader,
                     [add](QStringView text) { add(Signal::Statement, text); });
    QObject::connect(&reader, &CSSTextRead::FindUnknown, &reader,
                     [add](QStringView text) { add(Signal::Unknown, text); });
    QObject::connect(&reader, &CSSTextRead::BlockStarted, &reader,
                     [add](QStringView prelude, bool holdsDeclarations) {
                         add(Signal::BlockStarted, prelude, holdsDeclarations ? u"declarations" : u"");
                     });
    QObject::connect(&reader, &CSSTextRead::FindDeclarations, &reader,
                     [add](QStringView declarations) { add(Signal::Declarations, declarations); });
    QObject::connect(&reader, &CSSTextRead::BlockEnded, &reader, [add] { add(Signal::BlockEnded, {}); });
}

// What Finish reports, then what stays unfinished at the top level.
void finish(CSSTextRead &reader, std::vector<Event> &events)
{
    reader.Finish();
    events.push_back({Signal::Unfinished, reader.unfinishedText(), {}});
}

// Piece lengths follow a small generator seeded from the input itself, so every
// input explores its own way of being cut.
std::uint32_t nextSeed(std::uint32_t seed)
{
    return seed * 1664525u + 1013904223u;
}

// Cuts text anywhere (or nowhere) and hands each piece with its offset to feed.
template<typename Feed>
void inPieces(QStringView text, bool whole, std::uint32_t seed, Feed feed)
{
    qsizetype pos = 0;
    while (pos < text.size()) {
        seed = nextSeed(seed);
        const qsizetype end = whole ? text.size() : std::min(text.size(), pos + 1 + qsizetype((seed >> 16) % 24));
        feed(text.sliced(pos, end - pos), pos);
        pos = end;
    }
}

std::vector<Event> read(QStringView text, bool whole, std::uint32_t seed)
{
    std::vector<Event> events;
    CSSTextRead reader;
    record(reader, events);
    inPieces(text, whole, seed, [&reader](QStringView piece, qsizetype) { reader.AddData(piece); });
    finish(reader, events);
    return events;
}

// The plain way: each line, whatever ended it, followed by CR LF.
std::vector<Event> readLineByLine(QStringView text)
{
    std::vector<Event> events;
    CSSTextRead reader;
    record(reader, events);
    qsizetype pos = 0;
    while (pos < text.size()) {
        qsizetype end = pos;
        while (end < text.size() && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        reader.AddData(text.sliced(pos, end - pos).toString() + QStringLiteral("\r\n"));
        pos = end;
        if (pos < text.size())
            pos += text[pos] == u'\r' && pos + 1 < text.size() && text[pos + 1] == u'\n' ? 2 : 1;
    }
    finish(reader, events);
    return events;
}

// The editor's way, the text arriving in pieces cut anywhere.
std::vector<Event> readFast(QStringView text, std::uint32_t seed)
{
    std::vector<Event> events;
    CSSTextRead reader;
    record(reader, events);
    LineFeed feed(reader);
    qsizetype pos = 0;
    while (pos < text.size()) {
        seed = nextSeed(seed);
        const qsizetype end = std::min(text.size(), pos + 1 + qsizetype((seed >> 16) % 40));
        feed.Add(text.sliced(pos, end - pos));
        pos = end;
    }
    feed.Finish();
    finish(reader, events);
    return events;
}

// The stops with their positions in the whole text, the tokenizer reporting
// what seed picks.
std::vector<std::pair<qsizetype, CssTokenizer::Stop>> stops(QStringView text, bool whole, std::uint32_t seed)
{
    std::vector<std::pair<qsizetype, CssTokenizer::Stop>> found;
    CssTokenizer tokens(int(seed & 3), (seed & 4) != 0);
    inPieces(text, whole, seed, [&](QStringView piece, qsizetype offset) {
        for (CssTokenizer::Found stop = tokens.next(piece, 0); stop.stop != CssTokenizer::Stop::None;
             stop = tokens.next(piece, stop.after()))
            found.emplace_back(offset + stop.pos, stop.stop); // a CommentOpen may be at -1
    });
    return found;
}

// True when text holds a "/*" with no "*/" after it.
bool holdsUnclosedComment(QStringView text)
{
    for (qsizetype from = 0;;) {
        const qsizetype open = text.indexOf(u"/*", from);
        if (open < 0)
            return false;
        const qsizetype close = text.indexOf(u"*/", open + 2);
        if (close < 0)
            return true;
        from = close + 2;
    }
}

// Formatting writes each pair with its comments closed inside it, so the text
// parses back to the same pairs. Only a name or value holding a stray "/*"
// escapes that: a later pair written after it may close it.
void checkFormatIsFixedPoint(QStringView declarations)
{
    VValues values;
    ParseDeclarations(values, declarations);
    for (const Pair &pair : values) {
        if (holdsUnclosedComment(pair.Key()) || holdsUnclosedComment(pair.Value()))
            return;
    }
    const QString once = FormatDeclarations(values);
    values.Clear();
    ParseDeclarations(values, once);
    if (FormatDeclarations(values) != once)
        std::abort();
}

// Whether kept text, followed by the lines saved after it, still ends where
// it did: it leaves no string, comment, url, bracket or "{" block open. (A
// stray "}" reads back as the same stray "}".)
bool selfContained(QStringView kept)
{
    CssTokenizer tokens;
    int depth = 0;
    for (CssTokenizer::Found found = tokens.next(kept, 0); found.stop != CssTokenizer::Stop::None;
         found = tokens.next(kept, found.after())) {
        if (found.stop == CssTokenizer::Stop::BlockOpen)
            ++depth;
        else if (found.stop == CssTokenizer::Stop::BlockClose && depth > 0)
            --depth;
    }
    return depth == 0 && tokens.atTopLevel();
}

// The tree as the lines it saves as, in their order, each with its depth.
// Comments are listed where they are written: a comment read after part of a
// selector is saved on its own line after the entry, so it reads back as one
// before whatever follows; the list holds it in the same place either way.
struct Flat
{
    QStringList items;
    qsizetype firstLoose = -1; // the first kept text that is not self-contained
};

void flatten(const QStringList &comments, int depth, Flat &flat)
{
    for (const QString &comment : comments)
        flat.items << QStringLiteral("%1 /*%2*/").arg(depth).arg(comment);
}

void flattenKept(const QString &kept, int depth, Flat &flat)
{
    if (flat.firstLoose < 0 && !selfContained(kept))
        flat.firstLoose = flat.items.size();
    flat.items << QStringLiteral("%1 kept %2").arg(depth).arg(kept);
}

void flatten(const RuleBlock &block, int depth, Flat &flat)
{
    for (const Rule &entry : block.entries) {
        flatten(entry.commentsBefore, depth, flat);
        if (entry.kind == EntryKind::Unknown)
            flattenKept(entry.selector, depth, flat);
        else
            flat.items << QStringLiteral("%1 %2 %3 {%4}").arg(depth).arg(int(entry.kind)).arg(entry.selector, entry.declarations);
        if (entry.block) {
            flatten(*entry.block, depth + 1, flat);
            flatten(entry.block->endComments, depth + 1, flat);
            flat.items << QStringLiteral("%1 }").arg(depth);
        }
        flatten(entry.commentsAfter, depth, flat);
    }
}

Flat flatten(const Stylesheet &sheet)
{
    Flat flat;
    flatten(sheet.root(), 0, flat);
    flatten(sheet.end().comments, 0, flat);
    if (!sheet.end().unfinished.isEmpty())
        flattenKept(sheet.end().unfinished, 0, flat);
    flatten(sheet.end().commentsAfterUnfinished, 0, flat);
    return flat;
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Open, save, open the saved file, save again: the same tree and the same
// bytes. Kept text that leaves something open (the unfinished end of a block
// or of the file) takes in the lines saved after it, so it cannot read back
// as it was; the trees are then compared only up to it.
void checkSavedFormIsFixedPoint(const QString &text)
{
    static const QTemporaryDir dir;
    const QString original = dir.filePath(QStringLiteral("original.css"));
    const QString saved = dir.filePath(QStringLiteral("saved.css"));
    const QString savedAgain = dir.filePath(QStringLiteral("saved-again.css"));
    {
        QFile file(original);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text.toUtf8()) < 0)
            std::abort();
    }
    Stylesheet first;
    if (!first.load(original))
        std::abort();
    const Stylesheet::SaveResult result = first.save(saved);
    if (result == Stylesheet::SaveResult::Unencodable) // an @charset naming a narrow encoding
        return;
    if (result != Stylesheet::SaveResult::Saved)
        std::abort();
    Stylesheet second;
    if (!second.load(saved) || second.save(savedAgain) != Stylesheet::SaveResult::Saved)
        std::abort();

    const Flat before = flatten(first);
    const Flat after = flatten(second);
    if (before.firstLoose < 0) {
        if (after.items != before.items || contents(savedAgain) != contents(saved))
            std::abort();
    } else if (after.items.mid(0, before.firstLoose) != before.items.mid(0, before.firstLoose)) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    TextFormat format;
    const QString text = TextFile::decode(bytes, &format);
    const std::uint32_t seed = std::uint32_t(qHash(bytes));

    if (stops(text, false, seed) != stops(text, true, seed))
        std::abort();
    const std::vector<Event> whole = read(text, true, seed);
    if (read(text, false, seed) != whole)
        std::abort();
    if (readFast(text, seed) != readLineByLine(text))
        std::abort();

    checkSavedFormIsFixedPoint(text);

    checkFormatIsFixedPoint(text);
    for (const Event &event : whole) {
        if (event.signal == Signal::Selector)
            checkFormatIsFixedPoint(event.second);
        else if (event.signal == Signal::Declarations)
            checkFormatIsFixedPoint(event.first);
    }
    return 0;
}
