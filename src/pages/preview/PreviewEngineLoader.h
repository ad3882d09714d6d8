#pragma once

#include <QString>

class PreviewEngine;
class QWidget;

// Finds and loads the browser library of the preview.
namespace PreviewEngineLoader {

// The library beside the program (the build tree), else where it is installed
// relative to the program; a file set with SetFile wins.
QString File();

// For programs that do not sit beside the library, such as tests; empty
// returns to the default.
void SetFile(const QString &path);

// A new browser, a child of parent; null with the reason in error when the
// library cannot be loaded.
PreviewEngine *Create(QWidget *parent, QString *error);

} // namespace PreviewEngineLoader
