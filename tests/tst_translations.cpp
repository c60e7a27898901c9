#include "download.h"
#include "downloadswindow.h"
#include "fakewebview.h"
#include "frmmain.h"
#include "language.h"
#include "pagefixture.h"
#include "pictureimage.h"
#include "startpage.h"
#include "testmain.h"
#include "widgetfixture.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QMenuBar>
#include <QFile>
#include <QLibraryInfo>
#include <QPlainTextEdit>
#include <QProcess>
#include <QScopeGuard>
#include <QRegularExpression>
#include <QTextDocumentFragment>
#include <QTreeWidget>
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

// A text as compared: without its access letter, a closing "..." or ":",
// and the spaces around it.
QString bare(QString text)
{
    text.replace(QLatin1String("&&"), QStringLiteral("\u0001")).remove(u'&').replace(u'\u0001', u'&');
    for (const QString &end : {QStringLiteral("..."), QStringLiteral(":")}) {
        if (text.endsWith(end))
            text.chop(end.size());
    }
    return text.trimmed();
}

// The English texts that the language's file says otherwise, each line as a
// pattern that any value fits in place of its %1: a window showing one is
// showing the text untranslated (looked up under the wrong context, say).
// Texts with fewer than two letters of their own say too little to tell.
QList<QRegularExpression> englishOnly(const QList<Message> &messages)
{
    QList<QRegularExpression> patterns;
    for (const Message &m : messages) {
        if (m.translation == m.source)
            continue;
        for (const QString &line : m.source.split(QRegularExpression(QStringLiteral("\r?\n")))) {
            const QString text = bare(line);
            if (QString(text).remove(QRegularExpression(QStringLiteral("%\\d+|\\W|\\d"))).size() < 2)
                continue;
            QString pattern = QRegularExpression::escape(text);
            pattern.replace(QRegularExpression(QStringLiteral("%\\d+")), QStringLiteral(".*"));
            patterns << QRegularExpression(QRegularExpression::anchoredPattern(pattern));
        }
    }
    return patterns;
}

// Every text a window shows, or says to a screen reader: its title, and of
// each control shown its text, tooltip and names, list items and headers,
// menus and their items, a picture's caption. `letters` gets the access
// letters Alt presses in it: its menus' and its own controls'.
QStringList visibleTexts(QWidget *window, QString *letters)
{
    QStringList texts{window->windowTitle()};
    QWidgetList widgets = window->findChildren<QWidget *>();
    widgets.prepend(window);
    for (QWidget *w : widgets) {
        if (w != window && !w->isVisibleTo(window))
            continue;
        const bool own = w->window() == window;
        texts << w->toolTip() << w->accessibleName() << w->accessibleDescription();
        if (auto *label = qobject_cast<QLabel *>(w)) {
            texts << QTextDocumentFragment::fromHtml(label->text()).toPlainText().split(u'\n');
            *letters += own && label->buddy() ? mnemonics(label->text()) : QString();
        }
        if (auto *button = qobject_cast<QAbstractButton *>(w)) {
            texts << button->text();
            *letters += own ? mnemonics(button->text()) : QString();
        }
        if (auto *text = qobject_cast<QPlainTextEdit *>(w))
            texts << text->toPlainText().split(u'\n');
        if (auto *image = qobject_cast<PictureImage *>(w))
            texts << image->caption();
        if (auto *tree = qobject_cast<QTreeWidget *>(w)) {
            for (int column = 0; column < tree->columnCount(); ++column)
                texts << tree->headerItem()->text(column);
            for (int row = 0; row < tree->topLevelItemCount(); ++row)
                texts << tree->topLevelItem(row)->text(0);
        }
        for (QAction *menu : own && qobject_cast<QMenuBar *>(w) ? w->actions() : QList<QAction *>()) {
            texts << menu->text();
            *letters += mnemonics(menu->text());
            for (QAction *item : menu->menu()->actions())
                texts << item->text();
        }
    }
    texts.removeAll(QString());
    return texts;
}
} // namespace

// The German, French and Spanish texts: current with the sources, complete,
// and what the user sees when the program starts in that language.
class TestTranslations : public QObject, PageFixture
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
        const QStringList de{"&Seite", "&Ansicht", "&Lesezeichen", "&Hilfe"}, es{"&Página", "&Ver", "&Marcadores", "A&yuda"},
            en{"&Page", "&View", "&Bookmark", "&Help"};
        QTest::newRow("de-DE") << QStringList{"de-DE", "de"} << "de" << de;
        QTest::newRow("de-CH") << QStringList{"de-CH"} << "de" << de;
        QTest::newRow("fr-CA") << QStringList{"fr-CA"} << "fr" << QStringList{"&Page", "A&ffichage", "&Signets", "&Aide"};
        QTest::newRow("es-MX") << QStringList{"es-MX"} << "es" << es;
        QTest::newRow("it, then es") << QStringList{"it-IT", "es-ES"} << "es" << es;
        QTest::newRow("en, then de") << QStringList{"en-US", "de"} << "" << en;
        QTest::newRow("C") << QStringList{"C"} << "" << en;
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

    // The start page built into the program speaks the user's language,
    // every line of it, the reason an address was refused included.
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
        startpage::Form form;
        form.typed = QStringLiteral("file:///etc/passwd");
        form.refusal = schemes::webAddress(form.typed).refusal;
        form.userFile = QStringLiteral("~/.config/Velmora/velmora.conf");
        const QString page = QString::fromUtf8(startpage::html(form));
        for (const QString &part : words.split(u'|'))
            QVERIFY2(page.contains(part), qPrintable(page));
        const QList<QRegularExpression> english = englishOnly(readMessages(tsFile(language)));
        for (const QString &line : QTextDocumentFragment::fromHtml(page).toPlainText().split(u'\n')) {
            for (const QRegularExpression &pattern : english)
                QVERIFY2(!pattern.match(bare(line)).hasMatch(), qPrintable(line));
        }
    }

    // Each window as the user sees it in German, French and Spanish, over the
    // engine: the main window with its menus, the find bar and the notice of
    // an old engine, About, the list of keys (the keys as the language writes
    // them) and the Downloads window with a download on its way. No text is
    // English where the translation says otherwise, and no two controls of a
    // window share an access letter.
    void windowsInUserLanguage_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("ctrlF"); // Ctrl+F as the language writes it
        QTest::newRow("de") << "de" << "Strg+F";
        QTest::newRow("fr") << "fr" << "Ctrl+F";
        QTest::newRow("es") << "es" << "Control+F";
    }
    void windowsInUserLanguage()
    {
        QFETCH(QString, language);
        QFETCH(QString, ctrlF);
        const language::Translators translators({language});
        const QLocale before;
        QLocale::setDefault(QLocale(language));
        const auto restore = qScopeGuard([&] {
            tearDown();
            QLocale::setDefault(before);
        });
        setUp();
        window->command(PageCommand::Find)->trigger();
        window->mnuAbout->trigger();
        window->mnuKeys->trigger();
        // A download that stops half way: 4 MB of 8.
        HttpServer::Page file{QByteArray(8 << 20, 'x'), "application/zip"};
        file.headers = "Content-Disposition: attachment; filename=\"deals.zip\"\r\n";
        file.stall = true;
        server->setPage("/deals.zip", file);
        bool answered = false;
        ModalWatch answer([&](QWidget *dialog) {
            if (auto *save = qobject_cast<QFileDialog *>(dialog); save && save->isVisible() && !answered) {
                answered = true;
                answerSave(save, folder.filePath(QStringLiteral("deals.zip")));
            }
        });
        view->Navigate(server->url("/deals.zip"));
        QTRY_VERIFY_WITH_TIMEOUT(window->downloadsWindow() && window->downloadsWindow()->isVisible(), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(session->downloads().all().value(0)
                                     && session->downloads().all().value(0)->receivedBytes() > 0, 20000);
        QApplication::processEvents();

        const QList<QRegularExpression> english = englishOnly(readMessages(tsFile(language)));
        QStringList names;
        for (QWidget *shown : QApplication::topLevelWidgets()) {
            if (!shown->isVisible())
                continue;
            names << shown->objectName();
            QString letters;
            for (const QString &text : visibleTexts(shown, &letters)) {
                for (const QRegularExpression &pattern : english)
                    QVERIFY2(!pattern.match(bare(text)).hasMatch(),
                             qPrintable(shown->objectName() + ": \"" + text + "\" is English"));
            }
            // Two controls with one letter: Alt and it would press neither.
            for (const QChar letter : letters)
                QVERIFY2(letters.count(letter) == 1, qPrintable(shown->objectName() + ": two controls have " + letter));
        }
        names.sort();
        QCOMPARE(names, (QStringList{"downloadsWindow", "frmAbout", "frmMain", "keysWindow"}));
        auto *keys = window->findChild<QTreeWidget *>(QStringLiteral("keyList"));
        QVERIFY(keys);
        // (A newer Qt gives Find more keys than one: Ctrl+F is among them.)
        QVERIFY(!keys->findItems(ctrlF, Qt::MatchContains, 1).isEmpty());
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
        // As from a terminal with no display: a refusal is said there alone,
        // not in a window too.
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
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
