#include "css/modStr.h"

namespace {

// Case folding only ever changes letters, so a separator made of ASCII
// punctuation matches exactly what a case-blind search would; the exact search
// is the vectorised one.
Qt::CaseSensitivity sensitivityFor(QStringView separator)
{
    for (const QChar c : separator) {
        if (c.unicode() >= 0x80 || c.isLetter())
            return Qt::CaseInsensitive;
    }
    return Qt::CaseSensitive;
}

} // namespace

QStringView TakeUntil(QStringView &source, QStringView separator)
{
    // An empty separator would match at 0 for ever; treat it as absent so
    // callers' loops still end.
    const qsizetype at = separator.isEmpty()
        ? -1
        : source.indexOf(separator, 0, sensitivityFor(separator));
    if (at < 0) {
        const QStringView all = source;
        source = QStringView();
        return all;
    }
    const QStringView before = source.first(at);
    source = source.sliced(at + separator.size());
    return before;
}

QString TakeUntil(QString &source, QStringView separator)
{
    QStringView rest(source);
    const QString before = TakeUntil(rest, separator).toString();
    source = rest.toString();
    return before;
}

QStringView TrimSpaces(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.sliced(begin, end - begin);
}

QString PadLeft(const QString &text, int width, const QString &fill)
{
    if (text.size() >= width)
        return text;
    return fill.repeated(width - text.size()) + text;
}

QString StripQuotes(const QString &text)
{
    if (text.size() >= 2 && text.front() == u'"' && text.back() == u'"')
        return text.sliced(1, text.size() - 2);
    return text;
}

QString FileExtension(const QString &path)
{
    QString normalised = path;
    normalised.replace(u'/', u'\\');
    const qsizetype lastSeparator = normalised.lastIndexOf(u'\\');
    const qsizetype lastDot = normalised.lastIndexOf(u'.');
    if (lastDot > lastSeparator)
        return normalised.sliced(lastDot + 1);
    return QString();
}
