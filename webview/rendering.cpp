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

const char *const NoOpenGlLines[] = {
    "QXcbIntegration: Cannot create platform OpenGL context, neither GLX nor EGL are enabled",
    "No suitable graphics backend found",
    // Newer engines look for Vulkan as well, and find no device for it either.
    "Failed to create Vulkan instance: -9",
    "Failed to create platform Vulkan instance",
    "GPUInfo not initialized on GpuInfoUpdate",
    // Some engines (Qt 6.8) try an OpenGL context of their own to learn the
    // graphics processor's maker, and say that there is none.
    "QRhiGles2: Failed to create temporary context",
    "QXcbIntegration: Cannot create platform offscreen surface, neither GLX nor EGL are enabled",
    "QRhiGles2: Failed to create context",
    "Unable to detect GPU vendor.",
};

// The handler QuietNoOpenGl hands every other message to. The message
// handler is the process's own, so is this: set and cleared with it.
QtMessageHandler s_before = nullptr;

void leaveOutNoOpenGl(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg && rendering::isNoOpenGlLine(message))
        return;
    s_before(type, context, message);
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

bool rendering::isNoOpenGlLine(const QString &message)
{
    for (const char *line : NoOpenGlLines) {
        if (message.trimmed() == QLatin1String(line))
            return true;
    }
    return false;
}

rendering::QuietNoOpenGl::QuietNoOpenGl(bool quiet) : m_quiet(quiet && !s_before)
{
    if (m_quiet)
        s_before = qInstallMessageHandler(leaveOutNoOpenGl);
}

rendering::QuietNoOpenGl::~QuietNoOpenGl()
{
    if (m_quiet) {
        qInstallMessageHandler(s_before);
        s_before = nullptr;
    }
}
