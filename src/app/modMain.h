#pragma once

#include <QString>
#include <QStringList>

class QApplication;

// Start-up helpers and the program folder.

// Appends one "/" unless the path already ends in one; "" yields "/".
// Backslashes are ordinary file-name characters here and stay as they are.
QString EnsureTrailingBackslash(const QString &path);

// Records the program folder; called once at start-up.
void InitAppFolder(const QString &programFolder);
// The program folder, ending in "/" (empty before InitAppFolder): where Model
// lives and what "@SysPath\" in a template stands for.
QString AppFolder();

// The program folder for an executable in executableFolder: that folder itself
// when it holds Model (a build tree), else the installed data folder beside it
// (../share/quillmere from bin/). Ends in "/".
QString ProgramFolder(const QString &executableFolder);

// What a command line of exactly "--help" or "--version" prints instead of
// starting the editor; empty for every other command line, which is a path.
QString CommandLineReply(const QStringList &arguments);

// The one path text of the command line: the arguments after the program name
// (what QApplication left of them) joined by one blank.
QString CommandLineText(const QStringList &arguments);

// The preview's browser engine refuses to start as root with its sandbox on
// and ends the program. For runsAsRoot it switches the sandbox off through the
// environment, before the engine starts, unless that was already done; the
// returned note (empty when nothing changed) is for standard error.
QString SwitchEngineSandboxForRoot(bool runsAsRoot);

// Names the application, installs Qt's own Chinese translations so standard
// buttons and dialogs match the rest of the interface, records AppFolder.
void InitApplication(QApplication &app);
