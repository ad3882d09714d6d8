#pragma once

#include "framework/PageContract.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

class CtlsStep;
class frmCSS;
class QAbstractItemView;
class QLineEdit;
class QTimer;
class VValues;

// A font page stand-in: one field bound to "font-size". It refuses to commit
// the text "bad", so a refusing page can be exercised too.
class FontSizePage : public QWidget, public IPage
{
    Q_OBJECT

public:
    static inline const QString Property = QStringLiteral("font-size");
    static inline const QString RefusedText = QStringLiteral("bad");
    static inline const QString RefusalReason = QStringLiteral("font-size is not a size");

    explicit FontSizePage(QWidget *parent = nullptr);

    bool Init(VValues &values) override;
    bool Update() override;
    void ReShow() override;
    QString ErrString() const override;

    QLineEdit *field() const { return m_field; }

    // Registers the page as the window's first tab type.
    static void registerAsFontPage();

private:
    QLineEdit *m_field;
    VValues *m_values = nullptr;
};

// Acts on the next modal window (message box, file dialog, About) as soon as
// it shows, from inside its event loop.
class ModalHandler : public QObject
{
    Q_OBJECT

public:
    explicit ModalHandler(std::function<void(QWidget *)> act);
    bool handled() const { return m_handled; }

private:
    std::function<void(QWidget *)> m_act;
    QTimer *m_poll;
    bool m_handled = false;
};

// What a message box said before it was answered.
struct SeenBox
{
    QString title;
    QString text;
    int icon = 0;
};

// Answers the next message box with button, noting what it said in *seen.
std::unique_ptr<ModalHandler> answerMessageBox(int button, SeenBox *seen = nullptr);
// Picks path in the next file dialog (an empty path cancels it).
std::unique_ptr<ModalHandler> answerFileDialog(const QString &path);

// A shown window after its start-up sequence.
std::unique_ptr<frmCSS> startWindow(const QString &commandLine = QString());
// The window's parts, found as a user's tools would: by their names.
CtlsStep *host(const frmCSS &window);
QAbstractItemView *ruleList(const frmCSS &window);
QString statusText(const frmCSS &window);
// The current rule's row, -1 for none.
int currentRow(const frmCSS &window);
// Clicks the rule in row.
void selectRow(const frmCSS &window, int row);

// The window's first page, the font-size stand-in.
FontSizePage *fontPage(const frmCSS &window);
// Clicks the toolbar button of key (new, open, save, ...).
void clickToolbar(const frmCSS &window, const QString &key);
// Clicks the host's tab at index.
void clickTab(const frmCSS &window, int index);
// The caption without Qt's modified-mark placeholder.
QString shownCaption(const QWidget &window);

QByteArray readBytes(const QString &path);
void writeBytes(const QString &path, const QByteArray &bytes);
