#pragma once

#include <QString>
#include <QStringView>

class VValues;

// name:value pairs with a non-empty value, joined by ";", no blanks, no final ";".
QString FormatDeclarations(const VValues &list);

// Adds the declarations of text to list (it is not emptied first). A later
// declaration of a present name overwrites its value in place.
void ParseDeclarations(VValues &list, QStringView text);
