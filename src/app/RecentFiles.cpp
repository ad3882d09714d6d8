#include "app/RecentFiles.h"

#include "app/AppSettings.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QTimer>

namespace {
const QString SettingsKey = QStringLiteral("recentFiles");
}

RecentFiles::RecentFiles(QMenu *menu, QObject *parent)
    : QObject(parent)
    , m_menu(menu)
    , m_paths(AppSettings().value(SettingsKey).toStringList().mid(0, Capacity))
    , m_storeLater(new QTimer(this))
{
    m_storeLater->setSingleShot(true);
    m_storeLater->setInterval(500);
    connect(m_storeLater, &QTimer::timeout, this, &RecentFiles::store);
    rebuildMenu();
}

RecentFiles::~RecentFiles()
{
    if (m_storeLater->isActive())
        store();
}

void RecentFiles::add(const QString &path)
{
    const QString absolute = QDir(path).absolutePath();
    m_paths.removeAll(absolute);
    m_paths.prepend(absolute);
    m_paths = m_paths.mid(0, Capacity);
    changed();
}

void RecentFiles::remove(const QString &path)
{
    if (m_paths.removeAll(QDir(path).absolutePath()) > 0)
        changed();
}

void RecentFiles::changed()
{
    rebuildMenu();
    m_storeLater->start();
}

void RecentFiles::store()
{
    AppSettings().setValue(SettingsKey, m_paths);
}

void RecentFiles::rebuildMenu()
{
    m_menu->clear();
    for (int index = 0; index < m_paths.size(); ++index) {
        // 1 to 9 take their digit as access key, the tenth its 0.
        const QString number = index < 9 ? QStringLiteral("&%1").arg(index + 1) : QStringLiteral("1&0");
        const QString path = m_paths[index];
        QString caption = QDir::toNativeSeparators(path);
        caption.replace(u'&', QStringLiteral("&&"));
        QAction *entry = m_menu->addAction(number + u' ' + caption);
        connect(entry, &QAction::triggered, this, [this, path] { emit openRequested(path); });
    }
    m_menu->setEnabled(!m_paths.isEmpty());
}
