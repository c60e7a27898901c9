#pragma once

#include <QByteArray>
#include <QImage>

// The program's pictures (button pictures, logo, window icon) as the main
// window shows them. The resources hold a PAM copy of each (a short text
// header, then the RGBA bytes), which the build makes from the PNG it is drawn
// in and start-up reads without decoding an image format or loading a plugin.
namespace pictures {

// The picture `name` from ":/pictures/<name>.pam"; a null image when it is
// missing or malformed.
QImage load(const char *name);

// Reads a PAM image of tuple type RGB_ALPHA with 8-bit samples; a null image
// for anything else, a short raster or an implausible size.
QImage fromPam(const QByteArray &data);

} // namespace pictures
