#pragma once

#include <QDialog>
#include <QString>

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
