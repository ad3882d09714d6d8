#include "css/CSSTextRead.h"

#include "css/modStr.h"

#include <utility>

namespace {

constexpr QStringView RuleOpen = u"{";
constexpr char16_t RuleClose = u'}';
constexpr QStringView CommentOpen = u"/*";
constexpr QStringView CommentClose = u"*/";

// The tokens hold no letters, so an exact search finds what a case-blind one
// would. Hopping between occurrences of the first character uses the vectorised
// character search, much quicker than a general substring search.
qsizetype findToken(QStringView text, QStringView token, qsizetype from)
{
    for (qsizetype at = text.indexOf(token.front(), from); at >= 0;
         at = text.indexOf(token.front(), at + 1)) {
        if (text.sliced(at).startsWith(token))
            return at;
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

// TABs and CR LF pairs become spaces, then the outer spaces go. A lone CR or LF
// stays, and inner runs of spaces are kept.
QString normalised(QStringView raw)
{
    QString out = raw.toString();
    out.replace(u'\t', u' ');
    if (out.contains(u'\r'))
        out.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    const QStringView kept = TrimSpaces(out);
    if (kept.size() == out.size())
        return out;
    const qsizetype lead = kept.data() - out.constData();
    out.truncate(lead + kept.size());
    out.remove(0, lead);
    return out;
}

} // namespace

CSSTextRead::CSSTextRead(QObject *parent)
    : QObject(parent)
{
}

void CSSTextRead::Clear()
{
    m_mode = Outside;
    m_selector.clear();
    m_body.clear();
    m_comment.clear();
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
}

qsizetype CSSTextRead::readOutside(QStringView text, qsizetype pos, qsizetype ruleOpen,
                                   qsizetype commentOpen)
{
    if (ruleOpen < 0 && commentOpen < 0) {
        m_selector.append(text.sliced(pos));
        return text.size();
    }
    if (ruleOpen >= 0 && (commentOpen < 0 || ruleOpen < commentOpen)) {
        m_selector.append(text.sliced(pos, ruleOpen - pos));
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
    m_body.append(text.sliced(pos, close - pos));
    finishRule();
    return close + 1;
}

qsizetype CSSTextRead::readComment(QStringView text, qsizetype pos)
{
    const qsizetype close = findToken(text, CommentClose, pos);
    if (close < 0) {
        m_comment.append(text.sliced(pos));
        return text.size();
    }
    m_comment.append(text.sliced(pos, close - pos));
    const QString comment = std::exchange(m_comment, QString());
    m_mode = Outside;
    emit FindRemText(comment);
    return close + CommentClose.size();
}

void CSSTextRead::finishRule()
{
    const QString selector = normalised(m_selector);
    const QString declarations = normalised(m_body);
    // The reader is consistent before the signal, so a handler may use it.
    m_selector.resize(0);
    m_body.resize(0);
    m_mode = Outside;
    emit FindSelector(selector, declarations);
}

QString CSSTextRead::unfinishedText() const
{
    QString text = m_selector;
    if (m_mode == InRule)
        text += u'{' + m_body;
    else if (m_mode == InComment)
        text += QStringLiteral("/*") + m_comment;
    qsizetype start = 0;
    qsizetype end = text.size();
    const auto isBlank = [](QChar c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; };
    while (start < end && isBlank(text[start]))
        ++start;
    while (end > start && isBlank(text[end - 1]))
        --end;
    return text.sliced(start, end - start);
}
