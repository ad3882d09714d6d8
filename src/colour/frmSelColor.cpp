#include "colour/frmSelColor.h"

#include "colour/ColourPalette.h"
#include "colour/DlgReturn.h"
#include "colour/modColour.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

frmSelColor::frmSelColor(QWidget *parent)
    : QDialog(parent),
      m_palette(new ColourPalette(this)),
      m_preview(new QLabel(this)),
      m_text(new QLineEdit(this))
{
    setObjectName(QStringLiteral("frmSelColor"));
    setWindowTitle(QStringLiteral("选择颜色"));

    m_preview->setObjectName(QStringLiteral("lbPer"));
    m_preview->setFixedSize(37, 17); // pixels: as tall as the value field beside it
    m_preview->setFrameShape(QFrame::Box);
    m_preview->setAutoFillBackground(true);

    auto *caption = new QLabel(QStringLiteral("颜色值："), this);
    caption->setObjectName(QStringLiteral("lbS"));
    caption->setBuddy(m_text);
    m_text->setObjectName(QStringLiteral("txtC"));

    auto *ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("cmOk"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setObjectName(QStringLiteral("cmCancel"));

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_preview);
    bottom->addWidget(caption);
    bottom->addWidget(m_text, 1);
    bottom->addWidget(ok);
    bottom->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_palette);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_palette, &ColourPalette::swatchClicked, m_text, &QLineEdit::setText);
    connect(m_text, &QLineEdit::textChanged, this, [this](const QString &text) { showPreview(text); });
    connect(ok, &QPushButton::clicked, this, [this] { confirm(); });
    // Cancel, Esc and the title bar's close button all reject, handing nothing back.
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    m_text->setText(QStringLiteral("#000000"));
}

void frmSelColor::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        loadFromHolder();
}

void frmSelColor::loadFromHolder()
{
    if (!m_holder)
        return;
    m_text->setText(m_holder->Value(ColourKey));
    m_holder->isOK = false;
}

void frmSelColor::showPreview(const QString &text)
{
    QPalette palette = m_preview->palette();
    palette.setColor(QPalette::Window, ColourFromText(text));
    m_preview->setPalette(palette);
}

void frmSelColor::confirm()
{
    if (m_holder) {
        m_holder->SetValue(ColourKey, m_text->text());
        m_holder->isOK = true;
    }
    accept();
}
