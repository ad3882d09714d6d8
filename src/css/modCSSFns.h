#pragma once

#include <QString>
#include <QStringView>

class VValues;

// name:value pairs with a non-empty value, joined by ";", no blanks, no final ";".
// A pair's comment goes in front of its name with one blank after it; the
// trailing comment goes last, after a ";". A pair left out hands its comment on.
QString FormatDeclarations(const VValues &list);

// Appends the declarations of text to list (it is not emptied first); a
// repeated name is appended too, making a chain. ";" and ":" split only
// outside comments, strings, url() and brackets, so values keep their text
// (a custom property's "{…}" value too); comments in front of a declaration
// become its pair's comment, comments after the last one the list's trailing
// comment, and a comment inside a value stays in the value.
void ParseDeclarations(VValues &list, QStringView text);

// Whether value, written as the value of the property name, stays inside its
// declaration: no "{", "}" or comment opener outside strings and brackets, and
// no string, bracket or comment left open at its end. Only a custom property's
// value may hold balanced "{…}" blocks.
bool StaysInDeclaration(QStringView name, QStringView value);
