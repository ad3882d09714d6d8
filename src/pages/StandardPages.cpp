#include "pages/StandardPages.h"

#include "framework/PageRegistry.h"
#include "pages/box/StyleBox.h"
#include "pages/font/StyleFont.h"
#include "pages/grid/VvsEdit.h"
#include "pages/locate/StyleLocate.h"
#include "pages/numbering/StyleNumbering.h"
#include "pages/para/StylePara.h"
#include "pages/preview/cssPView.h"
#include "pages/shade/StyleShade.h"

void registerStandardPages()
{
    PageRegistry &registry = PageRegistry::instance();
    registry.registerType(QStringLiteral("Quillmere.StyleFont"),
                          [](QWidget *parent) { return new StyleFont(parent); });
    registry.registerType(QStringLiteral("Quillmere.StylePara"),
                          [](QWidget *parent) { return new StylePara(parent); });
    registry.registerType(QStringLiteral("Quillmere.StyleBox"),
                          [](QWidget *parent) { return new StyleBox(parent); });
    registry.registerType(QStringLiteral("Quillmere.StyleShade"),
                          [](QWidget *parent) { return new StyleShade(parent); });
    registry.registerType(QStringLiteral("Quillmere.StyleNumbering"),
                          [](QWidget *parent) { return new StyleNumbering(parent); });
    registry.registerType(QStringLiteral("Quillmere.StyleLocate"),
                          [](QWidget *parent) { return new StyleLocate(parent); });
    registry.registerType(QStringLiteral("Quillmere.VvsEdit"),
                          [](QWidget *parent) { return new VvsEdit(parent); });
    registry.registerType(QStringLiteral("Quillmere.cssPView"),
                          [](QWidget *parent) { return new cssPView(parent); });
}
