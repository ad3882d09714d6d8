#include "pages/grid/CssPropertyNames.h"

#include <QRegularExpression>
#include <QSet>

bool IsKnownPropertyName(const QString &name)
{
    static const QSet<QString> listed(CssPropertyNames().cbegin(), CssPropertyNames().cend());
    static const QRegularExpression customOrVendor(QStringLiteral("^-(-|[a-z0-9]+-)"),
                                                   QRegularExpression::CaseInsensitiveOption);
    return listed.contains(name.toLower()) || customOrVendor.match(name).hasMatch();
}
