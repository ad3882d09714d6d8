#include "css/LineFeed.h"

#include "css/CSSTextRead.h"
#include "support/TextFile.h"

#include <QtAlgorithms>

#include <algorithm>
#include <cstring>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Long enough that the work per piece vanishes, short enough to stay in cache.
constexpr qsizetype SliceSize = 16 * 1024;

// A piece must not end after these: a CR may pair with the next LF, and "/"
// and "*" may start a token with the next character.
bool mayPairWithNext(QChar c)
{
    return c == u'\r' || c == u'/' || c == u'*';
}

// First CR or LF in text[from, to), or -1.
qsizetype indexOfLineBreak(QStringView text, qsizetype from, qsizetype to)
{
    const char16_t *const begin = text.utf16();
    const char16_t *p = begin + from;
    const char16_t *const end = begin + to;
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi16(u'\r');
    const __m128i lf = _mm_set1_epi16(u'\n');
    for (; end - p >= 8; p += 8) {
        const __m128i chars = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        const int found = _mm_movemask_epi8(
            _mm_or_si128(_mm_cmpeq_epi16(chars, cr), _mm_cmpeq_epi16(chars, lf)));
        if (found != 0)
            return (p - begin) + qCountTrailingZeroBits(uint(found)) / 2;
    }
#endif
    for (; p < end; ++p) {
        if (*p == u'\r' || *p == u'\n')
            return p - begin;
    }
    return -1;
}

// Where the next line starts after the line break at `at`.
qsizetype afterLineBreak(QStringView text, qsizetype at)
{
    const bool crLf = text[at] == u'\r' && at + 1 < text.size() && text[at + 1] == u'\n';
    return at + (crLf ? 2 : 1);
}

} // namespace

LineFeed::LineFeed(CSSTextRead &reader)
    : m_reader(reader)
{
}

void LineFeed::Add(QStringView text)
{
    if (!m_held.empty()) {
        // The held end goes with the text up to its first character after which
        // a piece may end.
        const auto settled = std::find_if_not(text.begin(), text.end(), mayPairWithNext);
        if (settled == text.end()) {
            m_held.insert(m_held.end(), text.utf16(), text.utf16() + text.size());
            return;
        }
        const qsizetype joined = settled - text.begin() + 1;
        m_held.insert(m_held.end(), text.utf16(), text.utf16() + joined);
        feedHeld();
        text = text.sliced(joined);
    }
    feedSafely(text);
}

void LineFeed::Finish()
{
    feedHeld();
    if (m_lineOpen)
        m_reader.AddData(u"\r\n");
    m_lineOpen = false;
}

void LineFeed::feedHeld()
{
    const std::vector<char16_t> held = std::exchange(m_held, {});
    const QStringView text(held.data(), qsizetype(held.size()));
    feed(text, text.size());
}

void LineFeed::feedSafely(QStringView text)
{
    qsizetype end = text.size();
    while (end > 0 && mayPairWithNext(text[end - 1]))
        --end;
    feed(text, end);
    m_held.assign(text.utf16() + end, text.utf16() + text.size());
}

void LineFeed::feed(QStringView text, qsizetype end)
{
    qsizetype start = 0;
    while (start < end) {
        qsizetype cut = std::min(start + SliceSize, end);
        if (cut < end) {
            while (cut > start && mayPairWithNext(text[cut - 1]))
                --cut;
            // A slice made only of such characters runs on to the first that is not.
            if (cut == start) {
                cut = std::min(start + SliceSize, end);
                while (cut < end && mayPairWithNext(text[cut - 1]))
                    ++cut;
            }
        }
        const QStringView slice = text.sliced(start, cut - start);
        // Every line break written as CR LF at most doubles the length. The
        // buffer is not cleared: every character fed is written first.
        if (m_outCapacity < 2 * slice.size()) {
            m_outCapacity = 2 * slice.size();
            m_out.reset(new char16_t[size_t(m_outCapacity)]);
        }
        char16_t *const out = m_out.get();
        qsizetype written = 0;
        qsizetype pos = 0;
        while (pos < slice.size()) {
            const qsizetype lineBreak = indexOfLineBreak(slice, pos, slice.size());
            const qsizetype lineEnd = lineBreak < 0 ? slice.size() : lineBreak;
            std::memcpy(out + written, slice.utf16() + pos, size_t(lineEnd - pos) * sizeof(char16_t));
            written += lineEnd - pos;
            if (lineBreak < 0)
                break;
            out[written++] = u'\r';
            out[written++] = u'\n';
            pos = afterLineBreak(slice, lineBreak);
        }
        m_lineOpen = out[written - 1] != u'\n';
        m_reader.AddData(QStringView(out, written));
        start = cut;
    }
}

void ReadStylesheet(CSSTextRead &reader, TextFile &file)
{
    LineFeed feed(reader);
    for (QStringView piece = file.ReadPiece(); !piece.isEmpty(); piece = file.ReadPiece())
        feed.Add(piece);
    feed.Finish();
}
