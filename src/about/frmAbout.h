#pragma once

#include <QDialog>
#include <QString>

// Texts of the About dialog.
namespace frmAboutText {
inline const QString CaptionPrefix = QStringLiteral("关于 ");
inline const QString VersionPrefix = QStringLiteral("版本 ");
inline const QString Description = QStringLiteral("© 澜石人 Quillmere 项目。保留所有权利。");
inline const QString Disclaimer = QStringLiteral(
    "警告: 本程序按“原样”提供，不附带任何明示或暗示的担保。"
    "因使用本程序而造成的任何损失，作者与权利人概不负责。");
inline const QString IconName = QStringLiteral("程序图标");
inline const QString OK = QStringLiteral("确定");
} // namespace frmAboutText

// Modal window with the application's title, version and legal notice.
class frmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(QWidget *parent = nullptr);

    // Major.minor.patch in plain decimal, e.g. "3.6.0".
    static QString versionText();

public slots:
    // There is nothing to cancel: the close box and Esc close it as OK does.
    void reject() override;
};
