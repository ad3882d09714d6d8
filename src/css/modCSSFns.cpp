#include "css/modCSSFns.h"

#include "css/modStr.h"
#include "support/VValues.h"

QString FormatDeclarations(const VValues &list)
{
    QString result;
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

void ParseDeclarations(VValues &list, QStringView text)
{
    QStringView rest = text;
    while (!rest.isEmpty()) {
        QStringView declaration = TrimSpaces(TakeUntil(rest, u";"));
        const QString name = TrimSpaces(TakeUntil(declaration, u":")).toString();
        const QString value = TrimSpaces(declaration).toString();
        if (Pair *present = list.Find(name))
            present->SetValue(value);
        else
            list.Add(value, name);
    }
}
