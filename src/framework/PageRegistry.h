#pragma once

#include <QString>

#include <functional>
#include <map>

class QWidget;

// Why the registry could not create a page (shown to the user by the host).
namespace PageRegistryText {
inline const QString UnknownType = QStringLiteral("未注册的控件类型。");
inline const QString FactoryFailed = QStringLiteral("控件创建失败。");
} // namespace PageRegistryText

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
