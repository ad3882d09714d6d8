#pragma once

#include <QList>
#include <QString>

class VValues;

// The texts the preview shows: the rule's inline style and the HTML documents
// built around it. The program folder always ends in "/".
namespace PreviewDocument {

// A preview template of the Model folder.
struct Template
{
    QString title; // the file name up to its first "."
    QString path;
};

// The files of programFolder + "Model/" whose extension is exactly "txt".
QList<Template> Templates(const QString &programFolder);

// The values as declaration text, "@SysPath\" (any case) turned into the program folder.
QString StyleString(const VValues &values, const QString &programFolder);

// One paragraph carrying the style; the style is escaped, so quotes in a value
// neither end the attribute nor let markup in.
QString BuiltInSample(const QString &style);

// The template's lines joined by line breaks, "@SysPath\" and then
// "@TestStyleString" (any case) replaced; templates hold the placeholder inside
// style="...", so the style goes in escaped as the built-in sample's does.
QString FromTemplate(const QString &path, const QString &programFolder, const QString &style);

} // namespace PreviewDocument
