#include "pages/common/PictureField.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>

#include <algorithm>

namespace {

const QString BrowseCaption = QStringLiteral("选择图片文件");

// Characters an unquoted url() cannot hold.
bool needsQuotes(QChar c)
{
    return c.isSpace() || c == u'(' || c == u')' || c == u'"' || c == u'\'' || c == u'\\'
        || c == u';' || c == u'{' || c == u'}' || c.category() == QChar::Other_Control;
}

// A rule's text has no quoting of its own: a ";" ends the declaration and a
// brace the rule wherever they stand, so those go as hex escapes too, as do
// control characters, which a CSS string cannot hold.
QString escapedInString(QChar c)
{
    if (c == u'"' || c == u'\\')
        return QString(u'\\') + c;
    if (c == u';' || c == u'{' || c == u'}' || c.category() == QChar::Other_Control)
        return QStringLiteral("\\%1 ").arg(c.unicode(), 0, 16);
    return QString(c);
}

} // namespace

PictureField::PictureField(QWidget *parent)
    : QWidget(parent)
    , m_text(new QLineEdit(this))
    , m_browse(new QToolButton(this))
{
    m_text->setObjectName(QStringLiteral("txtPicture"));
    m_browse->setObjectName(QStringLiteral("Command1"));
    m_browse->setText(QStringLiteral("…"));
    m_browse->setAccessibleName(BrowseCaption);
    m_browse->setToolTip(BrowseCaption);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_text, 1);
    layout->addWidget(m_browse);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setFocusProxy(m_text);

    connect(m_text, &QLineEdit::textChanged, this, &PictureField::textChanged);
    connect(m_browse, &QToolButton::clicked, this, [this] { browse(); });
}

QString PictureField::text() const
{
    return m_text->text();
}

void PictureField::setText(const QString &text)
{
    m_text->setText(text);
}

QString PictureField::cssUrl(const QString &path)
{
    if (std::none_of(path.begin(), path.end(), needsQuotes))
        return QStringLiteral("url(") + path + u')';
    QString quoted;
    for (QChar c : path)
        quoted += escapedInString(c);
    return QStringLiteral("url(\"") + quoted + QStringLiteral("\")");
}

void PictureField::browse()
{
    const QString path = QFileDialog::getOpenFileName(
        this, BrowseCaption, QString(),
        QStringLiteral("GIF、JPEG 和 PNG 图像文件 (*.gif *.jpg *.jpeg *.png);;所有文件(*.*)"));
    if (!path.isEmpty())
        setText(cssUrl(path));
}
