#include "pages/common/SpinField.h"

#include <QLineEdit>
#include <QRegularExpression>

#include <optional>

namespace {

struct LeadingNumber
{
    double value;
    int decimals; // as typed, so "1.50em" steps to "2.50em"
    QString rest; // the unit or whatever follows the number
};

std::optional<LeadingNumber> splitLeadingNumber(const QString &text)
{
    static const QRegularExpression number(QStringLiteral(R"(^\s*([+-]?(?:\d+(?:\.(\d*))?|\.(\d+))))"));
    const QRegularExpressionMatch match = number.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const int decimals = int(match.capturedLength(2) + match.capturedLength(3));
    return LeadingNumber{match.captured(1).toDouble(), decimals, text.mid(match.capturedEnd(1))};
}

// The base sizes the field for its numeric range only, an empty text here;
// free text needs room for a number with its unit.
int roomForValue(const QFontMetrics &metrics)
{
    return metrics.horizontalAdvance(QStringLiteral("-100.5em"));
}

} // namespace

SpinField::SpinField(QWidget *parent)
    : QAbstractSpinBox(parent)
{
    connect(lineEdit(), &QLineEdit::textChanged, this, &SpinField::textChanged);
}

QString SpinField::text() const
{
    return lineEdit()->text();
}

void SpinField::setText(const QString &text)
{
    lineEdit()->setText(text);
}

void SpinField::setRange(int minimum, int maximum)
{
    m_minimum = minimum;
    m_maximum = qMax(minimum, maximum);
}

QString SpinField::steppedText(const QString &text, int steps, int minimum, int maximum)
{
    if (text.trimmed().isEmpty())
        return QString::number(qBound(minimum, steps, maximum));
    const std::optional<LeadingNumber> number = splitLeadingNumber(text);
    if (!number)
        return text;
    const double stepped = qBound(double(minimum), number->value + steps, double(maximum));
    // A value already outside the range is never pulled back against the step.
    if ((steps > 0 && stepped < number->value) || (steps < 0 && stepped > number->value))
        return text;
    return QString::number(stepped, 'f', number->decimals) + number->rest;
}

QSize SpinField::sizeHint() const
{
    return QAbstractSpinBox::sizeHint() + QSize(roomForValue(fontMetrics()), 0);
}

QSize SpinField::minimumSizeHint() const
{
    return QAbstractSpinBox::minimumSizeHint() + QSize(roomForValue(fontMetrics()), 0);
}

void SpinField::stepBy(int steps)
{
    const QString stepped = steppedText(text(), steps, m_minimum, m_maximum);
    if (stepped != text())
        setText(stepped);
}

QValidator::State SpinField::validate(QString &, int &) const
{
    return QValidator::Acceptable;
}

QAbstractSpinBox::StepEnabled SpinField::stepEnabled() const
{
    if (isReadOnly() || !isEnabled())
        return StepNone;
    if (text().trimmed().isEmpty())
        return StepUpEnabled | StepDownEnabled;
    const std::optional<LeadingNumber> number = splitLeadingNumber(text());
    if (!number)
        return StepNone;
    StepEnabled enabled = StepNone;
    if (number->value < m_maximum)
        enabled |= StepUpEnabled;
    if (number->value > m_minimum)
        enabled |= StepDownEnabled;
    return enabled;
}
