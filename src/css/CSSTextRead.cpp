#include "css/CSSTextRead.h"

#include "css/CharSearch.h"

#include <QtAlgorithms>

#include <algorithm>
#include <initializer_list>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Which line breaks read as a blank: CR LF only, as in text pasted, or every
// one of a file's, CR LF, LF or a lone CR.
enum class Breaks { CrLf, Any };

// raw without the TABs, spaces and line breaks at its ends, which normalising
// would turn into outer blanks. CR LF pairs never overlap, so pairs found from
// either end are the ones a left-to-right reading finds.
QStringView trimmedRaw(QStringView raw, Breaks breaks = Breaks::CrLf)
{
    const auto isOuter = [breaks](QChar c) {
        return c == u' ' || c == u'\t' || (breaks == Breaks::Any && (c == u'\r' || c == u'\n'));
    };
    qsizetype begin = 0;
    qsizetype end = raw.size();
    while (begin < end) {
        if (isOuter(raw[begin]))
            ++begin;
        else if (raw[begin] == u'\r' && begin + 1 < end && raw[begin + 1] == u'\n')
            begin += 2;
        else
            break;
    }
    while (end > begin) {
        if (isOuter(raw[end - 1]))
            --end;
        else if (raw[end - 1] == u'\n' && end - 2 >= begin && raw[end - 2] == u'\r')
            end -= 2;
        else
            break;
    }
    return raw.sliced(begin, end - begin);
}

// TABs and line breaks become spaces, then the outer spaces go; a CR LF pair is
// one space. Inner runs of spaces are kept. One pass, and no allocation once
// out is large enough: every rule's two texts go through here.
QStringView normalised(QStringView raw, QString &out, Breaks breaks)
{
    raw = trimmedRaw(raw, breaks);
    // Minified text has nothing to change: it is handed on as it stands.
    const qsizetype unchanged =
        FindAnyOf(raw, 0, u'\t', u'\r', breaks == Breaks::Any ? u'\n' : u'\r');
    if (unchanged == raw.size())
        return raw;
    if (out.size() < raw.size())
        out.resize(raw.size());
    char16_t *const first = reinterpret_cast<char16_t *>(out.data());
    std::copy(raw.utf16(), raw.utf16() + unchanged, first);
    char16_t *dst = first + unchanged;
    const char16_t *src = raw.utf16() + unchanged;
    const char16_t *const end = raw.utf16() + raw.size();
#if defined(__SSE2__)
    const __m128i tab = _mm_set1_epi16(u'\t');
    const __m128i cr = _mm_set1_epi16(u'\r');
    const __m128i lf = _mm_set1_epi16(breaks == Breaks::Any ? u'\n' : u'\r');
    const __m128i tabToSpace = _mm_set1_epi16(u' ' - u'\t');
#endif
    while (src < end) {
#if defined(__SSE2__)
        // Eight characters at a time; a block holding a line break is written
        // up to it, and the break is then read on its own.
        if (end - src >= 8) {
            __m128i chars = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src));
            const uint found = uint(_mm_movemask_epi8(
                _mm_or_si128(_mm_cmpeq_epi16(chars, cr), _mm_cmpeq_epi16(chars, lf))));
            chars = _mm_add_epi16(chars, _mm_and_si128(_mm_cmpeq_epi16(chars, tab), tabToSpace));
            _mm_storeu_si128(reinterpret_cast<__m128i *>(dst), chars);
            const int at = found == 0 ? 8 : qCountTrailingZeroBits(found) / 2;
            src += at;
            dst += at;
            if (found == 0)
                continue;
        }
#endif
        char16_t c = *src++;
        if (c == u'\t') {
            c = u' ';
        } else if (c == u'\r' && src < end && *src == u'\n') {
            c = u' ';
            ++src;
        } else if (breaks == Breaks::Any && (c == u'\r' || c == u'\n')) {
            c = u' ';
        }
        *dst++ = c;
    }
    return QStringView(first, dst);
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f';
}

QStringView withoutLeadingBlanks(QStringView text)
{
    qsizetype begin = 0;
    while (begin < text.size() && isBlank(text[begin]))
        ++begin;
    return text.sliced(begin);
}

QString withoutOuterBlanks(QStringView text)
{
    const auto first = std::find_if_not(text.cbegin(), text.cend(), isBlank);
    const auto last = std::find_if_not(text.crbegin(), text.crend(), isBlank).base();
    return first < last ? QStringView(first, last).toString() : QString();
}

// Whether the last character other than a blank is a backslash escaping
// nothing: what is written after the text must not come right after it.
bool endsInBackslash(QStringView text)
{
    qsizetype end = text.size();
    while (end > 0 && isBlank(text[end - 1]))
        --end;
    qsizetype backslashes = 0;
    while (end - backslashes > 0 && text[end - backslashes - 1] == u'\\')
        ++backslashes;
    return backslashes % 2 == 1;
}

// Whether a line break ends a string in text.
bool holdsBrokenString(QStringView text)
{
    CssTokenizer tokens;
    tokens.walk(text, [](CssTokenizer::Found) {});
    return tokens.brokenStrings() > 0;
}

// Whether text ends inside a string: the line break after it must stay.
bool endsInString(QStringView text)
{
    CssTokenizer tokens;
    tokens.walk(text, [](CssTokenizer::Found) {});
    return tokens.inString();
}

// Text holding a string that a line break ended, or ending in a backslash
// that escapes nothing, as it was read: where what is written after it would
// join the string or the escape, the blanks up to the line break that ends
// the string, or the blank after the backslash, stay.
QStringView keptAsRead(QStringView raw)
{
    raw = withoutLeadingBlanks(raw);
    qsizetype end = raw.size();
    while (end > 0 && isBlank(raw[end - 1]))
        --end;
    const QStringView text = raw.first(end);
    qsizetype keep = end;
    if (endsInString(text)) {
        while (keep < raw.size() && raw[keep] != u'\r' && raw[keep] != u'\n' && raw[keep] != u'\f')
            ++keep;
    } else if (!endsInBackslash(text)) {
        return text;
    }
    if (keep < raw.size())
        keep += raw.sliced(keep).startsWith(u"\r\n") ? 2 : 1;
    return raw.first(keep);
}

bool holdsText(QStringView text)
{
    return !withoutLeadingBlanks(text).isEmpty();
}

// The first character other than a blank of first followed by second.
QChar firstCharOf(QStringView first, QStringView second)
{
    const QStringView head = withoutLeadingBlanks(first);
    if (!head.isEmpty())
        return head.front();
    const QStringView tail = withoutLeadingBlanks(second);
    return tail.isEmpty() ? QChar() : tail.front();
}

// What an at-rule is, by its name, "@media" or "@-webkit-keyframes".
enum class AtRule { Group, Declarations, Statement, Other };

AtRule atRuleKind(QStringView prelude)
{
    prelude = withoutLeadingBlanks(prelude);
    qsizetype end = 1;
    while (end < prelude.size()
           && (prelude[end].isLetterOrNumber() || prelude[end] == u'-' || prelude[end] == u'_'))
        ++end;
    QStringView name = prelude.sliced(1, end - 1);
    // A vendor's form, "-webkit-keyframes", is read as the standard one.
    if (name.startsWith(u'-')) {
        const qsizetype dash = name.indexOf(u'-', 1);
        if (dash > 0)
            name = name.sliced(dash + 1);
    }
    const auto isOneOf = [name](std::initializer_list<const char16_t *> names) {
        return std::any_of(names.begin(), names.end(), [name](const char16_t *known) {
            return name.compare(QStringView(known), Qt::CaseInsensitive) == 0;
        });
    };
    if (isOneOf({u"media", u"supports", u"container", u"layer", u"scope", u"starting-style",
                 u"document", u"keyframes"}))
        return AtRule::Group;
    if (isOneOf({u"font-face", u"page", u"property", u"counter-style", u"font-palette-values"}))
        return AtRule::Declarations;
    if (isOneOf({u"charset", u"import", u"namespace", u"layer"}))
        return AtRule::Statement;
    return AtRule::Other;
}

// Where the declarations in front of a nested rule end: the last ";" outside
// strings, comments and brackets, or -1.
qsizetype lastSemicolon(QStringView body)
{
    CssTokenizer tokens(CssTokenizer::Semicolons);
    qsizetype last = -1;
    tokens.walk(body, [&last](CssTokenizer::Found found) {
        if (found.stop == CssTokenizer::Stop::Semicolon)
            last = found.pos;
    });
    return last;
}

// The comments of text when nothing else stands there but blanks.
bool commentsOnly(QStringView text, QStringList &comments)
{
    CssTokenizer tokens;
    qsizetype from = 0;
    qsizetype start = 0;
    bool onlyBlanksBetween = true;
    tokens.walk(text, [&](CssTokenizer::Found found) {
        if (found.stop == CssTokenizer::Stop::CommentOpen) {
            onlyBlanksBetween = onlyBlanksBetween && !holdsText(text.sliced(from, found.pos - from));
            start = found.pos + 2;
        } else if (found.stop == CssTokenizer::Stop::CommentClose) {
            comments << text.sliced(start, found.pos - 2 - start).toString();
            from = found.pos;
        }
    });
    return onlyBlanksBetween && !tokens.inComment() && !holdsText(text.sliced(from));
}

// "--name:" opens a custom property, whose value may be a "{…}" block.
bool startsCustomProperty(QStringView text)
{
    text = withoutLeadingBlanks(text);
    return text.startsWith(u"--") && text.contains(u':');
}

} // namespace

CSSTextRead::CSSTextRead(QObject *parent)
    : QObject(parent)
{
}

QStringView CSSTextRead::normalisedText(QStringView raw, QString &out, bool broken) const
{
    if (broken || endsInBackslash(raw))
        return keptAsRead(raw);
    return normalised(raw, out, m_fileLines ? Breaks::Any : Breaks::CrLf);
}

bool CSSTextRead::brokenSince(int mark) const
{
    return m_tokens.brokenStrings() != mark;
}

void CSSTextRead::clearSelector()
{
    m_selector.resize(0);
    m_selectorEnd = QStringView();
    m_selectorBreaks = m_tokens.brokenStrings();
}

void CSSTextRead::startBody()
{
    m_body.resize(0);
    m_bodyBreaks = m_tokens.brokenStrings();
}

void CSSTextRead::emitDeclarations(QStringView stretch, bool broken)
{
    if (!holdsText(stretch))
        return;
    // Comments standing alone between nested rules belong to the entries.
    QStringList comments;
    if (commentsOnly(stretch, comments)) {
        for (const QString &comment : comments)
            emit FindRemText(comment);
        return;
    }
    emit FindDeclarations(normalisedText(stretch, m_declarationsOut, broken));
}

void CSSTextRead::Clear()
{
    m_tokens.reset();
    m_frames.clear();
    m_inComment = false;
    m_verbatimDepth = 0;
    m_selectorEnd = QStringView();
    m_from = 0;
    m_selector.clear();
    m_body.clear();
    m_comment.clear();
    m_verbatim.clear();
    m_fileLines = false;
    m_selectorBreaks = m_bodyBreaks = 0;
    m_selectorBroken = false;
}

QString CSSTextRead::unfinishedText() const
{
    QString text;
    if (!m_frames.empty() && m_frames.front() == Frame::Verbatim) {
        text = m_verbatim;
    } else {
        text = m_selector;
        if (!m_frames.empty())
            text.append(u'{').append(m_body);
        else if (m_inComment)
            text.append(QStringLiteral("/*")).append(m_comment);
    }
    return withoutOuterBlanks(text);
}

void CSSTextRead::AddData(QStringView text)
{
    m_from = 0;
    qsizetype pos = 0;
    for (;;) {
        // A ";" matters only where it may end an at-rule statement.
        const bool outside = m_frames.empty() || m_frames.back() == Frame::Group;
        m_tokens.setReport(outside && !m_inComment ? CssTokenizer::Semicolons : CssTokenizer::Braces);
        const CssTokenizer::Found found = m_tokens.next(text, pos);
        if (found.stop == CssTokenizer::Stop::None) {
            keepRest(text);
            break;
        }
        pos = found.after();
        if (m_inComment)
            readComment(text, found);
        else if (outside)
            readOutside(text, found);
        else if (m_frames.back() == Frame::Verbatim)
            readVerbatim(text, found);
        else
            readBody(text, found);
    }
}

// The piece's text is gone after this call: what is unfinished is copied.
void CSSTextRead::keepRest(QStringView text)
{
    const QStringView rest = text.sliced(m_from);
    m_selector.append(m_selectorEnd);
    m_selectorEnd = QStringView();
    if (m_inComment)
        m_comment.append(rest);
    else if (m_frames.empty() || m_frames.back() == Frame::Group)
        m_selector.append(rest);
    else if (m_frames.back() == Frame::Verbatim)
        m_verbatim.append(rest);
    else
        m_body.append(rest);
    m_from = 0;
}

QStringView CSSTextRead::gatheredUpTo(QString &buffer, QStringView text, qsizetype end)
{
    const QStringView piece = text.sliced(m_from, end - m_from);
    if (buffer.isEmpty())
        return piece;
    m_from = end;
    return buffer.append(piece);
}

QStringView CSSTextRead::selectorText()
{
    if (m_selector.isEmpty())
        return m_selectorEnd;
    m_selector.append(std::exchange(m_selectorEnd, QStringView()));
    return m_selector;
}

void CSSTextRead::readOutside(QStringView text, CssTokenizer::Found found)
{
    switch (found.stop) {
    case CssTokenizer::Stop::CommentOpen:
        if (found.pos < 0)
            m_selector.chop(1); // the "/" ended the last piece
        else
            m_selector.append(text.sliced(m_from, found.pos - m_from));
        m_inComment = true;
        m_from = found.pos + 2;
        break;
    case CssTokenizer::Stop::Semicolon:
        // Only an at-rule ends at ";"; in a selector it is text like any other.
        if (firstCharOf(m_selector, text.sliced(m_from, found.pos - m_from)) == u'@') {
            finishAtStatement(gatheredUpTo(m_selector, text, found.pos));
            m_from = found.pos + 1;
        }
        break;
    case CssTokenizer::Stop::BlockOpen:
        m_selectorEnd = text.sliced(m_from, found.pos - m_from);
        m_from = found.pos + 1;
        openBlock();
        break;
    case CssTokenizer::Stop::BlockClose:
        closeGroup(gatheredUpTo(m_selector, text, found.pos));
        m_from = found.pos + 1;
        break;
    default:
        break;
    }
}

void CSSTextRead::readComment(QStringView text, CssTokenizer::Found found)
{
    if (found.stop != CssTokenizer::Stop::CommentClose)
        return;
    const qsizetype end = found.pos - 2;
    QString comment;
    if (end < m_from) // the "*" ended the last piece
        comment = std::exchange(m_comment, QString()).chopped(m_from - end);
    else if (m_comment.isEmpty())
        comment = text.sliced(m_from, end - m_from).toString();
    else
        comment = std::exchange(m_comment, QString()).append(text.sliced(m_from, end - m_from));
    m_inComment = false;
    m_from = found.pos;
    emit FindRemText(comment);
}

void CSSTextRead::readBody(QStringView text, CssTokenizer::Found found)
{
    if (found.stop == CssTokenizer::Stop::BlockOpen) {
        if (m_frames.back() == Frame::Value) {
            m_frames.push_back(Frame::Value);
            return;
        }
        const QStringView body = gatheredUpTo(m_body, text, found.pos);
        const qsizetype declarationsEnd = lastSemicolon(body);
        if (startsCustomProperty(body.sliced(declarationsEnd + 1))) {
            m_frames.push_back(Frame::Value); // the "{" stays body text
            return;
        }
        openNestedEntry(body, declarationsEnd);
        m_from = found.pos + 1;
    } else if (found.stop == CssTokenizer::Stop::BlockClose) {
        if (m_frames.back() == Frame::Value) {
            m_frames.pop_back();
            return;
        }
        closeRule(gatheredUpTo(m_body, text, found.pos));
        m_from = found.pos + 1;
    }
}

void CSSTextRead::readVerbatim(QStringView text, CssTokenizer::Found found)
{
    if (found.stop == CssTokenizer::Stop::BlockOpen) {
        ++m_verbatimDepth;
    } else if (found.stop == CssTokenizer::Stop::BlockClose && --m_verbatimDepth == 0) {
        m_verbatim.append(text.sliced(m_from, found.pos + 1 - m_from));
        m_from = found.pos + 1;
        m_frames.pop_back();
        const QString unknown = std::exchange(m_verbatim, QString());
        emit FindUnknown(unknown);
        clearSelector();
        m_bodyBreaks = m_tokens.brokenStrings();
    }
}

void CSSTextRead::openBlock()
{
    m_selectorBroken = brokenSince(m_selectorBreaks);
    m_bodyBreaks = m_tokens.brokenStrings();
    AtRule kind = AtRule::Declarations; // a style rule reads as one holding declarations
    if (firstCharOf(m_selector, m_selectorEnd) == u'@')
        kind = atRuleKind(selectorText());
    if (kind == AtRule::Declarations) {
        m_frames.push_back(Frame::Rule); // the selector stays pending until the body ends
    } else if (kind == AtRule::Group) {
        m_frames.push_back(Frame::Group);
        emit BlockStarted(normalisedText(selectorText(), m_selectorOut, m_selectorBroken), false);
        clearSelector();
    } else {
        openVerbatim(selectorText());
        clearSelector();
    }
}

void CSSTextRead::openVerbatim(QStringView prelude)
{
    m_verbatim = withoutLeadingBlanks(prelude).toString() + u'{';
    m_verbatimDepth = 1;
    m_frames.push_back(Frame::Verbatim);
}

void CSSTextRead::finishAtStatement(QStringView statement)
{
    const bool known = atRuleKind(statement) == AtRule::Statement;
    QString unknown;
    QStringView text;
    if (known)
        text = normalisedText(statement, m_selectorOut, brokenSince(m_selectorBreaks));
    else
        text = unknown = keptAsRead(statement).toString() + u';';
    if (known)
        emit FindStatement(text);
    else
        emit FindUnknown(text);
    clearSelector();
}

void CSSTextRead::openNestedEntry(QStringView body, qsizetype declarationsEnd)
{
    announceNesting();
    // A string broken in the body lies in the declarations or in the prelude.
    const bool broken = brokenSince(m_bodyBreaks);
    const QStringView declarations = body.first(qMax<qsizetype>(declarationsEnd, 0));
    emitDeclarations(declarations, broken && holdsBrokenString(declarations));
    const QStringView prelude = body.sliced(declarationsEnd + 1);
    if (firstCharOf(prelude, {}) == u'@' && atRuleKind(prelude) == AtRule::Other) {
        openVerbatim(prelude);
    } else {
        m_selectorBroken = broken && holdsBrokenString(prelude);
        takePrelude(prelude);
        m_frames.push_back(Frame::Rule);
    }
    startBody();
}

void CSSTextRead::announceNesting()
{
    if (m_frames.back() != Frame::Rule)
        return;
    m_frames.back() = Frame::NestingRule;
    emit BlockStarted(normalisedText(selectorText(), m_selectorOut, m_selectorBroken), true);
    m_selector.resize(0);
    m_selectorEnd = QStringView();
}

void CSSTextRead::takePrelude(QStringView prelude)
{
    const QString text = prelude.toString(); // the body it stands in is reused
    m_selector.resize(0);
    CssTokenizer tokens;
    qsizetype from = 0;
    tokens.walk(text, [&](CssTokenizer::Found found) {
        if (found.stop == CssTokenizer::Stop::CommentOpen) {
            m_selector.append(QStringView(text).sliced(from, found.pos - from));
            from = found.pos + 2;
        } else if (found.stop == CssTokenizer::Stop::CommentClose) {
            const QString comment = text.sliced(from, found.pos - 2 - from);
            from = found.pos;
            emit FindRemText(comment);
        }
    });
    m_selector.append(QStringView(text).sliced(from));
}

void CSSTextRead::closeRule(QStringView body)
{
    const Frame frame = m_frames.back();
    m_frames.pop_back();
    if (frame == Frame::Rule) {
        const QStringView selector = normalisedText(selectorText(), m_selectorOut, m_selectorBroken);
        emit FindSelector(selector, normalisedText(body, m_declarationsOut, brokenSince(m_bodyBreaks)));
    } else {
        emitDeclarations(body, brokenSince(m_bodyBreaks));
        emit BlockEnded();
    }
    clearSelector();
    startBody();
}

// A "}" where entries are listed ends the group, or stands alone at the top.
void CSSTextRead::closeGroup(QStringView pending)
{
    if (m_frames.empty()) {
        const QString stray = withoutLeadingBlanks(pending).toString() + u'}';
        clearSelector();
        emit FindUnknown(stray);
        return;
    }
    m_frames.pop_back();
    if (holdsText(pending)) {
        const QString unfinished = keptAsRead(pending).toString();
        clearSelector();
        emit FindUnknown(unfinished);
    }
    clearSelector();
    emit BlockEnded();
}

void CSSTextRead::Finish()
{
    const auto closesAtTop = [this] {
        return m_frames.size() == 1 && (m_frames.front() == Frame::Rule || m_frames.front() == Frame::Verbatim);
    };
    while (!m_frames.empty() && m_frames.back() == Frame::Value && !closesAtTop())
        m_frames.pop_back();
    while (!m_frames.empty() && !closesAtTop()) {
        const Frame frame = m_frames.back();
        if (frame == Frame::Group || frame == Frame::NestingRule) {
            if (m_inComment) {
                m_selector.append(QStringLiteral("/*")).append(m_comment);
                m_comment.clear();
                m_inComment = false;
            }
            if (frame == Frame::Group)
                closeGroup(m_selector);
            else
                closeRule(QString(m_body));
            continue;
        }
        // An unfinished rule or unknown block inside a block: kept as text.
        const QString text = keptAsRead(frame == Frame::Verbatim ? m_verbatim
                                                                 : selectorText().toString() + u'{' + m_body)
                                 .toString();
        m_frames.pop_back();
        m_body.resize(0);
        m_selector.resize(0);
        m_verbatim.clear();
        if (!text.isEmpty())
            emit FindUnknown(text);
    }
}
