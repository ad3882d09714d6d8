#pragma once

#include "support/VValues.h"

#include <QStringList>

// "key = value", with "comment | " in front when the pair has one, and the
// trailing comment last as "end | comment".
inline QStringList pairsOf(const VValues &list)
{
    QStringList pairs;
    for (const Pair &pair : list) {
        const QString comment = pair.Comment().isEmpty() ? QString() : pair.Comment() + QStringLiteral(" | ");
        pairs << comment + pair.Key() + QStringLiteral(" = ") + pair.Value();
    }
    if (!list.TrailingComment().isEmpty())
        pairs << QStringLiteral("end | ") + list.TrailingComment();
    return pairs;
}
