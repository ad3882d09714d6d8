#pragma once

#include <QAbstractSpinBox>
#include <QString>

// A free-text field with spin arrows. The text may hold any value ("12px",
// "auto", ""); stepping (arrows, Up/Down keys, wheel) moves the number the
// text starts with and keeps whatever unit follows it.
class SpinField : public QAbstractSpinBox
{
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged USER true)

public:
    explicit SpinField(QWidget *parent = nullptr);

    QString text() const;
    void setText(const QString &text);

    // Stepping never leaves [minimum, maximum]; -100..100 unless set.
    void setRange(int minimum, int maximum);
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }

    // text with its leading number moved by steps and kept within the range;
    // a text that does not start with a number comes back unchanged.
    static QString steppedText(const QString &text, int steps, int minimum, int maximum);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    void stepBy(int steps) override;
    QValidator::State validate(QString &input, int &pos) const override;

signals:
    // Every change of the text, typed, stepped or set.
    void textChanged(const QString &text);

protected:
    StepEnabled stepEnabled() const override;

private:
    int m_minimum = -100;
    int m_maximum = 100;
};
