#include "pages/preview/PreviewDocument.h"

#include "css/modCSSFns.h"
#include "css/modStr.h"
#include "support/TextFile.h"

#include <QDir>
#include <QStringList>

namespace PreviewDocument {

namespace {

const QString SysPathMark = QStringLiteral("@SysPath\\");
const QString StyleMark = QStringLiteral("@TestStyleString");

// The style as the text of a quoted attribute, whichever quote the document
// uses: quotes in a value (font names, url("...")) neither end the attribute
// nor let markup in.
QString attributeText(const QString &style)
{
    return style.toHtmlEscaped().replace(u'\'', QStringLiteral("&#39;"));
}

} // namespace

QList<Template> Templates(const QString &programFolder)
{
    const QString folder = programFolder + QStringLiteral("Model/");
    QList<Template> found;
    const QStringList names = QDir(folder).entryList(QDir::Files, QDir::Name);
    for (const QString &name : names) {
        if (FileExtension(name) == QLatin1String("txt"))
            found.append({name.section(u'.', 0, 0), folder + name});
    }
    return found;
}

QString StyleString(const VValues &values, const QString &programFolder)
{
    return FormatDeclarations(values).replace(SysPathMark, programFolder, Qt::CaseInsensitive);
}

QString BuiltInSample(const QString &style)
{
    return QStringLiteral("<p style='") + attributeText(style) + QStringLiteral("'>标题示例</p>");
}

QString FromTemplate(const QString &path, const QString &programFolder, const QString &style)
{
    const QString escaped = attributeText(style);
    TextFile file;
    file.OpenFile(path); // an unreadable file is at its end at once: an empty document
    QStringList lines;
    while (!file.Eof()) {
        lines.append(file.ReadLine()
                         .replace(SysPathMark, programFolder, Qt::CaseInsensitive)
                         .replace(StyleMark, escaped, Qt::CaseInsensitive));
    }
    return lines.join(u'\n');
}

} // namespace PreviewDocument
