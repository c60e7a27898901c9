#pragma once

#include <QStringList>

// How pages reach the screen. With a graphics processor they are drawn
// through OpenGL. Without one, OpenGL itself is drawn by the processor, and
// the engine's own software compositor does the same work faster and with
// less memory: the program then leaves OpenGL out altogether. WebGL is the
// one thing given up; a user who wants it back sets QT_QUICK_BACKEND=rhi.
namespace rendering {

// Whether to draw in software: only without a graphics device, and only if
// the user has made no choice of their own (`setVariables` are the names of
// the environment variables that are set).
bool softwareFits(bool graphicsDevice, const QStringList &setVariables);

// Makes the choice; called before the application object is made. True
// when it chose to draw in software.
bool chooseBeforeApplication();
// Called right after it with what it returned: takes the choice out of the
// environment again, so that programs started from this one make their own.
void keepChoiceFromChildren(bool choseSoftware);

// Whether the engine's views draw through OpenGL.
bool drawsThroughOpenGL();

// Whether `message` is one of the lines the window system and the engine's
// graphics set-up write when they find no OpenGL: expected when the program
// draws in software, and without a log category a rule could turn off.
bool isNoOpenGlLine(const QString &message);

// While it lives and `quiet` is true, the lines isNoOpenGlLine() knows are
// left out of the log; every other message goes on to the handler that was
// there before. Qt has one message handler for the whole process: one of
// these at a time, made in main() before the application object.
class QuietNoOpenGl
{
public:
    explicit QuietNoOpenGl(bool quiet);
    ~QuietNoOpenGl();
    QuietNoOpenGl(const QuietNoOpenGl &) = delete;
    QuietNoOpenGl &operator=(const QuietNoOpenGl &) = delete;

private:
    bool m_quiet;
};

} // namespace rendering
