#pragma once

#include <QString>
#include <QWidget>

class QLineEdit;
class QToolButton;

// A picture reference typed as CSS text, with a "…" button that picks a file
// and writes it as url(path).
class PictureField : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged USER true)

public:
    explicit PictureField(QWidget *parent = nullptr);

    QString text() const;
    void setText(const QString &text);

    QLineEdit *textBox() const { return m_text; }
    QToolButton *browseButton() const { return m_browse; }

    // path as a CSS url(): bare when CSS reads it so, quoted and escaped when
    // it holds what would end the url or, in a rule's text, the declaration.
    static QString cssUrl(const QString &path);

signals:
    void textChanged(const QString &text);

private:
    void browse();

    QLineEdit *m_text;
    QToolButton *m_browse;
};
