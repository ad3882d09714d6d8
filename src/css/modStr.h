#pragma once

#include <QString>
#include <QStringView>

// Small text helpers shared across the program. Positions have no length limit.

// Returns the text before the first separator (found ignoring letter case) and
// leaves the text after it in source; without a separator returns all of source
// and empties it. The separator must not be empty.
QString TakeUntil(QString &source, QStringView separator);
// The same over a view: source is narrowed instead of copied, so walking a long
// text piece by piece stays linear.
QStringView TakeUntil(QStringView &source, QStringView separator);

// text without leading and trailing space characters (only U+0020 counts).
QStringView TrimSpaces(QStringView text);

// Puts (width - length) copies of fill in front of text; never cuts.
QString PadLeft(const QString &text, int width, const QString &fill);

// Removes one pair of surrounding double quotes.
QString StripQuotes(const QString &text);

// The text after the last "." when it follows the last path separator, else "".
QString FileExtension(const QString &path);
