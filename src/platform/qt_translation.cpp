#include "platform/qt_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdlib>

#include "platform/translation.h"

namespace platform {

void installTranslations(const std::string& runtimeFolder) {
    const std::vector<std::string> names = translationNames(messagesLocale(std::getenv));
    if (names.empty()) return;  // C and POSIX: the source texts
    auto* own = new QTranslator(QCoreApplication::instance());
    const QString folder = runtimeFolder.empty()
                               ? QStringLiteral("translations/")
                               : QString::fromStdString(runtimeFolder) + QStringLiteral("/translations/");
    for (const std::string& name : names) {
        if (own->load(folder + QString::fromStdString(name) + QStringLiteral(".qm"))) {
            QCoreApplication::installTranslator(own);
            // Qt's buttons in the same language, where Qt has them.
            const QString qt =
                QString::fromStdString(name).replace(QStringLiteral("vantrel_"), QStringLiteral("qtbase_"));
            auto* base = new QTranslator(QCoreApplication::instance());
            if (base->load(qt, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
                QCoreApplication::installTranslator(base);
            break;
        }
    }
    setTranslationHook([](const char* context, const char* source) {
        return QCoreApplication::translate(context, source).toStdString();
    });
}

}  // namespace platform
