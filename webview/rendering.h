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

} // namespace rendering
