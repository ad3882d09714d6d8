#pragma once

#include <QSettings>

// The editor's own settings file (recent files, window geometry).
class AppSettings : public QSettings
{
public:
    AppSettings() : QSettings(QStringLiteral("Quillmere"), QStringLiteral("quillmere")) {}
};
