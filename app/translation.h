#pragma once

#include <QString>

class QTranslator;

// Resource path of the catalogue for a locale name, empty when the
// interface stays in its English source texts.
QString catalogueForLocale(const QString &localeName);

// Loads the catalogue chosen for the locale; a failed load leaves the
// interface untranslated.
void loadCatalogueForLocale(QTranslator &translator, const QString &localeName);
