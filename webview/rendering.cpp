#include "rendering.h"

#include <QDir>
#include <QLoggingCategory>
#include <QQuickWindow>


namespace {

const char *const ChoiceVariables[] = {"QT_QUICK_BACKEND", "QT_XCB_GL_INTEGRATION", "QT_OPENGL"};
// The window system's OpenGL is off while the program draws in software, so
// that no OpenGL driver is loaded at all.
constexpr char WindowSystemGl[] = "QT_XCB_GL_INTEGRATION";
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

bool rendering::chooseBeforeApplication()
{
    QStringList set;
    for (const char *name : ChoiceVariables) {
        if (qEnvironmentVariableIsSet(name))
            set.append(QLatin1String(name));
    }
    if (!softwareFits(hasGraphicsDevice(), set))
        return false;
    QQuickWindow::setSceneGraphBackend(QStringLiteral("software"));
    qputenv(WindowSystemGl, "none");
    // The engine asks for an OpenGL context while the application object is
    // made; the window system's warning that it has none is the point.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.qpa.gl.warning=false"));
    return true;
}

void rendering::keepChoiceFromChildren(bool choseSoftware)
{
    if (choseSoftware)
        qunsetenv(WindowSystemGl);
}

bool rendering::drawsThroughOpenGL()
{
    const QString backend = QQuickWindow::sceneGraphBackend().isEmpty() ? qEnvironmentVariable("QT_QUICK_BACKEND")
                                                                         : QQuickWindow::sceneGraphBackend();
    return QQuickWindow::graphicsApi() == QSGRendererInterface::OpenGL && backend != QLatin1String("software");
}
