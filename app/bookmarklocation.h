#pragma once

#include <QString>
#include <QStringList>

// The full path of the bookmark file of a program in `programFolder` (as the
// platform reports it); empty when there is nowhere to keep one. An installed
// copy (see bookmarklocation::isInstalledFolder) keeps bookmarks per user for
// every account, root's and Administrator's included. Any other copy whose
// folder can be written keeps bookmark.dat beside itself (a portable copy).
// Otherwise, and for an installed copy, each user has a bookmark.dat of their
// own in their data folder, which only they may enter and read; the first
// time, it starts as a copy of a bookmark.dat installed beside the program
// (see bookmarkfile::seed), or empty.
QString SetBookmarkPath(const QString &programFolder);

// Where the bookmark file goes.
namespace bookmarklocation {
// The bookmark path in a folder given as the platform reports it: the
// folder, the native separator and "bookmark.dat". Nothing is added or
// removed: a root folder gives two separators in a row.
QString bookmarkPathIn(const QString &programFolder);

// Who may change the program's folder. Windows' folders count as root's own.
struct FolderOwner
{
    bool root = false;            // owned by root (uid 0)
    bool othersMayWrite = false;  // accounts outside its owner and group may change it
};

// How a system writes paths: Unix's are case-sensitive with "/" alone;
// Windows' ignore case and take "\\" and "/" alike.
enum class PathRules { Unix, Windows };

// Whether a program in `folder` is a copy installed on the system: its folder
// is one of `systemFolders` or inside one, and it is root's and closed to
// others. Paths are compared by `rules` once ".." and "." are taken out;
// empty entries in `systemFolders` are passed over.
bool isInstalledFolder(const QString &folder, FolderOwner owner, const QStringList &systemFolders, PathRules rules);

// Where this system installs programs: /usr, /opt, /bin, /sbin and /snap,
// on Windows the Program Files folders its environment names.
QStringList systemFolders();
}
