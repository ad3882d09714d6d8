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
#include <initializer_list>
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

// Line breaks inside texts are saved as the file's line end.
QString withLfBreaks(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
}

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

// The events with every line break as LF: a file's text goes to the reader
// as it stands, so what keeps line breaks (comments, kept text) keeps the
// file's own.
std::vector<Event> withLfBreaks(std::vector<Event> events)
{
    for (Event &event : events) {
        event.first = withLfBreaks(event.first);
        event.second = withLfBreaks(event.second);
    }
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

// Whether text leaves nothing open at its end: no string, comment, url,
// bracket or "{" block. (A stray "}" reads back as the same stray "}".)
bool closesAll(QStringView text)
{
    CssTokenizer tokens(CssTokenizer::Braces, true);
    tokens.walk(text, [](CssTokenizer::Found) {});
    return tokens.atTopLevel();
}

// The tree as the lines it saves as, in their order, each with its depth.
// Comments are listed where they are written: a comment read after part of a
// selector is saved on its own line after the entry, so it reads back as one
// before whatever follows; the list holds it in the same place either way.
struct Flat
{
    QStringList items;
    qsizetype firstOpen = -1; // the first whose text leaves something open
};

void add(Flat &flat, const QString &item, std::initializer_list<QStringView> texts)
{
    if (flat.firstOpen < 0 && !std::all_of(texts.begin(), texts.end(), closesAll))
        flat.firstOpen = flat.items.size();
    flat.items << withLfBreaks(item);
}

void flatten(const QStringList &comments, int depth, Flat &flat)
{
    for (const QString &comment : comments)
        flat.items << withLfBreaks(QStringLiteral("%1 /*%2*/").arg(depth).arg(comment));
}

void flatten(const RuleBlock &block, int depth, Flat &flat)
{
    for (const Rule &entry : block.entries) {
        flatten(entry.commentsBefore, depth, flat);
        add(flat, QStringLiteral("%1 %2 %3 {%4}").arg(depth).arg(int(entry.kind)).arg(entry.selector, entry.declarations),
            {entry.selector, entry.declarations});
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
        add(flat, QStringLiteral("0 unfinished %1").arg(sheet.end().unfinished), {sheet.end().unfinished});
    flatten(sheet.end().commentsAfterUnfinished, 0, flat);
    return flat;
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Open, save, open the saved file, save again: the same tree and the same
// bytes. A text that ends inside a string, comment, url, bracket or block
// leaves that open in whatever the reader closed at the end: that entry's
// texts take in the lines saved after them, so they cannot read back as they
// were. For such a text the trees are compared only up to the first entry
// whose texts leave something open; a text that closes everything must come
// back whole.
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
    if (closesAll(text) || before.firstOpen < 0) {
        if (after.items != before.items || contents(savedAgain) != contents(saved))
            std::abort();
    } else if (after.items.mid(0, before.firstOpen) != before.items.mid(0, before.firstOpen)) {
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
    if (withLfBreaks(readFast(text, seed)) != withLfBreaks(readLineByLine(text)))
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
