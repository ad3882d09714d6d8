#include "colour/HtmlColor.h"

#include "colour/DlgReturn.h"
#include "colour/frmSelColor.h"
#include "colour/modColour.h"

#include <QBoxLayout>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>

namespace {

// Pixels: just room for the three dots, so the text field keeps the width.
constexpr int PickButtonWidth = 17;

// Three small dots, drawn in the button's text colour so any theme shows them.
QIcon ellipsisIcon(const QColor &colour)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    for (int x : {3, 7, 11})
        painter.fillRect(x, 10, 2, 2, colour);
    return QIcon(pixmap);
}

} // namespace

HtmlColor::HtmlColor(QWidget *parent)
    : QWidget(parent), m_text(new QLineEdit(this)), m_pick(new QToolButton(this))
{
    m_text->setObjectName(QStringLiteral("txtC"));
    m_pick->setObjectName(QStringLiteral("cmSel"));
    m_pick->setIcon(ellipsisIcon(m_pick->palette().color(QPalette::ButtonText)));
    m_pick->setAccessibleName(QStringLiteral("选择颜色"));
    m_pick->setToolTip(QStringLiteral("选择颜色"));
    m_pick->setFixedWidth(PickButtonWidth);
    // The button takes the line edit's height, so the field stays one line high.
    m_pick->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_text, 1);
    layout->addWidget(m_pick);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    // A page's caption label has the field as buddy; its access key lands in the text.
    setFocusProxy(m_text);

    connect(m_text, &QLineEdit::textChanged, this, [this](const QString &text) {
        m_changed = true;
        applyTint(text);
        emit textChanged(text);
    });
    connect(m_pick, &QToolButton::clicked, this, [this] { pickColour(); });

    SetText(QStringLiteral("<未设置>"));
    SetDataChanged(false);
}

QString HtmlColor::Text() const
{
    return m_text->text();
}

void HtmlColor::SetText(const QString &text)
{
    m_text->setText(text);
}

bool HtmlColor::Enabled() const
{
    return m_text->isEnabled();
}

void HtmlColor::SetEnabled(bool enabled)
{
    m_text->setEnabled(enabled);
}

bool HtmlColor::DataChanged() const
{
    return m_changed;
}

void HtmlColor::SetDataChanged(bool changed)
{
    m_changed = changed;
}

void HtmlColor::applyTint(const QString &text)
{
    const auto tint = TintFromText(text);
    if (!tint)
        return; // unreadable: the box keeps the colours of the last readable text
    QPalette palette = m_text->palette();
    palette.setColor(QPalette::Base, tint->background);
    palette.setColor(QPalette::Text, tint->text);
    m_text->setPalette(palette);
}

void HtmlColor::pickColour()
{
    DlgReturn holder; // declared first: outlives the dialog that points at it
    holder.isOK = false;
    holder.SetValue(frmSelColor::ColourKey, Text());
    frmSelColor dialog;
    dialog.SetDlgR(&holder);
    dialog.exec();
    if (holder.isOK)
        SetText(holder.Value(frmSelColor::ColourKey));
}
