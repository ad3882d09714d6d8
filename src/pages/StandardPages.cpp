#include "pages/StandardPages.h"

#include "framework/PageRegistry.h"
#include "pages/font/StyleFont.h"
#include "pages/para/StylePara.h"

void registerStandardPages()
{
    PageRegistry &registry = PageRegistry::instance();
    registry.registerType(QStringLiteral("Quillmere.StyleFont"),
                          [](QWidget *parent) { return new StyleFont(parent); });
    registry.registerType(QStringLiteral("Quillmere.StylePara"),
                          [](QWidget *parent) { return new StylePara(parent); });
}
