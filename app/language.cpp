#include "language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

namespace language {

Translators::Translators(const QStringList &uiLanguages)
{
    for (const QString &name : uiLanguages) {
        const QLocale wanted(name);
        // English is what the program is written in; "C" is no language.
        if (wanted.language() == QLocale::English)
            return;
        if (wanted.language() == QLocale::C)
            continue;
        if (m_program.load(wanted, QStringLiteral("velmora"), QStringLiteral("_"), QStringLiteral(":/i18n"))) {
            m_language = QLocale::languageToCode(wanted.language());
            break;
        }
    }
    if (m_language.isEmpty())
        return;
    QCoreApplication::installTranslator(&m_program);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (m_qt.load(QLocale(m_language), QStringLiteral("qt"), QStringLiteral("_"), folder))
        QCoreApplication::installTranslator(&m_qt);
    if (m_engine.load(QLocale(m_language), QStringLiteral("qtwebengine"), QStringLiteral("_"), folder))
        QCoreApplication::installTranslator(&m_engine);
}

} // namespace language
