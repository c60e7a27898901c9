#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The command line (--help, --version, --no-sandbox, --verbose) and what is
// settled before any window: whether the program runs at all, with the web
// engine's sandbox or without it, and what it writes to standard error.
namespace startup {

// Set, the web engine runs without its sandbox.
inline constexpr char SandboxVariable[] = "QTWEBENGINE_DISABLE_SANDBOX";
// Set (to anything, empty included), the web engine takes its arguments from
// this variable alone and drops every one on the command line.
inline constexpr char FlagsVariable[] = "QTWEBENGINE_CHROMIUM_FLAGS";

// RefuseAddress: the addresses given are not opened (one Velmora does not
// open, more than one); said on standard error and, where there is a
// display, in a message box: the running program's, over its window, when
// one runs, else one of its own.
enum class Action { Run, ShowHelp, ShowVersion, Refuse, RejectOption, RefuseAddress };

struct Decision
{
    Action action = Action::Run;
    // The user asked for the engine to run without its sandbox.
    bool withoutSandbox = false;
    // The help lists Qt's own options too (--help-all).
    bool withQtOptions = false;
    // The engine's start-up report and the pages' console are written to
    // standard error (--verbose).
    bool verbose = false;
    // Why the options are rejected (RejectOption: an option nobody knows) or
    // the addresses refused (RefuseAddress).
    QString error;
    // The web page the command line asks to open instead of the home page,
    // as an address the engine takes; empty when none was given.
    QString address;
};

// The longest address the command line may give (characters, encoded).
inline constexpr int AddressLimit = 32768;

// The page `argument` names, as the command line gives it ("example.com"
// is http://example.com/), or why Velmora will not open it: only web pages
// (http and https), nothing that runs script or reads files.
struct Address
{
    QString url;     // empty when refused
    QString refusal; // empty when not
};
Address commandLineAddress(const QString &argument);

// The home page: the user's setting `user`, else the system's `system` (a
// distributor's), else `built`, the one the program was built with, else the
// start page built into the program. A setting that is not a web page (http
// or https) is passed over, and a line in `warnings` says so, naming where it
// was set (`userFile`, `systemFile`).
QString homePage(const QString &user, const QString &userFile, const QString &system, const QString &systemFile,
                 const QString &built, QStringList &warnings);

// What the program does, from its arguments (its own name first), whether it
// runs as root and the value of SandboxVariable (null when unset). Qt's own
// options are left to Qt, and those after --webEngineArgs to the engine;
// any other option is rejected, before any window-system connection, as is
// more than one address or one Velmora does not open.
Decision decide(const QStringList &arguments, bool asRoot, const QByteArray &sandboxVariable);

// What the message box says of addresses refused for `reason`.
QString refusalText(const QString &reason);

// Whether a window can be shown to anyone: a display named in the
// environment (Linux and the like), a window system that is not one without
// a screen (offscreen, minimal) chosen by -platform in `arguments` or in
// QT_QPA_PLATFORM. Always on Windows and macOS.
bool displayAvailable(const QStringList &arguments);

// Velmora's version and the web engine's, as the engine reports them.
QString versionText();

// The help: the program's options, and with `withQtOptions` the options of
// Qt's that the program accepts. Needs an application object.
QString helpText(bool withQtOptions);

// The arguments the application object is made with: `arguments` with the
// engine's switch for running without its sandbox when the user asked for
// that, after --webEngineArgs, so that the engine takes it as its own.
QStringList applicationArguments(const QStringList &arguments, const Decision &decision);

// What the application object is made with, for the engine to get the
// program's arguments for it whether FlagsVariable is set or not.
struct EngineSetup
{
    // The application object's arguments.
    QStringList application;
    // FlagsVariable's value from now on; nothing: it stays unset.
    std::optional<QString> flags;
};

// From the command line, what was decided and FlagsVariable's value (nothing
// when unset). Unset, the engine's arguments go on the command line, as
// applicationArguments gives them. Set, the engine would drop them there:
// they are added to the variable's value instead (each one only if the value
// does not hold it already; one with a space in quotes, as the engine reads
// the variable), and the command line keeps the program's own.
EngineSetup engineArguments(const QStringList &arguments, const Decision &decision,
                            const std::optional<QString> &flagsVariable);

// The lines said on standard error at every start when the engine's sandbox
// is off, in whole or in part, or web pages run outside it, without the
// user's --no-sandbox: SandboxVariable set (to any value: the engine goes by
// that), or an engine switch that does so, in FlagsVariable (`flagsVariable`,
// nothing when unset) or after --webEngineArgs in `arguments` (the command
// line, the program's name first): --no-sandbox, one that turns off a part
// (such as --disable-setuid-sandbox), or one that runs pages outside it
// (--single-process, --renderer-cmd-prefix...). One line for each place,
// naming the switches. Empty when nothing is to be said.
QStringList sandboxWarnings(const QStringList &arguments, const Decision &decision,
                            const std::optional<QString> &flagsVariable, bool sandboxVariableSet);

// The logging rules of a run: without `verbose`, the engine's start-up report
// and the pages' console messages are left out; `drawsInSoftware` keeps the
// drawing choice's own rule. QT_LOGGING_RULES still overrides them.
QString loggingRules(bool verbose, bool drawsInSoftware);

// Acts on the command line before the application object exists: shows the
// help or the versions, or refuses to run or to open the addresses given,
// and returns the exit code; returns nothing when the program is to run, with
// `decision` what was decided. Only refused addresses need a display, for
// their message box, where there is one.
std::optional<int> beforeApplication(int argc, char *argv[], Decision &decision);

// An argument vector for the application object, which keeps the strings
// and the count it is handed for as long as it lives.
class ArgumentVector
{
public:
    explicit ArgumentVector(const QStringList &arguments);
    ArgumentVector(const ArgumentVector &) = delete;
    ArgumentVector &operator=(const ArgumentVector &) = delete;
    int &count() { return m_count; }
    char **values() { return m_pointers.data(); }

private:
    std::vector<QByteArray> m_text;
    std::vector<char *> m_pointers;
    int m_count = 0;
};

} // namespace startup
