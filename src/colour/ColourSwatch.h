#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QString>

// One clickable patch of the colour dialog's palette. Its Tag is the colour text
// ("#RRGGBB") that a click hands on.
class ColourSwatch : public QAbstractButton
{
    Q_OBJECT
    Q_PROPERTY(QString Tag READ Tag)

public:
    ColourSwatch(const QColor &colour, const QString &tag, QWidget *parent = nullptr);

    QColor Colour() const { return m_colour; }
    QString Tag() const { return m_tag; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    // Arrow keys are left to the palette, which knows the grid.
    void keyPressEvent(QKeyEvent *event) override;

private:
    QColor m_colour;
    QString m_tag;
};
