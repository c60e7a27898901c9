#include "startup.h"

#include "errorpolicy.h"
#include "identity.h"
#include "language.h"
#include "oneprogram.h"
#include "schemes.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QUrl>
#include <QtWebEngineCore/qtwebenginecoreglobal.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <utility>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace startup {

namespace {
const QString NoSandbox = QStringLiteral("no-sandbox");
// The most of a refused argument that is named.
constexpr int NamedLimit = 200;

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

const QString Verbose = QStringLiteral("verbose");
const QString EngineArguments = QStringLiteral("--webEngineArgs");

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
    parser.addOption({Verbose, QCoreApplication::translate("startup", "Write the web engine's start-up report and "
                                                                      "the pages' console messages to standard "
                                                                      "error.")});
    parser.addPositionalArgument(
        QCoreApplication::translate("startup", "address"),
        QCoreApplication::translate("startup", "The web page to open instead of the home page (http or https); "
                                               "a running Velmora opens it in its window."),
        QCoreApplication::translate("startup", "[address]"));
}

// Qt's own options, which the application object takes out of the command
// line later: known here so that they are not mistaken for unknown ones, and
// listed by --help-all.
struct QtOption
{
    const char *name;
    const char *value; // nullptr: a switch
    const char *description;
};
constexpr QtOption QtOptions[] = {
    {"platform", "name[:options]", QT_TRANSLATE_NOOP("startup", "The window system to use: xcb, wayland, offscreen...")},
    {"platformpluginpath", "folder", QT_TRANSLATE_NOOP("startup", "Where to look for window system plugins.")},
    {"platformtheme", "name", QT_TRANSLATE_NOOP("startup", "The platform theme.")},
    {"plugin", "name", QT_TRANSLATE_NOOP("startup", "An input plugin to load as well.")},
    {"qwindowgeometry", "geometry", QT_TRANSLATE_NOOP("startup", "The main window's geometry, as WxH+X+Y.")},
    {"qwindowicon", "file", QT_TRANSLATE_NOOP("startup", "The windows' icon.")},
    {"qwindowtitle", "title", QT_TRANSLATE_NOOP("startup", "The main window's title.")},
    {"reverse", nullptr, QT_TRANSLATE_NOOP("startup", "Lay the windows out from right to left.")},
    {"session", "id", QT_TRANSLATE_NOOP("startup", "The session to restore.")},
    {"style", "name", QT_TRANSLATE_NOOP("startup", "The widget style.")},
    {"stylesheet", "file", QT_TRANSLATE_NOOP("startup", "A style sheet for the windows.")},
    {"widgetcount", nullptr, QT_TRANSLATE_NOOP("startup", "Print how many widgets were left at the end.")},
    {"qmljsdebugger", "options", QT_TRANSLATE_NOOP("startup", "Start the QML debugger with these options.")},
    {"testability", nullptr, QT_TRANSLATE_NOOP("startup", "Load the testability plugin.")},
    {"display", "display", QT_TRANSLATE_NOOP("startup", "X11: the X display.")},
    {"geometry", "geometry", QT_TRANSLATE_NOOP("startup", "X11: as -qwindowgeometry.")},
    {"title", "title", QT_TRANSLATE_NOOP("startup", "X11: as -qwindowtitle.")},
    {"name", "name", QT_TRANSLATE_NOOP("startup", "X11: the program's resource name.")},
    {"visual", "id", QT_TRANSLATE_NOOP("startup", "X11: the visual to use.")},
    {"sync", nullptr, QT_TRANSLATE_NOOP("startup", "X11: talk to the X server synchronously.")},
    {"nograb", nullptr, QT_TRANSLATE_NOOP("startup", "X11: never grab the mouse or the keyboard.")},
    {"dograb", nullptr, QT_TRANSLATE_NOOP("startup", "X11: grab them even under a debugger.")},
};

void acceptQtOptions(QCommandLineParser &parser, bool listed)
{
    for (const QtOption &qt : QtOptions) {
        const QString description = listed ? QCoreApplication::translate("startup", qt.description) : QString();
        QCommandLineOption option = qt.value
            ? QCommandLineOption(QString::fromLatin1(qt.name), description, QString::fromLatin1(qt.value))
            : QCommandLineOption(QString::fromLatin1(qt.name), description);
        if (!listed)
            option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

// The arguments that are the program's: those after --webEngineArgs are the engine's.
QStringList ownArguments(const QStringList &arguments)
{
    return arguments.mid(0, arguments.indexOf(EngineArguments));
}

// FlagsVariable's value as the engine splits it into arguments: at spaces,
// except between double quotes, which are dropped.
QStringList splitFlags(const QString &value)
{
    QStringList arguments;
    QString argument;
    bool quoted = false, started = false;
    for (const QChar c : value) {
        if (c == u'"') {
            quoted = !quoted;
            started = true;
        } else if (c == u' ' && !quoted) {
            if (started)
                arguments << argument;
            argument.clear();
            started = false;
        } else {
            argument += c;
            started = true;
        }
    }
    if (started)
        arguments << argument;
    return arguments;
}

// Said on stderr when the environment turns the sandbox off: the variable's
// name and what in it does.
constexpr char SandboxOffLine[] = QT_TRANSLATE_NOOP("startup", "velmora: the web engine's sandbox is off (%1 has %2)\n");
constexpr char SandboxPartlyOffLine[] =
    QT_TRANSLATE_NOOP("startup", "velmora: part of the web engine's sandbox is off (%1 has %2)\n");
constexpr char SandboxVariableLine[] =
    QT_TRANSLATE_NOOP("startup", "velmora: the web engine's sandbox is off (%1 is set)\n");
constexpr char PagesOutsideLine[] =
    QT_TRANSLATE_NOOP("startup", "velmora: web pages run outside the web engine's sandbox (%1 has %2)\n");

// What an engine switch does to the sandbox, least first.
enum class Weakens { Nothing, Part, Pages, Whole };

// What `argument`, one of the engine's, does to its sandbox; `sandboxOff`:
// another one, or SandboxVariable, turns it off.
Weakens weakening(const QString &argument, bool sandboxOff)
{
    // The engine takes a switch with one dash or two, and with a value.
    QString name = argument.section(u'=', 0, 0).toLower();
    if (!name.startsWith(u'-'))
        return Weakens::Nothing;
    name.remove(0, name.startsWith(QLatin1String("--")) ? 2 : 1);
    const bool valued = !argument.section(u'=', 1).isEmpty();
    if (name == QLatin1String("no-sandbox") || name == QLatin1String("disable-sandbox"))
        return Weakens::Whole;
    // Pages in the program's own process; pages' processes started through
    // a program of the switch's choosing (a debugger, a shell), which runs
    // unsandboxed and holds them, instead of forked from the sandboxed
    // zygote; no zygote at all, which the engine allows only with the
    // sandbox off (it refuses to start otherwise), and which then leaves
    // every process it starts as it was started.
    if (name == QLatin1String("single-process")
        || (valued && (name == QLatin1String("renderer-cmd-prefix") || name == QLatin1String("zygote-cmd-prefix")))
        || (sandboxOff && name == QLatin1String("no-zygote")))
        return Weakens::Pages;
    // The switches that start the engine's other processes through a
    // program (--gpu-launcher, --utility-cmd-prefix) or run one in the
    // program's own (--in-process-gpu) are not counted: no page runs there.
    if ((name.startsWith(QLatin1String("no-")) || name.startsWith(QLatin1String("disable-")))
        && name.endsWith(QLatin1String("sandbox")))
        return Weakens::Part;
    return Weakens::Nothing;
}
} // namespace

Address commandLineAddress(const QString &argument)
{
    // The name of a file that is there is its address, and refused as one.
    const QUrl url = QUrl::fromUserInput(argument, QDir::currentPath());
    if (!schemes::isWebPage(url)) {
        // A long one is named by its start and its end, as a message box can show.
        const QString named = argument.size() <= NamedLimit
            ? argument
            : argument.left(NamedLimit / 2) + QChar(0x2026) + argument.right(NamedLimit / 2);
        return {QString(), QCoreApplication::translate("startup", "only web pages (http or https) can be opened, not "
                                                                  "\"%1\"").arg(named)};
    }
    const QString encoded = QString::fromLatin1(url.toEncoded());
    if (encoded.size() > AddressLimit)
        return {QString(), QCoreApplication::translate("startup", "the address is longer than %1 characters")
                               .arg(AddressLimit)};
    return {encoded, QString()};
}

QString homePage(const QString &user, const QString &userFile, const QString &system, const QString &systemFile,
                 const QString &built, QStringList &warnings)
{
    for (const auto &[value, file] : {std::pair(user, userFile), std::pair(system, systemFile)}) {
        if (value.isEmpty())
            continue;
        if (schemes::isWebPage(QUrl(value, QUrl::StrictMode)))
            return value;
        warnings << QCoreApplication::translate("startup", "velmora: the home page \"%1\" in %2 is not a web page "
                                                           "(http or https); it is not used\n")
                        .arg(value, file);
    }
    return built.isEmpty() ? QString::fromLatin1(schemes::StartPage) : built;
}

Decision decide(const QStringList &arguments, bool asRoot, const QByteArray &sandboxVariable)
{
    QCommandLineParser parser;
    describe(parser);
    acceptQtOptions(parser, false);
    const bool parsed = parser.parse(ownArguments(arguments));
    Decision decision;
    decision.withoutSandbox = parser.isSet(NoSandbox);
    decision.withQtOptions = parser.isSet(QStringLiteral("help-all"));
    decision.verbose = parser.isSet(Verbose);
    if (!parsed && !parser.isSet(QStringLiteral("help")) && !parser.isSet(QStringLiteral("help-all"))) {
        decision.action = Action::RejectOption;
        decision.error = parser.errorText();
    } else if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all")))
        decision.action = Action::ShowHelp;
    else if (parser.isSet(QStringLiteral("version")))
        decision.action = Action::ShowVersion;
    else if (asRoot && !decision.withoutSandbox && sandboxVariable != "1")
        decision.action = Action::Refuse;
    if (decision.action != Action::Run)
        return decision;
    const QStringList addresses = parser.positionalArguments();
    if (addresses.size() > 1) {
        decision.action = Action::RefuseAddress;
        decision.error = QCoreApplication::translate("startup", "Velmora opens one address at a time, not %1")
                             .arg(addresses.size());
    } else if (!addresses.isEmpty()) {
        const Address address = commandLineAddress(addresses.constFirst());
        decision.address = address.url;
        if (!address.refusal.isEmpty()) {
            decision.action = Action::RefuseAddress;
            decision.error = address.refusal;
        }
    }
    return decision;
}

QString refusalText(const QString &reason)
{
    return QCoreApplication::translate("startup", "Nothing was opened: %1.").arg(reason);
}

bool displayAvailable(const QStringList &arguments)
{
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    Q_UNUSED(arguments);
    return true;
#else
    QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    for (qsizetype i = 1; i + 1 < arguments.size(); ++i) {
        if (arguments.at(i) == QLatin1String("-platform") || arguments.at(i) == QLatin1String("--platform"))
            platform = arguments.at(i + 1);
    }
    if (platform.startsWith(QLatin1String("offscreen")) || platform.startsWith(QLatin1String("minimal")))
        return false;
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#endif
}

QString versionText()
{
    return QCoreApplication::translate("startup",
                                       "%1 %2\nQt WebEngine %3\nChromium %4, with security patches up to %5\n")
        .arg(QLatin1String(identity::Title), QLatin1String(identity::Version), QLatin1String(qWebEngineVersion()),
             QLatin1String(qWebEngineChromiumVersion()), QLatin1String(qWebEngineChromiumSecurityPatchVersion()));
}

QString helpText(bool withQtOptions)
{
    QCommandLineParser parser;
    describe(parser);
    if (withQtOptions)
        acceptQtOptions(parser, true);
    return parser.helpText();
}

QStringList applicationArguments(const QStringList &arguments, const Decision &decision)
{
    QStringList result = arguments;
    // The engine's own switch rather than its environment variable: the
    // variable would have the engine say so on standard error at every start,
    // and every program started from Velmora would inherit it.
    if (decision.withoutSandbox) {
        if (!result.contains(EngineArguments))
            result << EngineArguments;
        result << QStringLiteral("--no-sandbox");
    }
    return result;
}

EngineSetup engineArguments(const QStringList &arguments, const Decision &decision,
                            const std::optional<QString> &flagsVariable)
{
    const QStringList withEngine = applicationArguments(arguments, decision);
    if (!flagsVariable)
        return {withEngine, std::nullopt};
    // Programs started from Velmora inherit the variable with the additions,
    // as they inherit the user's own value: the engine reads it only when it
    // starts, after the window is up, and it is left as made.
    // The engine's arguments are those after --webEngineArgs; the separator
    // itself is left out too, as newer engines warn that it is overridden.
    const qsizetype separator = withEngine.indexOf(EngineArguments);
    QString flags = *flagsVariable;
    QStringList present = splitFlags(flags);
    for (const QString &argument : withEngine.mid(separator < 0 ? withEngine.size() : separator + 1)) {
        if (argument.isEmpty() || present.contains(argument))
            continue;
        present << argument;
        if (!flags.isEmpty() && !flags.endsWith(u' '))
            flags += u' ';
        // A double quote cannot be written inside a quoted argument: the
        // engine would take it as the quote's end.
        flags += argument.contains(u' ') || argument.contains(u'"')
            ? u'"' + QString(argument).remove(u'"') + u'"'
            : argument;
    }
    return {ownArguments(withEngine), flags};
}

QStringList sandboxWarnings(const QStringList &arguments, const Decision &decision,
                            const std::optional<QString> &flagsVariable, bool sandboxVariableSet)
{
    // Asked for: nothing to warn of.
    if (decision.withoutSandbox)
        return {};
    QStringList lines;
    if (sandboxVariableSet)
        lines << QCoreApplication::translate("startup", SandboxVariableLine).arg(QLatin1String(SandboxVariable));
    // Where the engine's switches come from, each said apart (those on the
    // command line reach the engine in the variable too, when it is set).
    const qsizetype separator = arguments.indexOf(EngineArguments);
    const std::pair<QString, QStringList> places[] = {
        {QLatin1String(FlagsVariable), flagsVariable ? splitFlags(*flagsVariable) : QStringList()},
        {QCoreApplication::translate("startup", "the command line"),
         separator < 0 ? QStringList() : arguments.mid(separator + 1)},
    };
    bool off = sandboxVariableSet;
    for (const auto &[place, switches] : places) {
        for (const QString &argument : switches)
            off = off || weakening(argument, false) == Weakens::Whole;
    }
    for (const auto &[place, switches] : places) {
        Weakens most = Weakens::Nothing;
        QStringList named;
        for (const QString &argument : switches) {
            const Weakens weakens = weakening(argument, off);
            if (weakens != Weakens::Nothing)
                named << argument;
            most = std::max(most, weakens);
        }
        const char *line = most == Weakens::Whole ? SandboxOffLine
            : most == Weakens::Pages              ? PagesOutsideLine
            : most == Weakens::Part               ? SandboxPartlyOffLine
                                                  : nullptr;
        if (line)
            lines << QCoreApplication::translate("startup", line).arg(place, named.join(QStringLiteral(", ")));
    }
    return lines;
}

QString loggingRules(bool verbose, bool drawsInSoftware)
{
    QStringList rules;
    if (verbose) {
        // Every console message, console.log's included, and the engine's
        // report of its settings (newer engines write it as a debug message).
        rules << QStringLiteral("js=true") << QStringLiteral("qt.webenginecontext.info=true")
              << QStringLiteral("qt.webenginecontext.debug=true");
    } else {
        // What a page writes to its console is for its authors, and the
        // engine's report of its settings for those who look into it.
        rules << QStringLiteral("js=false") << QStringLiteral("qt.webenginecontext.info=false");
    }
    // Setting rules replaces the drawing choice's one: it is kept here.
    if (drawsInSoftware)
        rules << QStringLiteral("qt.qpa.gl.warning=false");
    return rules.join(QLatin1Char('\n'));
}

std::optional<int> beforeApplication(int argc, char *argv[], Decision &decision)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    decision = decide(arguments, runningAsRoot(), qgetenv(SandboxVariable));
    switch (decision.action) {
    case Action::ShowHelp: {
        // The help names the program as it was started, which only an
        // application object knows; one without a window system, so that
        // the help needs no display. It is in the user's language.
        const QCoreApplication app(argc, argv);
        const language::Translators translators(QLocale().uiLanguages());
        std::fputs(qPrintable(helpText(decision.withQtOptions)), stdout);
        return 0;
    }
    case Action::ShowVersion: {
        const QCoreApplication app(argc, argv);
        const language::Translators translators(QLocale().uiLanguages());
        std::fputs(qPrintable(versionText()), stdout);
        return 0;
    }
    case Action::Refuse: {
        const QCoreApplication app(argc, argv);
        const language::Translators translators(QLocale().uiLanguages());
        std::fputs(qPrintable(QCoreApplication::translate("startup", RefusalLine)), stderr);
        return 1;
    }
    case Action::RejectOption:
    case Action::RefuseAddress: {
        // Said in the user's language: decided again with the translations
        // in place, Qt's own words for an unknown option included. Refused
        // addresses are told in a window too ("Open with" from the desktop
        // shows no standard error), when there is a display to show it on.
        const bool window = decision.action == Action::RefuseAddress && displayAvailable(arguments);
        const std::unique_ptr<QCoreApplication> app(window ? new QApplication(argc, argv)
                                                           : new QCoreApplication(argc, argv));
        const language::Translators translators(QLocale().uiLanguages());
        const Decision said = decide(arguments, runningAsRoot(), qgetenv(SandboxVariable));
        std::fputs(qPrintable(QStringLiteral("velmora: %1\n").arg(said.error)), stderr);
        if (window) {
            QCoreApplication::setApplicationName(QString::fromLatin1(identity::Title));
            // The running program shows it over its window, brought to the front.
            OneProgram running(OneProgram::place(QCoreApplication::applicationDirPath()));
            if (!running.tell(said.error))
                tellUser(nullptr, refusalText(said.error));
        }
        return 1;
    }
    case Action::Run:
        break;
    }
    return std::nullopt;
}

ArgumentVector::ArgumentVector(const QStringList &arguments)
{
    for (const QString &argument : arguments)
        m_text.push_back(argument.toLocal8Bit());
    for (QByteArray &text : m_text)
        m_pointers.push_back(text.data());
    m_count = int(m_text.size());
    m_pointers.push_back(nullptr); // argv[argc] is null, as main's is
}

} // namespace startup
