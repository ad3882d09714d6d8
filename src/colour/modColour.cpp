#include "colour/modColour.h"

#include "css/modStr.h"

#include <QStringView>

#include <array>

namespace {

using Components = std::array<int, 3>; // red, green, blue

int hexDigit(QChar ch)
{
    const char16_t c = ch.unicode();
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

// One or more hexadecimal digits and nothing else: no sign, no prefix, no blanks.
std::optional<int> readHex(QStringView digits)
{
    if (digits.isEmpty())
        return std::nullopt;
    int value = 0;
    for (const QChar ch : digits) {
        const int digit = hexDigit(ch);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + digit;
    }
    return value;
}

// A decimal integer with blanks around it, in 16 bits: a wider number is no
// colour component, so it reads as no number at all.
std::optional<int> readDecimal(QStringView text)
{
    bool ok = false;
    const short value = text.trimmed().toShort(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

// Reads the three pairs after "#"; stops at the first unreadable pair.
int readHexPairs(QStringView text, Components &rgb)
{
    int read = 0;
    for (int &component : rgb) {
        const auto value = readHex(text.mid(1 + 2 * read, 2));
        if (!value)
            break;
        component = *value;
        ++read;
    }
    return read;
}

QColor colourOf(const Components &rgb)
{
    return QColor(qBound(0, rgb[0], 255), qBound(0, rgb[1], 255), qBound(0, rgb[2], 255));
}

} // namespace

int ContrastChannel(int channel)
{
    if (channel < 0 || channel > 255)
        return 0;
    if (channel >= 108 && channel <= 147)
        return 0;
    return 255 - channel;
}

std::optional<ColourTint> TintFromText(const QString &text)
{
    Components rgb{};
    if (text.startsWith(u'#')) {
        if (text.size() == 7 && readHexPairs(text, rgb) != 3)
            return std::nullopt;
    } else if (text.startsWith(u"rgb", Qt::CaseInsensitive)) {
        QStringView rest = text;
        TakeUntil(rest, u"(");
        const std::array<QStringView, 3> ends{u",", u",", u")"};
        for (int i = 0; i < 3; ++i) {
            const auto value = readDecimal(TakeUntil(rest, ends[i]));
            if (!value)
                return std::nullopt;
            rgb[i] = *value;
        }
    }
    const QColor contrast(ContrastChannel(rgb[0]), ContrastChannel(rgb[1]), ContrastChannel(rgb[2]));
    return ColourTint{colourOf(rgb), contrast};
}

QColor ColourFromText(const QString &text)
{
    Components rgb{};
    if (text.startsWith(u'#')) {
        readHexPairs(text, rgb);
    } else {
        QStringView rest = text;
        for (int &component : rgb) {
            const auto value = readDecimal(TakeUntil(rest, u","));
            if (!value)
                break;
            component = *value;
        }
    }
    return colourOf(rgb);
}
