#include "colour/ColourSwatch.h"

#include <QKeyEvent>
#include <QPainter>

ColourSwatch::ColourSwatch(const QColor &colour, const QString &tag, QWidget *parent)
    : QAbstractButton(parent), m_colour(colour), m_tag(tag)
{
    setToolTip(tag);
    setAccessibleName(tag);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize ColourSwatch::sizeHint() const
{
    // Pixels: wide enough to hit with the mouse, twelve to a row in the dialog.
    return QSize(25, 11);
}

void ColourSwatch::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    painter.fillRect(rect(), m_colour);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(frame);
    if (hasFocus()) {
        // Black outside, white inside: visible on every swatch colour.
        painter.setPen(Qt::black);
        painter.drawRect(frame);
        painter.setPen(Qt::white);
        painter.drawRect(frame.adjusted(1, 1, -1, -1));
    }
}

void ColourSwatch::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        event->ignore();
        break;
    default:
        QAbstractButton::keyPressEvent(event);
    }
}
