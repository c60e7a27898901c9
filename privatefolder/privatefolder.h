#pragma once

#include <QString>

// Folders that only their user may enter: the profile, its cache and the
// bookmarks hold what others must not read.
namespace privatefolder {

// Makes `path` and any missing folder on the way to it, each open to its
// owner only (0700) whatever the umask. Empty on success, else why not.
QString make(const QString &path);

// Whether `path` is fit to keep private data in: a folder (not a symlink)
// owned by this user and closed to others; one that is open to others is
// closed first. Empty when it is, else why not, in words.
QString check(const QString &path);

} // namespace privatefolder
