#include "fakewebview.h"
#include "frmmain.h"
#include "language.h"
#include "startpage.h"
#include "testmain.h"

#include <QMenuBar>
#include <QFile>
#include <QLibraryInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <memory>

namespace {
struct Message
{
    QString context, source, translation, type;
};

// The messages of a .ts file, <byte value="xd"/> read as the CR it stands for.
QList<Message> readMessages(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QXmlStreamReader xml(&file);
    QList<Message> messages;
    QString context, *text = nullptr;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const auto name = xml.name();
            if (name == QLatin1String("name"))
                context = xml.readElementText();
            else if (name == QLatin1String("message"))
                messages.append({context, {}, {}, {}});
            else if (name == QLatin1String("source"))
                text = &messages.last().source;
            else if (name == QLatin1String("translation")) {
                text = &messages.last().translation;
                messages.last().type = xml.attributes().value(QLatin1String("type")).toString();
            } else if (name == QLatin1String("byte") && text)
                *text += QChar(xml.attributes().value(QLatin1String("value")).toString().toUInt(nullptr, 16));
        } else if (xml.isCharacters() && text)
            *text += xml.text();
        else if (xml.isEndElement() && (xml.name() == QLatin1String("source") || xml.name() == QLatin1String("translation")))
            text = nullptr;
    }
    return xml.hasError() ? QList<Message>{} : messages;
}

QStringList placeholders(const QString &text)
{
    QStringList found;
    for (const QRegularExpressionMatch &m : QRegularExpression(QStringLiteral("%\\d")).globalMatch(text))
        found << m.captured();
    found.sort();
    return found;
}

// The letters marked with a single "&" ("&&" is an ampersand).
QString mnemonics(QString text)
{
    text.remove(QLatin1String("&&"));
    QString letters;
    for (qsizetype i = text.indexOf(u'&'); i >= 0 && i + 1 < text.size(); i = text.indexOf(u'&', i + 1))
        letters += text.at(i + 1).toLower();
    return letters;
}

QString tsFile(const QString &language)
{
    return QStringLiteral(VELMORA_TS_DIR "/velmora_%1.ts").arg(language);
}
} // namespace

// The German, French and Spanish texts: current with the sources, complete,
// and what the user sees when the program starts in that language.
class TestTranslations : public QObject
{
    Q_OBJECT

    void languageRows()
    {
        QTest::addColumn<QString>("language");
        for (const char *language : {"de", "fr", "es"})
            QTest::newRow(language) << QString::fromLatin1(language);
    }

private slots:
    void cleanup()
    {
        const QWidgetList left = QApplication::topLevelWidgets();
        for (QWidget *w : left)
            delete w;
    }

    void currentWithSources_data() { languageRows(); }
    void currentWithSources()
    {
        // lupdate over a copy changes nothing: no text is missing and none is left over.
        QFETCH(QString, language);
        QTemporaryDir work;
        const QString copy = work.filePath(QFileInfo(tsFile(language)).fileName());
        QVERIFY(QFile::copy(tsFile(language), copy));
        QProcess lupdate;
        lupdate.setProcessChannelMode(QProcess::MergedChannels);
        lupdate.start(QStringLiteral(VELMORA_LUPDATE),
                      QString::fromUtf8(VELMORA_LUPDATE_OPTIONS).split(u'|')
                          << QStringLiteral("@" VELMORA_TEXT_SOURCES) << QStringLiteral("-ts") << copy);
        QVERIFY2(lupdate.waitForFinished(60000), "lupdate did not finish");
        QVERIFY2(lupdate.exitCode() == 0, lupdate.readAll().constData());
        const QList<Message> committed = readMessages(tsFile(language)), updated = readMessages(copy);
        QVERIFY(!updated.isEmpty());
        for (const Message &m : updated)
            QVERIFY2(m.type.isEmpty(), qPrintable(QStringLiteral("%1 \"%2\" is %3 after lupdate: run the "
                                                                 "update_translations target and translate it")
                                                      .arg(m.context, m.source, m.type)));
        QCOMPARE(committed.size(), updated.size());
    }

    // What the desktop's menus and software centres show of the program.
    void desktopEntryTranslated_data() { languageRows(); }
    void desktopEntryTranslated()
    {
        QFETCH(QString, language);
        QFile entry(QStringLiteral(VELMORA_TS_DIR "/../packaging/velmora.desktop"));
        QFile metainfo(QStringLiteral(VELMORA_TS_DIR "/../packaging/example.velmora.Velmora.metainfo.xml"));
        QVERIFY(entry.open(QIODevice::ReadOnly) && metainfo.open(QIODevice::ReadOnly));
        const QString lines = QString::fromUtf8(entry.readAll());
        for (const QString &key : {QStringLiteral("Comment"), QStringLiteral("GenericName")})
            QVERIFY2(lines.contains(QStringLiteral("\n%1[%2]=").arg(key, language)), qPrintable(key));
        QVERIFY(QString::fromUtf8(metainfo.readAll()).contains(QStringLiteral("<summary xml:lang=\"%1\">").arg(language)));
    }

    void everyTextTranslated_data() { languageRows(); }
    void everyTextTranslated()
    {
        QFETCH(QString, language);
        const QList<Message> messages = readMessages(tsFile(language));
        QVERIFY(!messages.isEmpty());
        for (const Message &m : messages) {
            const QByteArray where = (m.context + QLatin1String(": ") + m.source).toUtf8();
            QVERIFY2(m.type.isEmpty() && !m.translation.isEmpty(), where.constData());
            QVERIFY2(placeholders(m.translation) == placeholders(m.source), where.constData());
            QVERIFY2(mnemonics(m.translation).size() == mnemonics(m.source).size(), where.constData());
        }
    }

    void menusInUserLanguage_data()
    {
        QTest::addColumn<QStringList>("uiLanguages");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("menus");
        QTest::newRow("de-DE") << QStringList{"de-DE", "de"} << "de" << QStringList{"&Seite", "&Lesezeichen", "&Hilfe"};
        QTest::newRow("de-CH") << QStringList{"de-CH"} << "de" << QStringList{"&Seite", "&Lesezeichen", "&Hilfe"};
        QTest::newRow("fr-CA") << QStringList{"fr-CA"} << "fr" << QStringList{"&Page", "&Signets", "&Aide"};
        QTest::newRow("es-MX") << QStringList{"es-MX"} << "es" << QStringList{"&Página", "&Marcadores", "A&yuda"};
        QTest::newRow("it, then es") << QStringList{"it-IT", "es-ES"} << "es" << QStringList{"&Página", "&Marcadores", "A&yuda"};
        QTest::newRow("en, then de") << QStringList{"en-US", "de"} << "" << QStringList{"&Page", "&Bookmark", "&Help"};
        QTest::newRow("C") << QStringList{"C"} << "" << QStringList{"&Page", "&Bookmark", "&Help"};
    }
    void menusInUserLanguage()
    {
        QFETCH(QStringList, uiLanguages);
        QFETCH(QString, language);
        QFETCH(QStringList, menus);
        const language::Translators translators(uiLanguages);
        QCOMPARE(translators.language(), language);
        frmMain window([](QWidget *parent) { return new FakeWebView(parent); }, QStringLiteral("http://127.0.0.1:9/"));
        QStringList titles;
        for (QAction *menu : window.menuBar()->actions())
            titles << menu->text();
        QCOMPARE(titles, menus);
    }

    void mnemonicsUniquePerMenu_data() { languageRows(); }
    void mnemonicsUniquePerMenu()
    {
        QFETCH(QString, language);
        const language::Translators translators({language});
        frmMain window([](QWidget *parent) { return new FakeWebView(parent); }, QStringLiteral("http://127.0.0.1:9/"));
        QList<QList<QAction *>> menus{window.menuBar()->actions()};
        for (QAction *menu : window.menuBar()->actions())
            menus << menu->menu()->actions();
        for (const QList<QAction *> &actions : menus) {
            QString seen;
            for (QAction *action : actions) {
                const QString letters = mnemonics(action->text());
                // Every item and menu has its letter, for the keyboard alone.
                QVERIFY2(action->isSeparator() || letters.size() == 1, qPrintable(action->text()));
                QVERIFY2(letters.isEmpty() || !seen.contains(letters), qPrintable(action->text()));
                seen += letters;
            }
        }
    }

    // The start page built into the program speaks the user's language.
    void startPageInUserLanguage_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("words");
        QTest::newRow("de") << "de" << "lang=\"de\"|Für Velmora ist noch keine Website eingestellt";
        QTest::newRow("fr") << "fr" << "lang=\"fr\"|Aucun site n’est encore défini pour Velmora";
        QTest::newRow("es") << "es" << "lang=\"es\"|Velmora aún no tiene ningún sitio";
    }
    void startPageInUserLanguage()
    {
        QFETCH(QString, language);
        QFETCH(QString, words);
        const language::Translators translators({language});
        const QString page = QString::fromUtf8(startpage::html());
        for (const QString &part : words.split(u'|'))
            QVERIFY2(page.contains(part), qPrintable(page));
    }

    // Qt's dialogs, and the page's context menu, which the web engine
    // writes (Qt 6.4 has its texts in German and Spanish, not French).
    void qtDialogsInUserLanguage_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("cancel");
        QTest::addColumn<QString>("engineContext");
        QTest::addColumn<QString>("engineSource");
        QTest::addColumn<QString>("engineText");
        QTest::newRow("de") << "de" << "Abbrechen" << "RenderViewContextMenuQt" << "Save page" << "Seite speichern";
        QTest::newRow("fr") << "fr" << "Annuler" << "" << "" << "";
        QTest::newRow("es") << "es" << "Cancelar" << "QWebEnginePage" << "Back" << "Atrás";
        QTest::newRow("it: English like the program")
            << "it" << "Cancel" << "RenderViewContextMenuQt" << "Save page" << "Save page";
    }
    void qtDialogsInUserLanguage()
    {
        QFETCH(QString, language);
        QFETCH(QString, cancel);
        QFETCH(QString, engineContext);
        QFETCH(QString, engineSource);
        const language::Translators translators({language});
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), cancel);
        if (!engineContext.isEmpty()) {
            QTEST(QCoreApplication::translate(engineContext.toLatin1(), engineSource.toLatin1()), "engineText");
            QCOMPARE(translators.engineTranslated(), language != "it");
        }
    }

    // The program itself, as the user starts it: LANGUAGE picks the language
    // of its help and of its refusals, Qt's own words for them included.
    void helpInUserLanguage_data()
    {
        QTest::addColumn<QString>("languageVariable");
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("line");
        const QString help("--help");
        QTest::newRow("de") << "de" << help << "Eine kleine Browser-Oberfläche für den Desktop.";
        QTest::newRow("fr") << "fr_FR" << help << "Un petit navigateur de bureau.";
        QTest::newRow("it:es") << "it:es" << help << "Un pequeño navegador de escritorio.";
        QTest::newRow("en:de") << "en:de" << help << "A small desktop browser shell.";
        QTest::newRow("de, an unknown option") << "de" << "--bogus" << "velmora: Unbekannte Option 'bogus'.";
        QTest::newRow("es, a file") << "es" << "file:///etc/passwd"
                                    << "velmora: solo se pueden abrir páginas web (http o https), no "
                                       "\"file:///etc/passwd\"";
    }
    void helpInUserLanguage()
    {
        QFETCH(QString, languageVariable);
        QFETCH(QString, argument);
        QFETCH(QString, line);
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LANGUAGE"), languageVariable);
        environment.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
        environment.remove(QStringLiteral("LC_ALL"));
        environment.remove(QStringLiteral("LC_MESSAGES"));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(VELMORA_PROGRAM), {argument});
        QVERIFY(program.waitForFinished(60000));
        QCOMPARE(program.exitCode(), argument == "--help" ? 0 : 1);
        const QByteArray said = argument == "--help" ? program.readAllStandardOutput() : program.readAllStandardError();
        const QStringList lines = QString::fromLocal8Bit(said).split(u'\n');
        QVERIFY2(lines.contains(line), qPrintable(lines.join(u'\n')));
    }
};

VELMORA_TEST_MAIN(TestTranslations)
#include "tst_translations.moc"
