#include "translation.h"

#include <QTranslator>

QString catalogueForLocale(const QString &localeName)
{
    // Traditional Chinese locales get the Simplified catalogue as well.
    if (localeName.contains(QLatin1String("zh_CN")) || localeName.contains(QLatin1String("zh_TW")))
        return QStringLiteral(":images/zh_CN.qm");
    return QString();
}

void loadCatalogueForLocale(QTranslator &translator, const QString &localeName)
{
    const QString path = catalogueForLocale(localeName);
    if (!path.isEmpty())
        (void)translator.load(path);
}
