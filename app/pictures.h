#pragma once

#include <QByteArray>
#include <QIcon>
#include <QImage>

// The program's pictures (button pictures, logo, window icon) as the main
// window shows them. The resources hold a PAM copy of each (a short text
// header, then the RGBA bytes), which the build makes from the PNG it is drawn
// in and start-up reads without decoding an image format or loading a plugin.
namespace pictures {

// The picture `name` from ":/pictures/<name>.pam"; a null image when it is
// missing or malformed.
QImage load(const char *name);

// The picture `name` for screens of every density: the copy drawn at its
// ordinary size and the one drawn at twice that size ("<name>@2x"), which
// Qt chooses from by the screen's device pixel ratio.
QIcon icon(const char *name);

// The window icon in every size it is drawn in: 16, 32, 48 and 256 pixels.
QIcon windowIcon();

// Reads a PAM image of tuple type RGB_ALPHA with 8-bit samples; a null image
// for anything else, a short raster or an implausible size.
QImage fromPam(const QByteArray &data);

} // namespace pictures
