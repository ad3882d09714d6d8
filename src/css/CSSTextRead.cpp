#include "css/CSSTextRead.h"

#include <QtAlgorithms>

#include <algorithm>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr QStringView RuleOpen = u"{";
constexpr char16_t RuleClose = u'}';
constexpr QStringView CommentOpen = u"/*";
constexpr QStringView CommentClose = u"*/";

// The first "{", "/*" or "*/" at or after from, or -1. A pair is tried at eight
// places at once: hopping from one "*" to the next, as a search for the first
// character would, costs a call per star of a comment's decoration.
qsizetype findToken(QStringView text, QStringView token, qsizetype from)
{
    if (token.size() == 1)
        return text.indexOf(token.front(), from);
    if (text.size() - from < 2)
        return -1;
    const char16_t *const begin = text.utf16();
    const char16_t *const last = begin + text.size() - 1; // no pair starts at the last character
    const char16_t *p = begin + from;
#if defined(__SSE2__)
    const __m128i first = _mm_set1_epi16(short(token[0].unicode()));
    const __m128i second = _mm_set1_epi16(short(token[1].unicode()));
    for (; last - p >= 8; p += 8) {
        const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + 1));
        const int found = _mm_movemask_epi8(
            _mm_and_si128(_mm_cmpeq_epi16(here, first), _mm_cmpeq_epi16(next, second)));
        if (found != 0)
            return (p - begin) + qCountTrailingZeroBits(uint(found)) / 2;
    }
#endif
    for (; p < last; ++p) {
        if (p[0] == token[0] && p[1] == token[1])
            return p - begin;
    }
    return -1;
}

// The next occurrence of a token at or after the reading position, remembered
// until reading passes it. Searching afresh from every position to the end
// would make a piece with many rules and few comments cost quadratic time.
class TokenScout
{
public:
    TokenScout(QStringView text, QStringView token) : m_text(text), m_token(token) {}

    qsizetype nextFrom(qsizetype pos)
    {
        if (m_at == NotSearched || (m_at >= 0 && m_at < pos))
            m_at = findToken(m_text, m_token, pos);
        return m_at;
    }

private:
    static constexpr qsizetype NotSearched = -2;

    QStringView m_text;
    QStringView m_token;
    qsizetype m_at = NotSearched;
};

// raw without the TABs, spaces and CR LF pairs at its ends, which normalising
// would turn into outer blanks. CR LF pairs never overlap, so pairs found from
// either end are the ones a left-to-right reading finds.
QStringView trimmedRaw(QStringView raw)
{
    qsizetype begin = 0;
    qsizetype end = raw.size();
    while (begin < end) {
        if (raw[begin] == u' ' || raw[begin] == u'\t')
            ++begin;
        else if (raw[begin] == u'\r' && begin + 1 < end && raw[begin + 1] == u'\n')
            begin += 2;
        else
            break;
    }
    while (end > begin) {
        if (raw[end - 1] == u' ' || raw[end - 1] == u'\t')
            --end;
        else if (raw[end - 1] == u'\n' && end - 2 >= begin && raw[end - 2] == u'\r')
            end -= 2;
        else
            break;
    }
    return raw.sliced(begin, end - begin);
}

// TABs and CR LF pairs become spaces, then the outer spaces go. A lone CR or LF
// stays, and inner runs of spaces are kept. One pass, and no allocation once
// out is large enough: every rule's two texts go through here.
QStringView normalised(QStringView raw, QString &out)
{
    raw = trimmedRaw(raw);
    if (out.size() < raw.size())
        out.resize(raw.size());
    char16_t *const first = reinterpret_cast<char16_t *>(out.data());
    char16_t *dst = first;
    const char16_t *src = raw.utf16();
    const char16_t *const end = src + raw.size();
#if defined(__SSE2__)
    const __m128i tab = _mm_set1_epi16(u'\t');
    const __m128i cr = _mm_set1_epi16(u'\r');
    const __m128i tabToSpace = _mm_set1_epi16(u' ' - u'\t');
#endif
    while (src < end) {
#if defined(__SSE2__)
        // Eight characters at a time while no CR needs a look at its neighbour.
        if (end - src >= 8) {
            __m128i chars = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src));
            if (_mm_movemask_epi8(_mm_cmpeq_epi16(chars, cr)) == 0) {
                chars = _mm_add_epi16(chars, _mm_and_si128(_mm_cmpeq_epi16(chars, tab), tabToSpace));
                _mm_storeu_si128(reinterpret_cast<__m128i *>(dst), chars);
                src += 8;
                dst += 8;
                continue;
            }
        }
#endif
        char16_t c = *src++;
        if (c == u'\t') {
            c = u' ';
        } else if (c == u'\r' && src < end && *src == u'\n') {
            c = u' ';
            ++src;
        }
        *dst++ = c;
    }
    return QStringView(first, dst);
}

} // namespace

CSSTextRead::CSSTextRead(QObject *parent)
    : QObject(parent)
{
}

void CSSTextRead::Clear()
{
    m_mode = Outside;
    m_selectorEnd = QStringView();
    m_selector.clear();
    m_body.clear();
    m_comment.clear();
}

QString CSSTextRead::unfinishedText() const
{
    QString text = m_selector;
    if (m_mode == InRule)
        text.append(RuleOpen).append(m_body);
    else if (m_mode == InComment)
        text.append(CommentOpen).append(m_comment);
    const auto isBlank = [](QChar c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; };
    const auto first = std::find_if_not(text.cbegin(), text.cend(), isBlank);
    const auto last = std::find_if_not(text.crbegin(), text.crend(), isBlank).base();
    return first < last ? QString(first, last - first) : QString();
}

void CSSTextRead::AddData(QStringView text)
{
    TokenScout ruleOpen(text, RuleOpen);
    TokenScout commentOpen(text, CommentOpen);
    qsizetype pos = 0;
    while (pos < text.size()) {
        switch (m_mode) {
        case Outside:
            pos = readOutside(text, pos, ruleOpen.nextFrom(pos), commentOpen.nextFrom(pos));
            break;
        case InRule:
            pos = readRule(text, pos);
            break;
        case InComment:
            pos = readComment(text, pos);
            break;
        }
    }
    // The rule goes on in the next piece, and this piece's text is gone by then.
    m_selector.append(m_selectorEnd);
    m_selectorEnd = QStringView();
}

qsizetype CSSTextRead::readOutside(QStringView text, qsizetype pos, qsizetype ruleOpen,
                                   qsizetype commentOpen)
{
    if (ruleOpen < 0 && commentOpen < 0) {
        m_selector.append(text.sliced(pos));
        return text.size();
    }
    if (ruleOpen >= 0 && (commentOpen < 0 || ruleOpen < commentOpen)) {
        m_selectorEnd = text.sliced(pos, ruleOpen - pos);
        m_mode = InRule;
        return ruleOpen + 1;
    }
    m_selector.append(text.sliced(pos, commentOpen - pos));
    m_mode = InComment;
    return commentOpen + CommentOpen.size();
}

qsizetype CSSTextRead::readRule(QStringView text, qsizetype pos)
{
    const qsizetype close = text.indexOf(QChar(RuleClose), pos);
    if (close < 0) {
        m_body.append(text.sliced(pos));
        return text.size();
    }
    finishRule(text.sliced(pos, close - pos));
    return close + 1;
}

qsizetype CSSTextRead::readComment(QStringView text, qsizetype pos)
{
    const qsizetype close = findToken(text, CommentClose, pos);
    if (close < 0) {
        m_comment.append(text.sliced(pos));
        return text.size();
    }
    const QStringView end = text.sliced(pos, close - pos);
    const QString comment = m_comment.isEmpty() ? end.toString()
                                                : std::exchange(m_comment, QString()).append(end);
    m_mode = Outside;
    emit FindRemText(comment);
    return close + CommentClose.size();
}

// Text split over pieces is joined in the buffers first; a rule read within one
// piece is normalised straight from it.
void CSSTextRead::finishRule(QStringView bodyEnd)
{
    const QStringView selector = normalised(
        m_selector.isEmpty() ? m_selectorEnd : QStringView(m_selector.append(m_selectorEnd)),
        m_selectorOut);
    const QStringView declarations = normalised(
        m_body.isEmpty() ? bodyEnd : QStringView(m_body.append(bodyEnd)), m_declarationsOut);
    // The reader is consistent before the signal, so a handler may use it.
    m_selectorEnd = QStringView();
    m_selector.resize(0);
    m_body.resize(0);
    m_mode = Outside;
    emit FindSelector(selector, declarations);
}
