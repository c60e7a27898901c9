#include "bookmarkfile.h"
#include "deferredview.h"
#include "engineview.h"
#include "focusstyle.h"
#include "frmmain.h"
#include "identity.h"
#include "language.h"
#include "oneprogram.h"
#include "pagewindow.h"
#include "rendering.h"
#include "schemes.h"
#include "startup.h"
#include "errorpolicy.h"
#include "session.h"

#include <QApplication>
#include <QLoggingCategory>

#include <cstdio>
#include <optional>
#include <utility>

// The home page the program was built with; empty: none. The test build
// opens the page its tests serve, at the address they give in
// VELMORA_TEST_HOME_URL; the benchmark's build has its page compiled in.
static QString builtHomePage()
{
#if defined(VELMORA_HOME_FROM_ENVIRONMENT)
    if (qEnvironmentVariableIsSet("VELMORA_TEST_HOME_URL"))
        return qEnvironmentVariable("VELMORA_TEST_HOME_URL");
#elif defined(VELMORA_TEST_HOME_URL)
    return QStringLiteral(VELMORA_TEST_HOME_URL);
#endif
    return QString::fromUtf8(identity::HomePage);
}

int main(int argc, char *argv[])
{
    bookmarkfile::safefile::failWritesPastSizeLimit();
    startup::Decision decision;
    if (const std::optional<int> exitCode = startup::beforeApplication(argc, argv, decision))
        return *exitCode;
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // The engine's own variable, when set, takes the place of every engine
    // argument on the command line: the program's go into it.
    const std::optional<QString> flags = qEnvironmentVariableIsSet(startup::FlagsVariable)
        ? std::optional<QString>(qEnvironmentVariable(startup::FlagsVariable))
        : std::nullopt;
    const startup::EngineSetup engine = startup::engineArguments(arguments, decision, flags);
    if (engine.flags)
        qputenv(startup::FlagsVariable, engine.flags->toLocal8Bit());
    startup::ArgumentVector applicationArguments(engine.application);
    const bool software = rendering::chooseBeforeApplication();
    schemes::registerOwn();
    // Without OpenGL, the window system and the engine say so as they start:
    // expected here, so said only with --verbose.
    const rendering::QuietNoOpenGl quietNoOpenGl(software && !decision.verbose);
    // The engine builds the tree a screen reader reads of the page's content
    // only when asked to on Linux: without it, a page is an empty document.
    if (!qEnvironmentVariableIsSet("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY"))
        qputenv("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY", "1");
    // Quiet unless asked: set before the application object, whose making
    // and the engine's start are what write the most.
    QLoggingCategory::setFilterRules(startup::loggingRules(decision.verbose, software));
    QApplication app(applicationArguments.count(), applicationArguments.values());
    // The style the user chose (-style, the desktop's), with a focus ring that can be seen.
    QApplication::setStyle(new FocusStyle(QApplication::style()->name()));
    const language::Translators translators(QLocale().uiLanguages()); // the user's language, before any text
    for (const QString &line :
         startup::sandboxWarnings(arguments, decision, flags, qEnvironmentVariableIsSet(startup::SandboxVariable)))
        std::fputs(qPrintable(line), stderr);
    rendering::keepChoiceFromChildren(software);
    QApplication::setApplicationName(QString::fromLatin1(identity::Title));
    QApplication::setApplicationVersion(QString::fromLatin1(identity::Version));

    // A second start of this copy hands over to the one running (with the
    // page it was given) and ends, before the engine starts: two programs
    // would fight over the profile.
    OneProgram oneProgram(OneProgram::place(QCoreApplication::applicationDirPath()));
    if (oneProgram.start(decision.address) == OneProgram::Outcome::HandedOver)
        return 0;

    // Outlives every page, ends before the engine. Its web profile, and so
    // the engine, starts when the first view needs it: the window comes up
    // first, and the engine's view takes its place once it has been drawn.
    Session session;
    // The home page as the settings give it at each use, a velmora.conf
    // changed since start included; what is wrong with them is said once,
    // at start.
    QStringList warnings;
    bool started = false;
    session.setHomePage([&session, &warnings, &started, built = builtHomePage()] {
        QStringList said;
        const QString home = startup::homePage(session.settings().value(Settings::Key::HomePage),
                                               Settings::defaultFile(), Settings::systemValue(Settings::Key::HomePage),
                                               Settings::systemFile(), built, said);
        if (!started)
            warnings << said;
        return home;
    });
    const QString home = session.homePage();
    started = true;
    for (const QString &line : std::exchange(warnings, {}))
        std::fputs(qPrintable(line), stderr);
    frmMain window(
        [&session](QWidget *parent) {
            return new DeferredView(
                [&session](QWidget *place) {
                    // Windows its pages open belong to the program's window.
                    return new EngineView(session, place, PageWindow::maker(session, place->window()));
                },
                parent);
        },
        home, &session);
    // Profile folders that others could read are not used: said once the
    // engine has started, after the window is up.
    QObject::connect(
        &session, &Session::profileProblemFound, &window,
        [&window](const QString &problem) { tellUser(&window, problem); }, Qt::QueuedConnection);
    window.Form_Load(decision.address);
    QObject::connect(&oneProgram, &OneProgram::openRequested, &window, &frmMain::OpenAddress);
    // A later start's refused address is told over the window it brought up,
    // once that start has had its answer.
    QObject::connect(
        &oneProgram, &OneProgram::refusalHandedOver, &window,
        [&window](const QString &reason) { tellUser(&window, startup::refusalText(reason)); }, Qt::QueuedConnection);
    oneProgram.setWindow(&window);
    return app.exec();
}
