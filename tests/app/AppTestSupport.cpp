#include "AppTestSupport.h"

#include "app/AppSettings.h"
#include "app/ElidedLabel.h"
#include "app/frmCSS.h"
#include "framework/CtlsStep.h"
#include "framework/PageRegistry.h"
#include "support/VValues.h"

#include <QAbstractItemView>
#include <QLabel>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

FontSizePage::FontSizePage(QWidget *parent)
    : QWidget(parent)
    , m_field(new QLineEdit(this))
{
    m_field->setObjectName(QStringLiteral("fontSize"));
    m_field->setAccessibleName(Property);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_field);
    layout->addStretch();
}

bool FontSizePage::Init(VValues &values)
{
    m_values = &values;
    return true;
}

bool FontSizePage::Update()
{
    const QString text = m_field->text();
    if (text == RefusedText)
        return false;
    if (Pair *pair = m_values->Find(Property))
        pair->SetValue(text);
    else if (!text.isEmpty())
        m_values->Add(text, Property);
    return true;
}

void FontSizePage::ReShow()
{
    const Pair *pair = m_values->Find(Property);
    m_field->setText(pair ? pair->Value() : QString());
}

QString FontSizePage::ErrString() const
{
    return RefusalReason;
}

void FontSizePage::registerAsFontPage()
{
    PageRegistry::instance().registerType(QStringLiteral("Quillmere.StyleFont"),
                                          [](QWidget *parent) { return new FontSizePage(parent); });
}

ModalHandler::ModalHandler(std::function<void(QWidget *)> act)
    : m_act(std::move(act))
    , m_poll(new QTimer(this))
{
    m_poll->setInterval(10);
    connect(m_poll, &QTimer::timeout, this, [this] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        m_poll->stop();
        m_handled = true;
        m_act(modal);
    });
    m_poll->start();
}

std::unique_ptr<ModalHandler> answerMessageBox(int button, SeenBox *seen)
{
    return std::make_unique<ModalHandler>([button, seen](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (!box) {
            modal->close();
            return;
        }
        if (seen)
            *seen = {box->windowTitle(), box->text(), int(box->icon())};
        // A box without the expected button is closed, and the test sees its text.
        if (QAbstractButton *answer = box->button(QMessageBox::StandardButton(button)))
            answer->click();
        else
            box->close();
    });
}

std::unique_ptr<ModalHandler> answerFileDialog(const QString &path)
{
    return std::make_unique<ModalHandler>([path](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        if (!dialog || path.isEmpty()) {
            modal->close();
            return;
        }
        // Typed as a user would; the dialog's buttons may still be waiting for
        // its folder listing, so the choice is confirmed directly.
        dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(path);
        static_cast<QDialog *>(dialog)->done(QDialog::Accepted);
    });
}

std::unique_ptr<frmCSS> startWindow(const QString &commandLine)
{
    // Every window starts from no remembered geometry and no recent files.
    AppSettings().clear();
    auto window = std::make_unique<frmCSS>();
    window->show();
    window->start(commandLine);
    return window;
}

CtlsStep *host(const frmCSS &window)
{
    return window.findChild<CtlsStep *>(QStringLiteral("csCSS"));
}

QAbstractItemView *ruleList(const frmCSS &window)
{
    return window.findChild<QAbstractItemView *>(QStringLiteral("lstStyle"));
}

QString statusText(const frmCSS &window)
{
    return window.findChild<ElidedLabel *>(QStringLiteral("sBarText"))->fullText();
}

int currentRow(const frmCSS &window)
{
    return ruleList(window)->currentIndex().row();
}

void selectRow(const frmCSS &window, int row)
{
    QAbstractItemView *list = ruleList(window);
    const QModelIndex index = list->model()->index(row, 0);
    list->scrollTo(index);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
}

FontSizePage *fontPage(const frmCSS &window)
{
    return host(window)->findChild<FontSizePage *>();
}

void clickToolbar(const frmCSS &window, const QString &key)
{
    auto *button = window.findChild<QToolButton *>(QStringLiteral("tBar_") + key);
    QVERIFY2(button, qPrintable(key));
    QTest::mouseClick(button, Qt::LeftButton);
}

void clickTab(const frmCSS &window, int index)
{
    QTabBar *tabs = host(window)->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
}

QString shownCaption(const QWidget &window)
{
    return window.windowTitle().remove(QStringLiteral("[*]"));
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}
