#pragma once

// What a screen reader finds at the top of the program: its windows on the
// screen, and nothing that never reaches it. The web engine draws each page
// through a window of its own that stays off the screen (it has no window in
// the window system, and says "Offscreen"); Qt would list it beside the
// program's windows, an empty window a screen reader offers the user.
namespace accessibleroot {

// Makes the program's own root the one screen readers ask; call before the
// first window is made. Calling it again does nothing. On newer Qt (6.11
// certainly) the engine hands a page's content to screen readers through
// that very window, and hiding it would hide the page: there Qt's own root
// stays, and with it the empty window, the lesser harm. Only Qt 6.4 is
// known to be safe, so only there is the root the program's own.
void install();

} // namespace accessibleroot
