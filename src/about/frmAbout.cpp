#include "about/frmAbout.h"

#include "framework/AppInfo.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace {

QLabel *addLabel(QDialog *dialog, const QString &name, const QString &text)
{
    auto *label = new QLabel(text, dialog);
    label->setObjectName(name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QIcon programIcon(const QWidget *dialog)
{
    const QIcon icon = QApplication::windowIcon();
    return icon.isNull() ? dialog->style()->standardIcon(QStyle::SP_MessageBoxInformation) : icon;
}

} // namespace

frmAbout::frmAbout(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setModal(true);
    setWindowTitle(QStringLiteral("关于 ") + AppInfo::Title);

    auto *picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setAccessibleName(QStringLiteral("程序图标"));
    const int iconSize = style()->pixelMetric(QStyle::PM_LargeIconSize);
    picIcon->setPixmap(programIcon(this).pixmap(iconSize, iconSize));
    picIcon->setAlignment(Qt::AlignTop);

    QLabel *lblTitle = addLabel(this, QStringLiteral("lblTitle"), AppInfo::Title);
    QFont titleFont = lblTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    lblTitle->setFont(titleFont);

    QLabel *lblVersion = addLabel(this, QStringLiteral("lblVersion"),
                                  QStringLiteral("版本 ") + versionText());
    QLabel *lblDescription = addLabel(this, QStringLiteral("lblDescription"),
                                      QStringLiteral("© 澜石人 Quillmere 项目。保留所有权利。"));
    QLabel *lblDisclaimer = addLabel(this, QStringLiteral("lblDisclaimer"),
                                     QStringLiteral("警告: 本程序按“原样”提供，不附带任何明示或暗示的担保。"
                                                     "因使用本程序而造成的任何损失，作者与权利人概不负责。"));
    lblDisclaimer->setWordWrap(true);

    auto *line1 = new QFrame(this);
    line1->setObjectName(QStringLiteral("Line1"));
    line1->setFrameShape(QFrame::HLine);
    line1->setFrameShadow(QFrame::Sunken);

    auto *cmdOK = new QPushButton(QStringLiteral("确定"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    auto *layout = new QGridLayout(this);
    layout->addWidget(picIcon, 0, 0, 3, 1);
    layout->addWidget(lblTitle, 0, 1);
    layout->addWidget(lblVersion, 1, 1);
    layout->addWidget(lblDescription, 2, 1);
    layout->addWidget(line1, 3, 0, 1, 2);
    layout->addWidget(lblDisclaimer, 4, 0, 1, 2);
    layout->addWidget(cmdOK, 5, 1, Qt::AlignRight);
}

QString frmAbout::versionText()
{
    return QStringLiteral("%1.%2.%3")
        .arg(AppInfo::VersionMajor)
        .arg(AppInfo::VersionMinor)
        .arg(AppInfo::VersionPatch);
}

void frmAbout::reject()
{
    accept();
}
