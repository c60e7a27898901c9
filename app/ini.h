#pragma once

#include <QString>

// Full path of the bookmark file in use; empty until SetBookmarkPath has run.
extern QString BookmarkFilePath;

// Sets BookmarkFilePath. A program whose folder can be written keeps
// bookmark.dat beside itself (a portable copy). Otherwise each user has a
// bookmark.dat of their own in their data folder (made when needed), which
// starts as a copy of the bookmark.dat beside the program the first time.
void SetBookmarkPath();

namespace ini {
// The bookmark path in a folder given as the platform reports it: the
// folder, the native separator and "bookmark.dat". Nothing is added or
// removed: a root folder gives two separators in a row.
QString bookmarkPathIn(const QString &programFolder);
// Tests only: the folder SetBookmarkPath takes instead of the program's own
// (an empty string restores the real one).
void setProgramFolderForTesting(const QString &folder);
}
