#include "app/ElidedLabel.h"

#include <QFontMetrics>

ElidedLabel::ElidedLabel(QWidget *parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    // A long text must not widen the window.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void ElidedLabel::setFullText(const QString &text)
{
    m_fullText = text;
    elide();
}

void ElidedLabel::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    elide();
}

namespace {

// More than any status bar or tool tip shows. Laying out a whole 20 MB rule
// to shorten it would freeze the window on every resize.
constexpr qsizetype ShownLength = 4000;

QString boundedPrefix(const QString &text)
{
    return text.size() <= ShownLength ? text : text.first(ShownLength) + QStringLiteral("…");
}

} // namespace

void ElidedLabel::elide()
{
    const int room = contentsRect().width();
    const QString shown = fontMetrics().elidedText(boundedPrefix(m_fullText), Qt::ElideRight, room);
    setText(shown);
    setToolTip(shown == m_fullText ? QString() : boundedPrefix(m_fullText));
}
