#include "startup.h"

#include "identity.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QtWebEngineCore/qtwebenginecoreglobal.h>

#include <cstdio>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace startup {

namespace {
const QString NoSandbox = QStringLiteral("no-sandbox");

// Said on stderr when the program will not run as root with the sandbox on.
constexpr char RefusalLine[] = QT_TRANSLATE_NOOP("startup",
    "velmora: refusing to run as root: the web engine's sandbox, which shuts web pages off from the system, "
    "cannot run as root; run Velmora as an ordinary user, or start it with --no-sandbox to run it without the "
    "sandbox\n");

bool runningAsRoot()
{
#ifdef Q_OS_UNIX
    return geteuid() == 0;
#else
    return false;
#endif
}

void describe(QCommandLineParser &parser)
{
    // "-reverse" and "-stylesheet" are Qt's own options, not runs of one-letter ones.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(QCoreApplication::translate("startup", "A small desktop browser shell."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption({NoSandbox, QCoreApplication::translate("startup", "Run the web engine without its sandbox, as "
                                                                        "it must run as root. Web pages then run with "
                                                                        "the program's rights.")});
}

// Qt's own options, which the application object takes out of the command
// line later; known here so that they are not mistaken for unknown ones.
void acceptQtOptions(QCommandLineParser &parser)
{
    static const char *const withValue[] = {"platform", "platformpluginpath", "platformtheme", "plugin",
                                            "qwindowgeometry", "qwindowicon", "qwindowtitle", "display",
                                            "geometry", "title", "name", "style", "stylesheet", "session",
                                            "qmljsdebugger", "visual", "widgetcount"};
    static const char *const flags[] = {"reverse", "nograb", "dograb", "sync", "testability"};
    for (const char *name : withValue) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char *name : flags) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

// The arguments that are the program's: those after --webEngineArgs are the engine's.
QStringList ownArguments(const QStringList &arguments)
{
    return arguments.mid(0, arguments.indexOf(QStringLiteral("--webEngineArgs")));
}
} // namespace

Decision decide(const QStringList &arguments, bool asRoot, const QByteArray &sandboxVariable)
{
    QCommandLineParser parser;
    describe(parser);
    acceptQtOptions(parser);
    const bool parsed = parser.parse(ownArguments(arguments));
    Decision decision;
    decision.withoutSandbox = parser.isSet(NoSandbox);
    if (!parsed && !parser.isSet(QStringLiteral("help")) && !parser.isSet(QStringLiteral("help-all"))) {
        decision.action = Action::RejectOption;
        decision.error = parser.errorText();
    } else if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all")))
        decision.action = Action::ShowHelp;
    else if (parser.isSet(QStringLiteral("version")))
        decision.action = Action::ShowVersion;
    else if (asRoot && !decision.withoutSandbox && sandboxVariable != "1")
        decision.action = Action::Refuse;
    return decision;
}

QString versionText()
{
    return QCoreApplication::translate("startup",
                                       "%1 %2\nQt WebEngine %3\nChromium %4, with security patches up to %5\n")
        .arg(QLatin1String(identity::Title), QLatin1String(identity::Version), QLatin1String(qWebEngineVersion()),
             QLatin1String(qWebEngineChromiumVersion()), QLatin1String(qWebEngineChromiumSecurityPatchVersion()));
}

std::optional<int> beforeApplication(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const Decision decision = decide(arguments, runningAsRoot(), qgetenv(SandboxVariable));
    switch (decision.action) {
    case Action::ShowHelp: {
        // The help names the program as it was started, which only an
        // application object knows.
        const QCoreApplication app(argc, argv);
        QCommandLineParser parser;
        describe(parser);
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    case Action::ShowVersion:
        std::fputs(qPrintable(versionText()), stdout);
        return 0;
    case Action::Refuse:
        std::fputs(qPrintable(QCoreApplication::translate("startup", RefusalLine)), stderr);
        return 1;
    case Action::RejectOption:
        std::fputs(qPrintable(QStringLiteral("%1: %2\n").arg(QLatin1String(identity::Title), decision.error)), stderr);
        return 1;
    case Action::Run:
        break;
    }
    if (decision.withoutSandbox)
        qputenv(SandboxVariable, "1");
    return std::nullopt;
}

} // namespace startup
