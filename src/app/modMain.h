#pragma once

#include <QString>
#include <QStringList>

class QApplication;

// Start-up helpers and the program folder.

// Appends one "/" unless the path already ends in one; "" yields "/".
// Backslashes are ordinary file-name characters here and stay as they are.
QString EnsureTrailingBackslash(const QString &path);

// Records the folder of the running program; called once at start-up.
void InitAppFolder(const QString &programFolder);
// The folder of the running program, ending in "/" (empty before InitAppFolder).
QString AppFolder();

// The one path text of the command line: the arguments after the program name
// (what QApplication left of them) joined by one blank.
QString CommandLineText(const QStringList &arguments);

// Names the application, installs Qt's own Chinese translations so standard
// buttons and dialogs match the rest of the interface, records AppFolder.
void InitApplication(QApplication &app);
