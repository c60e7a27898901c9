#pragma once

#include <QString>

// Full path of bookmark.dat; empty until SetBookmarkPath has run.
extern QString BookmarkFilePath;

// Sets BookmarkFilePath to the program's folder, the native separator and
// "bookmark.dat". Nothing is added or removed: a root folder gives two
// separators in a row.
void SetBookmarkPath();

namespace ini {
// The bookmark path for a program folder given as the platform reports it.
QString bookmarkPathIn(const QString &programFolder);
// Tests only: the folder SetBookmarkPath takes instead of the program's own
// (an empty string restores the real one).
void setProgramFolderForTesting(const QString &folder);
}
