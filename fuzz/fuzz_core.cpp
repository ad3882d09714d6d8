// Arbitrary bytes through the whole text engine: decoding, the reader fed in
// pieces, the editor's fast line feed, and the declaration lists. Aborts when
// reading in pieces disagrees with reading in one piece, when the line feed
// disagrees with feeding each line and CR LF, or when formatting is not a fixed
// point.
#include "css/CSSTextRead.h"
#include "css/LineFeed.h"
#include "css/modCSSFns.h"
#include "support/TextFile.h"
#include "support/VValues.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

struct Event
{
    bool isRule;
    QString first;
    QString second;
    bool operator==(const Event &other) const
    {
        return isRule == other.isRule && first == other.first && second == other.second;
    }
};

// A cut between these two characters would split a token or a CR LF pair.
bool mayCutBefore(QStringView text, qsizetype at)
{
    if (at <= 0 || at >= text.size())
        return true;
    const QChar before = text[at - 1];
    const QChar after = text[at];
    return !((before == u'/' && after == u'*') || (before == u'*' && after == u'/')
             || (before == u'\r' && after == u'\n'));
}

enum class Cuts { None, KeepTokensWhole, Anywhere };

// Piece lengths follow a small generator seeded from the input itself, so every
// input explores its own way of being cut.
void record(CSSTextRead &reader, std::vector<Event> &events)
{
    QObject::connect(&reader, &CSSTextRead::FindSelector, &reader,
                     [&events](QStringView selector, QStringView declarations) {
                         events.push_back({true, selector.toString(), declarations.toString()});
                     });
    QObject::connect(&reader, &CSSTextRead::FindRemText, &reader,
                     [&events](const QString &comment) { events.push_back({false, comment, {}}); });
}

std::uint32_t nextSeed(std::uint32_t seed)
{
    return seed * 1664525u + 1013904223u;
}

std::vector<Event> read(QStringView text, Cuts cuts, std::uint32_t seed)
{
    std::vector<Event> events;
    CSSTextRead reader;
    record(reader, events);
    qsizetype pos = 0;
    while (pos < text.size()) {
        seed = nextSeed(seed);
        qsizetype end = cuts == Cuts::None
            ? text.size()
            : std::min(text.size(), pos + 1 + qsizetype((seed >> 16) % 24));
        while (cuts == Cuts::KeepTokensWhole && !mayCutBefore(text, end))
            ++end;
        reader.AddData(text.sliced(pos, end - pos));
        pos = end;
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
    return events;
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    TextFormat format;
    const QString text = TextFile::decode(bytes, &format);
    const std::uint32_t seed = std::uint32_t(qHash(bytes));

    const std::vector<Event> whole = read(text, Cuts::None, seed);
    if (read(text, Cuts::KeepTokensWhole, seed) != whole)
        std::abort();
    read(text, Cuts::Anywhere, ~seed); // tokens split across pieces: must merely survive
    if (readFast(text, seed) != readLineByLine(text))
        std::abort();

    checkFormatIsFixedPoint(text);
    for (const Event &event : whole) {
        if (event.isRule)
            checkFormatIsFixedPoint(event.second);
    }
    return 0;
}
