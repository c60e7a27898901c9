#include "bookmarkfile.h"
#include "deferredview.h"
#include "engineview.h"
#include "frmmain.h"
#include "identity.h"
#include "rendering.h"
#include "startup.h"
#include "errorpolicy.h"
#include "session.h"

#include <QApplication>

// The home page: the configured one. The test build opens the page its tests
// serve, at the address they give in VELMORA_TEST_HOME_URL; the benchmark's
// build has its page compiled in.
static QString homePage()
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
    bookmarkfile::failWritesPastSizeLimit();
    if (const std::optional<int> exitCode = startup::beforeApplication(argc, argv))
        return *exitCode;
    const bool software = rendering::chooseBeforeApplication();
    QApplication app(argc, argv);
    rendering::keepChoiceFromChildren(software);
    QApplication::setApplicationName(QString::fromLatin1(identity::Title));
    QApplication::setApplicationVersion(QString::fromLatin1(identity::Version));

    Session session; // outlives every page, ends before the engine
    // The window comes up first; the engine's view takes its place right after.
    frmMain window(
        [&session](QWidget *parent) {
            return new DeferredView([&session](QWidget *place) { return new EngineView(session, place); }, parent);
        },
        homePage(), &session);
    window.Form_Load();
    // Profile folders that others could read are not used: say so once the
    // window is up.
    if (!session.profileProblem().isEmpty())
        tellUser(&window, session.profileProblem());
    return app.exec();
}
