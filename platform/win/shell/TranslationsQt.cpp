#include "platform/win/shell/TranslationsQt.h"

#include "platform/core/Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

void AfxLoadQtTranslations() {
    static std::unique_ptr<QTranslator> pLoaded;
    if (pLoaded) {
        QCoreApplication::removeTranslator(pLoaded.get());
        pLoaded.reset();
    }
    const LANGID wLanguage = GetThreadUILanguage();
    if (PRIMARYLANGID(wLanguage) == LANG_ENGLISH)
        return;
    // Debian's qt6-translations-l10n puts qtbase_de.qm and the others here.
    auto pTranslator = std::make_unique<QTranslator>();
    const QLocale locale(QString::fromStdString(AfxLanguageCode(wLanguage)));
    if (pTranslator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        QCoreApplication::installTranslator(pTranslator.get()))
        pLoaded = std::move(pTranslator);
}
