#include "pages/StandardPages.h"

#include "framework/PageRegistry.h"
#include "pages/font/StyleFont.h"
#include "pages/grid/VvsEdit.h"
#include "pages/para/StylePara.h"
#include "pages/preview/cssPView.h"

void registerStandardPages()
{
    PageRegistry &registry = PageRegistry::instance();
    registry.registerType(QStringLiteral("Quillmere.StyleFont"),
                          [](QWidget *parent) { return new StyleFont(parent); });
    registry.registerType(QStringLiteral("Quillmere.StylePara"),
                          [](QWidget *parent) { return new StylePara(parent); });
    registry.registerType(QStringLiteral("Quillmere.VvsEdit"),
                          [](QWidget *parent) { return new VvsEdit(parent); });
    registry.registerType(QStringLiteral("Quillmere.cssPView"),
                          [](QWidget *parent) { return new cssPView(parent); });
}
