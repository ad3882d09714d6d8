#pragma once

#include <QString>
#include <QStringList>

// Every CSS property name without a vendor prefix, sorted, lower case.
const QStringList &CssPropertyNames();

// True for a listed property, a custom property ("--x") or a vendor-prefixed
// one ("-webkit-x"); letter case does not matter.
bool IsKnownPropertyName(const QString &name);
