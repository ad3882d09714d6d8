#pragma once

#include <QObject>
#include <QStringList>

class QMenu;
class QTimer;

// The last stylesheets opened or saved, newest first, kept between runs and
// offered in a menu with numbered access keys.
class RecentFiles : public QObject
{
    Q_OBJECT

public:
    static constexpr int Capacity = 10;

    explicit RecentFiles(QMenu *menu, QObject *parent = nullptr);
    ~RecentFiles() override;

    QStringList paths() const { return m_paths; }
    // Puts path first (once) and drops the oldest beyond the capacity.
    void add(const QString &path);
    void remove(const QString &path);

signals:
    void openRequested(const QString &path);

private:
    void changed();
    void store();
    void rebuildMenu();

    QMenu *m_menu;
    QStringList m_paths;
    // Writing the settings file waits for the disk; it is done a moment after
    // a change, not while the user waits for the file just opened.
    QTimer *m_storeLater;
};
