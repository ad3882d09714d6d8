#pragma once

#include <QColor>
#include <QString>

#include <optional>

// Readers of the colour texts typed into the colour field and the colour dialog.
// The two read differently on purpose: the field understands the stylesheet forms
// "#RRGGBB" and "rgb(r, g, b)", the dialog "#RRGGBB" and "r, g, b".

// The colours the colour field shows for its text.
struct ColourTint
{
    QColor background;
    QColor text;
};

// The tint of a colour field's text: "#RRGGBB" (exactly seven characters) or
// "rgb(r, g, b)" in any letter case; every other text is black. Empty when a
// part cannot be read (a non-hexadecimal pair, a missing component or one
// outside -32768..32767): the field then keeps the colours it had.
std::optional<ColourTint> TintFromText(const QString &text);

// The readable contrast to one channel: 0 for mid-grey (108..147) and for values
// outside 0..255, else 255 - channel.
int ContrastChannel(int channel);

// The colour dialog's reading of "#RRGGBB" (characters after the seventh ignored)
// or "r, g, b". Never fails: components are read up to the first unreadable one,
// the rest stay 0.
QColor ColourFromText(const QString &text);
