#pragma once

#include <QString>
#include <QStringList>
#include <QLocale>
#include <QTranslator>

namespace language {

// The program's texts in the user's language while it exists: the program's
// own translation, from its resources, and Qt's for its standard dialogs and
// buttons and the web engine's for a page's context menu, from Qt's
// translations folder, installed in the application.
class Translators
{
public:
    // Takes the first of uiLanguages (most wanted first, as
    // QLocale::uiLanguages() gives them) that the program speaks. English, or
    // none of them, leaves the program's own texts; Qt's follow the program's
    // language, so no window mixes two. The application object must exist.
    explicit Translators(const QStringList &uiLanguages);
    Translators(const Translators &) = delete;
    Translators &operator=(const Translators &) = delete;

    // The program's language ("de"), empty while it speaks English.
    QString language() const { return m_language; }
    // Whether Qt's translation for that language was found.
    bool qtTranslated() const { return !m_qt.isEmpty(); }
    // Whether the web engine's translation for it was found (Qt 6.4 has
    // German and Spanish, not French).
    bool engineTranslated() const { return !m_engine.isEmpty(); }

private:
    QString m_language;
    QTranslator m_program; // removed from the application when destroyed
    QTranslator m_qt;
    QTranslator m_engine;
};

} // namespace language
