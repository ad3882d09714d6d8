#pragma once

#include "support/VValues.h"

#include <QString>
#include <QStringList>

// Values written as "name:value;name:value", in list order; an empty value
// stays visible as "name:".
inline void fillValues(VValues &values, const QString &text)
{
    values.Clear();
    const QStringList pairs = text.split(u';', Qt::SkipEmptyParts);
    for (const QString &pair : pairs) {
        const qsizetype colon = pair.indexOf(u':');
        values.Add(pair.mid(colon + 1), pair.left(colon));
    }
}

inline QString valuesText(const VValues &values)
{
    QStringList pairs;
    for (const Pair &pair : values)
        pairs << pair.Key() + u':' + pair.Value();
    return pairs.join(u';');
}
