#pragma once

#include <QString>

#include <functional>
#include <map>

class QWidget;

// Factories of property pages keyed by type name (matched ignoring letter case).
class PageRegistry
{
public:
    using Factory = std::function<QWidget *(QWidget *parent)>;

    static PageRegistry &instance();

    // A later registration under the same name replaces the earlier one.
    void registerType(const QString &typeName, Factory factory);
    bool contains(const QString &typeName) const;
    // The new widget, or null with *error set to why it could not be created.
    QWidget *create(const QString &typeName, QWidget *parent, QString *error) const;

private:
    std::map<QString, Factory> m_factories; // folded name -> factory
};
