#pragma once

#include <QLabel>

// A one-line label that shortens a text too long for its width with "…" and
// shows the whole text as its tool tip, up to a few thousand characters.
class ElidedLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ElidedLabel(QWidget *parent = nullptr);

    void setFullText(const QString &text);
    QString fullText() const { return m_fullText; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void elide();

    QString m_fullText;
};
