#pragma once

#include <QString>
#include <QWidget>

class QLineEdit;
class QToolButton;

// Colour field: a line edit tinted with the colour its text denotes (the text
// drawn in a contrasting colour) and a "…" button that opens the colour dialog.
class HtmlColor : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString Text READ Text WRITE SetText USER true)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(bool DataChanged READ DataChanged WRITE SetDataChanged)

public:
    explicit HtmlColor(QWidget *parent = nullptr);

    QString Text() const;
    // Replaces the text; re-tints and sets the changed flag.
    void SetText(const QString &text);
    // Enables or disables the text box only; the pick button stays usable.
    bool Enabled() const;
    void SetEnabled(bool enabled);
    bool DataChanged() const;
    void SetDataChanged(bool changed);

    QLineEdit *textBox() const { return m_text; }
    QToolButton *pickButton() const { return m_pick; }

signals:
    // Every change of the text, typed, picked or set.
    void textChanged(const QString &text);

private:
    void applyTint(const QString &text);
    void pickColour();

    QLineEdit *m_text;
    QToolButton *m_pick;
    bool m_changed = false;
};
