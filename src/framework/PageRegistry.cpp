#include "framework/PageRegistry.h"

#include <QWidget>

namespace {

QString foldedName(const QString &typeName)
{
    return typeName.toCaseFolded();
}

} // namespace

PageRegistry &PageRegistry::instance()
{
    static PageRegistry registry;
    return registry;
}

void PageRegistry::registerType(const QString &typeName, Factory factory)
{
    m_factories[foldedName(typeName)] = std::move(factory);
}

bool PageRegistry::contains(const QString &typeName) const
{
    return m_factories.count(foldedName(typeName)) != 0;
}

QWidget *PageRegistry::create(const QString &typeName, QWidget *parent, QString *error) const
{
    const auto found = m_factories.find(foldedName(typeName));
    if (found == m_factories.end()) {
        if (error)
            *error = QStringLiteral("未注册的控件类型。");
        return nullptr;
    }
    QWidget *widget = found->second ? found->second(parent) : nullptr;
    if (!widget && error)
        *error = QStringLiteral("控件创建失败。");
    return widget;
}
