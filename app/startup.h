#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// The command line (--help, --version, --no-sandbox) and what is settled
// before any window: whether the program runs at all, and with the web
// engine's sandbox or without it.
namespace startup {

// Set, the web engine runs without its sandbox.
inline constexpr char SandboxVariable[] = "QTWEBENGINE_DISABLE_SANDBOX";

enum class Action { Run, ShowHelp, ShowVersion, Refuse, RejectOption };

struct Decision
{
    Action action = Action::Run;
    // The user asked for the engine to run without its sandbox.
    bool withoutSandbox = false;
    // Why the options are rejected (RejectOption): an option nobody knows.
    QString error;
};

// What the program does, from its arguments (its own name first), whether it
// runs as root and the value of SandboxVariable (null when unset). Qt's own
// options are left to Qt, and those after --webEngineArgs to the engine;
// any other option is rejected, before any window-system connection.
Decision decide(const QStringList &arguments, bool asRoot, const QByteArray &sandboxVariable);

// Velmora's version and the web engine's, as the engine reports them.
QString versionText();

// Acts on the command line before the application object exists: shows the
// help or the versions, or refuses to run, and returns the exit code; returns
// nothing when the program is to run, the sandbox turned off if asked.
std::optional<int> beforeApplication(int argc, char *argv[]);

} // namespace startup
