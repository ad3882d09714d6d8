#include "css/CssTokenizer.h"

#include "css/CharSearch.h"

#include <QtAlgorithms>

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// A set of ASCII characters, tested with one shift.
struct CharSet
{
    quint64 bits[2] = {};

    constexpr CharSet(const char *chars)
    {
        for (; *chars; ++chars)
            bits[*chars >> 6] |= quint64(1) << (*chars & 63);
    }
    constexpr bool has(char16_t c) const { return c < 128 && (bits[c >> 6] >> (c & 63)) & 1; }
};

// What may change the structure in plain text: block brackets, the starts of
// strings, escapes and comments, and the separators a caller asked for.
constexpr CharSet normalStops[4] = {
    CharSet("{}()[]\"'\\/"),
    CharSet("{}()[]\"'\\/;"),
    CharSet("{}()[]\"'\\/:"),
    CharSet("{}()[]\"'\\/;:"),
};

// The first character of the set in text[from, size), or size. Eight
// characters are tried at once; the few that only look like one of the set
// ("|" beside "\\") are passed over.
template<int report>
qsizetype findStop(const char16_t *text, qsizetype from, qsizetype size, const CharSet &stops)
{
    const char16_t *p = text + from;
    const char16_t *const end = text + size;
#if defined(__SSE2__)
    const auto all = [](char16_t c) { return _mm_set1_epi16(short(c)); };
    const __m128i caseBit = all(0x20);
    const __m128i pairBits = all(0xFFFE);
    for (; end - p >= 8; p += 8) {
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        const __m128i folded = _mm_or_si128(c, caseBit); // "[" as "{", "]" as "}", "\\" as "|"
        __m128i hit = _mm_or_si128(_mm_cmpeq_epi16(folded, all(u'{')), _mm_cmpeq_epi16(folded, all(u'}')));
        hit = _mm_or_si128(hit, _mm_cmpeq_epi16(folded, all(u'|')));
        hit = _mm_or_si128(hit, _mm_cmpeq_epi16(_mm_and_si128(c, pairBits), all(u'('))); // "(" and ")"
        hit = _mm_or_si128(hit, _mm_cmpeq_epi16(c, all(u'"')));
        hit = _mm_or_si128(hit, _mm_cmpeq_epi16(c, all(u'\'')));
        hit = _mm_or_si128(hit, _mm_cmpeq_epi16(c, all(u'/')));
        if constexpr ((report & CssTokenizer::Semicolons) != 0)
            hit = _mm_or_si128(hit, _mm_cmpeq_epi16(c, all(u';')));
        if constexpr ((report & CssTokenizer::Colons) != 0)
            hit = _mm_or_si128(hit, _mm_cmpeq_epi16(c, all(u':')));
        for (uint mask = uint(_mm_movemask_epi8(hit)); mask != 0;) {
            const int at = qCountTrailingZeroBits(mask) / 2;
            if (stops.has(p[at]))
                return p - text + at;
            mask &= ~(3u << (2 * at)); // each character sets two bits
        }
    }
#endif
    for (; p < end; ++p) {
        if (stops.has(*p))
            return p - text;
    }
    return size;
}

qsizetype findStop(int report, const char16_t *text, qsizetype from, qsizetype size)
{
    const CharSet &stops = normalStops[report];
    switch (report) {
    case CssTokenizer::Semicolons:
        return findStop<CssTokenizer::Semicolons>(text, from, size, stops);
    case CssTokenizer::Colons:
        return findStop<CssTokenizer::Colons>(text, from, size, stops);
    case CssTokenizer::Semicolons | CssTokenizer::Colons:
        return findStop<CssTokenizer::Semicolons | CssTokenizer::Colons>(text, from, size, stops);
    default:
        return findStop<CssTokenizer::Braces>(text, from, size, stops);
    }
}

bool isNewline(char16_t c)
{
    return c == u'\n' || c == u'\r' || c == u'\f';
}

bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || isNewline(c);
}

bool isNameChar(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9')
        || c == u'-' || c == u'_' || c == u'\\' || c >= 0x80;
}

// The first "*/" at or after from, or -1. A pair is tried at eight places at
// once: hopping from one "*" to the next costs a call per star of a comment's
// decoration.
qsizetype findCommentClose(QStringView text, qsizetype from)
{
    if (text.size() - from < 2)
        return -1;
    const char16_t *const begin = text.utf16();
    const char16_t *const last = begin + text.size() - 1;
    const char16_t *p = begin + from;
#if defined(__SSE2__)
    const __m128i star = _mm_set1_epi16(short(u'*'));
    const __m128i slash = _mm_set1_epi16(short(u'/'));
    for (; last - p >= 8; p += 8) {
        const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + 1));
        const int found = _mm_movemask_epi8(
            _mm_and_si128(_mm_cmpeq_epi16(here, star), _mm_cmpeq_epi16(next, slash)));
        if (found != 0)
            return (p - begin) + qCountTrailingZeroBits(uint(found)) / 2;
    }
#endif
    for (; p < last; ++p) {
        if (p[0] == u'*' && p[1] == u'/')
            return p - begin;
    }
    return -1;
}

} // namespace

// Past the character a backslash escapes: a CR LF pair counts as the one line
// break it is, also when the piece ends between the two.
qsizetype CssTokenizer::afterEscaped(QStringView text, qsizetype at)
{
    if (text[at] != u'\r')
        return at + 1;
    if (at + 1 == text.size()) {
        m_escapedCr = true;
        return at + 1;
    }
    return text[at + 1] == u'\n' ? at + 2 : at + 1;
}

CssTokenizer::CssTokenizer(int report, bool bracesNest)
    : m_report(report & (Semicolons | Colons))
    , m_bracesNest(bracesNest)
{
}

void CssTokenizer::reset()
{
    m_state = State::Normal;
    m_quote = 0;
    m_escape = m_escapedCr = m_slash = m_star = false;
    m_brokenStrings = 0;
    m_closers.clear();
    std::fill(m_tail, m_tail + TailSize, char16_t(0));
}

CssTokenizer::Found CssTokenizer::next(QStringView text, qsizetype pos)
{
    const qsizetype size = text.size();
    const char16_t *const s = text.utf16();
    while (pos < size) {
        if (m_escapedCr) { // an escaped CR ended the last piece
            m_escapedCr = false;
            if (s[pos] == u'\n')
                ++pos;
            continue;
        }
        if (m_escape) { // a backslash ended the last piece
            m_escape = false;
            if (m_state != State::Normal || !isNewline(s[pos]))
                pos = afterEscaped(text, pos);
            continue;
        }
        switch (m_state) {
        case State::Comment:
            if (m_star) {
                m_star = false;
                if (s[pos] == u'/') {
                    m_state = State::Normal;
                    if (m_closers.isEmpty())
                        return {pos + 1, Stop::CommentClose};
                    ++pos;
                    continue;
                }
            }
            pos = skipComment(text, pos);
            if (m_state == State::Comment)
                break;
            if (m_closers.isEmpty())
                return {pos, Stop::CommentClose};
            continue;
        case State::String:
            pos = skipString(text, pos);
            continue;
        case State::UrlStart:
            while (pos < size && isBlank(s[pos]))
                ++pos;
            if (pos == size)
                break;
            if (s[pos] == u'"' || s[pos] == u'\'') {
                // url("…") is a function around a string.
                m_state = State::Normal;
                m_closers.append(u')');
            } else {
                m_state = State::Url;
            }
            continue;
        case State::Url:
            pos = skipUrl(text, pos);
            continue;
        case State::Normal: {
            if (m_slash) {
                m_slash = false;
                if (s[pos] == u'*') {
                    m_state = State::Comment;
                    if (m_closers.isEmpty())
                        return {pos - 1, Stop::CommentOpen};
                    ++pos;
                    continue;
                }
            }
            const qsizetype p = findStop(m_report, s, pos, size);
            if (p == size) {
                pos = size;
                break;
            }
            const char16_t c = s[p];
            pos = p + 1;
            switch (c) {
            case u'/':
                if (p + 1 == size) {
                    m_slash = true;
                } else if (s[p + 1] == u'*') {
                    m_state = State::Comment;
                    if (m_closers.isEmpty())
                        return {p, Stop::CommentOpen};
                    pos = p + 2;
                }
                break;
            case u'"':
            case u'\'':
                m_state = State::String;
                m_quote = c;
                break;
            case u'\\':
                // Outside strings a backslash before a line break escapes nothing.
                if (p + 1 == size)
                    m_escape = true;
                else if (!isNewline(s[p + 1]))
                    pos = afterEscaped(text, p + 1);
                break;
            case u'(':
                if (urlBefore(text, p))
                    m_state = State::UrlStart;
                else
                    m_closers.append(u')');
                break;
            case u'[':
                m_closers.append(u']');
                break;
            case u')':
            case u']':
                // A closer that matches no open block is a token of its own.
                if (!m_closers.isEmpty() && m_closers.back() == c)
                    m_closers.removeLast();
                break;
            case u'{':
                if (!m_closers.isEmpty() || m_bracesNest)
                    m_closers.append(u'}');
                else
                    return {p, Stop::BlockOpen};
                break;
            case u'}':
                if (m_closers.isEmpty())
                    return {p, Stop::BlockClose};
                if (m_closers.back() == u'}')
                    m_closers.removeLast();
                break;
            case u';':
                if (m_closers.isEmpty())
                    return {p, Stop::Semicolon};
                break;
            case u':':
                if (m_closers.isEmpty())
                    return {p, Stop::Colon};
                break;
            }
            continue;
        }
        }
        break; // the piece is used up
    }
    rememberTail(text);
    return {};
}

qsizetype CssTokenizer::skipComment(QStringView text, qsizetype from)
{
    const qsizetype close = findCommentClose(text, from);
    if (close < 0) {
        // A "*" that the next piece may close; not the one of this piece's "/*".
        m_star = text.size() > from && text.back() == u'*';
        return text.size();
    }
    m_state = State::Normal;
    return close + 2;
}

// A line break ends a string unclosed, as a CSS engine reads it; the break
// itself is blank text again.
qsizetype CssTokenizer::skipString(QStringView text, qsizetype from)
{
    const char16_t *const s = text.utf16();
    for (qsizetype p = from;; ++p) {
        p = FindAnyOf(text, p, m_quote, u'\\', u'\n', u'\r', u'\f');
        if (p == text.size())
            return p;
        const char16_t c = s[p];
        if (c == m_quote) {
            m_state = State::Normal;
            return p + 1;
        }
        if (isNewline(c)) {
            m_state = State::Normal;
            ++m_brokenStrings;
            return p;
        }
        if (p + 1 == text.size()) { // a backslash
            m_escape = true;
            return text.size();
        }
        p = afterEscaped(text, p + 1) - 1;
    }
}

// An unquoted url runs to its ")", whatever it holds; a malformed one too.
qsizetype CssTokenizer::skipUrl(QStringView text, qsizetype from)
{
    const char16_t *const s = text.utf16();
    for (qsizetype p = from;; ++p) {
        p = FindAnyOf(text, p, u')', u'\\');
        if (p == text.size())
            return p;
        if (s[p] == u')') {
            m_state = State::Normal;
            return p + 1;
        }
        if (p + 1 == text.size()) { // a backslash
            m_escape = true;
            return text.size();
        }
        p = afterEscaped(text, p + 1) - 1;
    }
}

bool CssTokenizer::urlBefore(QStringView text, qsizetype at) const
{
    const auto charAt = [&](qsizetype i) -> char16_t {
        return i >= 0 ? text[i].unicode() : i >= -TailSize ? m_tail[TailSize + i] : char16_t(0);
    };
    const auto is = [&](qsizetype i, char16_t lower) { return (charAt(i) | 0x20) == lower; };
    return is(at - 3, u'u') && is(at - 2, u'r') && is(at - 1, u'l') && !isNameChar(charAt(at - 4));
}

void CssTokenizer::rememberTail(QStringView text)
{
    // The last characters of the old tail followed by text.
    const qsizetype n = text.size();
    char16_t tail[TailSize];
    for (qsizetype i = 0; i < TailSize; ++i)
        tail[i] = n + i < TailSize ? m_tail[n + i] : text[n + i - TailSize].unicode();
    std::copy(tail, tail + TailSize, m_tail);
}
