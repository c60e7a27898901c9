#include "rendering.h"

#include <QDir>
#include <QQuickWindow>

#include <utility>

namespace {

const char *const ChoiceVariables[] = {"QT_QUICK_BACKEND", "QT_XCB_GL_INTEGRATION", "QT_OPENGL"};
// The window system's OpenGL is off while the program draws in software, so
// that no OpenGL driver is loaded at all.
constexpr char WindowSystemGl[] = "QT_XCB_GL_INTEGRATION";
// The engine asks for an OpenGL context while the application object is
// made; without OpenGL the window system says once that it has none, which
// is the point: that line is left out. Set only while the choice to draw in
// software is being applied (Qt hands back its own handler, never null).
QtMessageHandler g_previousHandler = nullptr;
void dropNoOpenGlNotice(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.startsWith(QLatin1String("QXcbIntegration: Cannot create platform OpenGL context")))
        return;
    g_previousHandler(type, context, message);
}

bool hasGraphicsDevice()
{
#if defined(Q_OS_LINUX)
    return !QDir(QStringLiteral("/dev/dri"))
                .entryList({QStringLiteral("renderD*"), QStringLiteral("card*")}, QDir::System)
                .isEmpty();
#else
    return true;
#endif
}

} // namespace

bool rendering::softwareFits(bool graphicsDevice, const QStringList &setVariables)
{
    if (graphicsDevice)
        return false;
    for (const char *name : ChoiceVariables) {
        if (setVariables.contains(QLatin1String(name)))
            return false;
    }
    return true;
}

void rendering::chooseBeforeApplication()
{
    QStringList set;
    for (const char *name : ChoiceVariables) {
        if (qEnvironmentVariableIsSet(name))
            set.append(QLatin1String(name));
    }
    if (!softwareFits(hasGraphicsDevice(), set))
        return;
    QQuickWindow::setSceneGraphBackend(QStringLiteral("software"));
    qputenv(WindowSystemGl, "none");
    g_previousHandler = qInstallMessageHandler(dropNoOpenGlNotice);
}

void rendering::keepChoiceToThisProgram()
{
    if (!g_previousHandler)
        return;
    qunsetenv(WindowSystemGl);
    qInstallMessageHandler(std::exchange(g_previousHandler, nullptr));
}

bool rendering::drawsThroughOpenGL()
{
    const QString backend = QQuickWindow::sceneGraphBackend().isEmpty() ? qEnvironmentVariable("QT_QUICK_BACKEND")
                                                                         : QQuickWindow::sceneGraphBackend();
    return QQuickWindow::graphicsApi() == QSGRendererInterface::OpenGL && backend != QLatin1String("software");
}
