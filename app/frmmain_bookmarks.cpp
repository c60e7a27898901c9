#include "frmmain.h"

// The add-bookmark command and the bookmark window's menu items.

void frmMain::AddBookmarkEntry(const QString &, const QString &) {}
void frmMain::cmdAddBookmark_Click() {}
void frmMain::mnuAddBookMark_Click() {}
void frmMain::mnuDelBookMark_Click() {}
void frmMain::mnuViewBookMark_Click() {}
