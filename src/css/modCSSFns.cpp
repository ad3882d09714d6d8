#include "css/modCSSFns.h"

#include "css/modStr.h"
#include "support/VValues.h"

namespace {

constexpr QStringView CommentOpen = u"/*";
constexpr QStringView CommentClose = u"*/";

// Finds separators outside comments in one text. A "/*" with no "*/" after it
// opens no comment; once none is left, the search for comments stops, which
// keeps a text full of unclosed openers linear.
class CommentAwareSearch
{
public:
    explicit CommentAwareSearch(QStringView text) : m_text(text) {}

    // The first separator at or after from outside comments, or -1.
    qsizetype find(QChar separator, qsizetype from)
    {
        for (;;) {
            const qsizetype at = m_text.indexOf(separator, from);
            if (at < 0 || !m_closesLeft)
                return at;
            const qsizetype open = commentOpenBefore(from, at);
            if (open < 0)
                return at;
            const qsizetype close = m_text.indexOf(CommentClose, open + CommentOpen.size());
            if (close < 0) {
                m_closesLeft = false;
                return at;
            }
            from = close + CommentClose.size();
        }
    }

private:
    // Hops over "/" with the vectorised character search.
    qsizetype commentOpenBefore(qsizetype from, qsizetype end) const
    {
        const QStringView span = m_text.first(end);
        for (qsizetype at = span.indexOf(u'/', from); at >= 0; at = span.indexOf(u'/', at + 1)) {
            if (at + 1 < end && span[at + 1] == u'*')
                return at;
        }
        return -1;
    }

    QStringView m_text;
    bool m_closesLeft = true;
};

// The length of the comments that open a declaration (the blanks between them
// included). Declarations end only outside comments, so a comment that closes
// at all closes within its declaration.
qsizetype leadingCommentsLength(QStringView declaration)
{
    qsizetype length = 0;
    qsizetype pos = 0;
    while (declaration.sliced(pos).startsWith(CommentOpen)) {
        const qsizetype close = declaration.indexOf(CommentClose, pos + CommentOpen.size());
        if (close < 0)
            break;
        length = close + CommentClose.size();
        pos = length;
        while (pos < declaration.size() && declaration[pos] == u' ')
            ++pos;
    }
    return length;
}

} // namespace

// Comments of pairs that are not written move on to the next written pair, or
// to the end, so a comment is never lost with its declaration.
QString FormatDeclarations(const VValues &list)
{
    qsizetype length = list.TrailingComment().size() + 1;
    for (const Pair &pair : list)
        length += pair.Comment().size() + pair.Key().size() + pair.Value().size() + 3;
    QString result;
    result.reserve(length);
    QString carried;
    for (const Pair &pair : list) {
        if (pair.Value().isEmpty()) {
            carried = JoinedComments(carried, pair.Comment());
            continue;
        }
        if (!result.isEmpty()) // a written pair always holds ":", so empty means first
            result += u';';
        const QString comment = JoinedComments(carried, pair.Comment());
        carried.clear();
        if (!comment.isEmpty()) {
            result += comment;
            result += u' ';
        }
        result += pair.Key();
        result += u':';
        result += pair.Value();
    }
    const QString trailing = JoinedComments(carried, list.TrailingComment());
    if (!trailing.isEmpty()) {
        if (!result.isEmpty())
            result += u';';
        result += trailing;
    }
    return result;
}

// Names and values stay views until they are stored, so a declaration costs
// only the strings it keeps.
void ParseDeclarations(VValues &list, QStringView text)
{
    CommentAwareSearch search(text);
    QString waiting; // comments standing alone, for the next declaration
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype end = search.find(u';', pos);
        QStringView declaration = TrimSpaces(text.sliced(pos, (end < 0 ? text.size() : end) - pos));
        pos = end < 0 ? text.size() : end + 1;

        const qsizetype commentLength = leadingCommentsLength(declaration);
        const QString comment = JoinedComments(waiting, declaration.first(commentLength).toString());
        declaration = TrimSpaces(declaration.sliced(commentLength));
        if (declaration.isEmpty() && commentLength > 0) {
            waiting = comment;
            continue;
        }
        waiting.clear();

        const qsizetype colon = CommentAwareSearch(declaration).find(u':', 0);
        const QStringView name = TrimSpaces(colon < 0 ? declaration : declaration.first(colon));
        const QStringView value = colon < 0 ? QStringView() : TrimSpaces(declaration.sliced(colon + 1));
        // A repeated name is a fallback chain; every declaration stays.
        list.Append(value.toString(), name.toString()).SetComment(comment);
    }
    if (!waiting.isEmpty())
        list.SetTrailingComment(JoinedComments(list.TrailingComment(), waiting));
}
