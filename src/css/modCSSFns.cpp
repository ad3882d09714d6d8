#include "css/modCSSFns.h"

#include "css/CssTokenizer.h"
#include "css/modStr.h"
#include "support/VValues.h"

namespace {

constexpr QStringView CommentOpen = u"/*";
constexpr QStringView CommentClose = u"*/";

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
    // ";" and ":" count only outside strings, comments, url() and brackets;
    // a custom property's "{…}" value is one block too.
    CssTokenizer tokens(CssTokenizer::Semicolons | CssTokenizer::Colons, true);
    QString waiting; // comments standing alone, for the next declaration
    qsizetype pos = 0;
    CssTokenizer::Found found;
    while (pos < text.size()) {
        qsizetype colon = -1; // the declaration's first ":"
        do {
            found = tokens.next(text, found.stop == CssTokenizer::Stop::None ? pos : found.after());
            if (found.stop == CssTokenizer::Stop::Colon && colon < 0)
                colon = found.pos;
        } while (found.stop != CssTokenizer::Stop::None && found.stop != CssTokenizer::Stop::Semicolon);
        const qsizetype end = found.stop == CssTokenizer::Stop::None ? text.size() : found.pos;
        QStringView declaration = TrimSpaces(text.sliced(pos, end - pos));
        pos = found.stop == CssTokenizer::Stop::None ? text.size() : end + 1;
        found = {};

        const qsizetype commentLength = leadingCommentsLength(declaration);
        // Most declarations have no comment: no string is made for them.
        const QString comment = commentLength == 0 && waiting.isEmpty()
            ? QString()
            : JoinedComments(waiting, declaration.first(commentLength).toString());
        declaration = TrimSpaces(declaration.sliced(commentLength));
        if (declaration.isEmpty() && commentLength > 0) {
            waiting = comment;
            continue;
        }
        waiting.clear();

        if (colon >= 0)
            colon -= declaration.data() - text.data();
        const QStringView name = TrimSpaces(colon < 0 ? declaration : declaration.first(colon));
        const QStringView value = colon < 0 ? QStringView() : TrimSpaces(declaration.sliced(colon + 1));
        // A repeated name is a fallback chain; every declaration stays.
        list.Append(value.toString(), name.toString()).SetComment(comment);
    }
    if (!waiting.isEmpty())
        list.SetTrailingComment(JoinedComments(list.TrailingComment(), waiting));
}

bool StaysInDeclaration(QStringView name, QStringView value)
{
    CssTokenizer tokens(CssTokenizer::Braces, TrimSpaces(name).startsWith(u"--"));
    // Any stop at all is a brace or a comment outside strings and brackets.
    return tokens.next(value, 0).stop == CssTokenizer::Stop::None && tokens.atTopLevel();
}
