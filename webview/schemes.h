#pragma once

#include <QString>

class QUrl;

// The one list of address schemes the program knows: those the engine loads
// itself, and among them those the user may open from Home or a bookmark.
namespace schemes {

// The program's own scheme, and the start page built into the program under
// it: the user may open it (Home, a bookmark); no web page may reach it.
inline constexpr char Own[] = "velmora";
inline constexpr char StartPage[] = "velmora:start";

// Makes the program's own scheme known to the engine; called once, before
// the application object is made.
void registerOwn();

// Whether Home or a bookmark may open `url`: web pages and files, nothing
// that runs script or shows the engine's own pages.
bool isNavigable(const QUrl &url);

// Whether `url` is a web page another program may ask Velmora to open (the
// command line, a later start handing over): http and https, with a host.
bool isWebPage(const QUrl &url);

// The longest address Velmora opens (characters, encoded).
inline constexpr int AddressLimit = 32768;

// The web page an address the user typed names, as the engine takes it
// ("example.com" is http://example.com/), or why Velmora will not open it:
// only web pages (http and https), nothing that runs script or reads files.
struct Address
{
    QString url;     // empty when refused
    QString refusal; // empty when not
};
Address webAddress(const QString &typed);

// Whether the engine loads `scheme` itself; a link to any other scheme is
// handed to another program, and only when the user says so.
bool isEngineScheme(const QString &scheme);

// Whether `scheme` belongs to the program itself (its own resources and
// pages): no web page may reach it.
bool isProgramScheme(const QString &scheme);

} // namespace schemes
