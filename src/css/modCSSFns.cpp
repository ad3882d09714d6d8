#include "css/modCSSFns.h"

#include "css/modStr.h"
#include "support/VValues.h"

namespace {

// The text before the first separator; rest keeps what follows it.
QStringView takeUntil(QStringView &rest, QChar separator)
{
    const qsizetype at = rest.indexOf(separator);
    const QStringView before = at < 0 ? rest : rest.first(at);
    rest = at < 0 ? QStringView() : rest.sliced(at + 1);
    return before;
}

} // namespace

QString FormatDeclarations(const VValues &list)
{
    qsizetype length = 0;
    for (const Pair &pair : list)
        length += pair.Key().size() + pair.Value().size() + 2;
    QString result;
    result.reserve(length);
    for (const Pair &pair : list) {
        if (pair.Value().isEmpty())
            continue;
        if (!result.isEmpty()) // a written pair always holds ":", so empty means first
            result += u';';
        result += pair.Key();
        result += u':';
        result += pair.Value();
    }
    return result;
}

// Names and values stay views until they are stored, so a declaration costs
// only the strings it keeps. Add overwrites a present name in place.
void ParseDeclarations(VValues &list, QStringView text)
{
    QStringView rest = text;
    while (!rest.isEmpty()) {
        QStringView declaration = TrimSpaces(takeUntil(rest, u';'));
        const QStringView name = TrimSpaces(takeUntil(declaration, u':'));
        list.Add(TrimSpaces(declaration).toString(), name.toString());
    }
}
