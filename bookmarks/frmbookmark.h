#pragma once

#include "bookmarkfile.h"

#include <QPointer>
#include <QWidget>

#include <vector>

class QListWidget;
class QPushButton;
class WebView;

// The bookmark window: in view mode the user opens one bookmark in the main
// window's web view; in delete mode the user ticks bookmarks and deletes them
// from the bookmark file.
class frmBookmark : public QWidget
{
    Q_OBJECT
public:
    // `goBookMark` true opens view mode, false delete mode; Go navigates `web`;
    // `bookmarkPath` is the bookmark file. The window loads its list at once
    // and deletes itself when closed.
    frmBookmark(bool goBookMark, WebView *web, const QString &bookmarkPath, QWidget *parent = nullptr);

    // Event handlers, public so that tests drive them as the user would.
    void cmdAll_Click();
    void cmdClear_Click();
    void cmdDelete_Click();
    void cmdGo_Click();
    void cmdClose_Click();
    void lstGo_Click();
    void lstGo_DblClick();
    void lstGo_ReturnKey();

    QListWidget *lstBookmark;
    QPushButton *cmdDelete;
    QPushButton *cmdClose;
    QPushButton *cmdAll;
    QPushButton *cmdClear;
    QListWidget *lstURL;
    QPushButton *cmdGo;
    QListWidget *lstGo;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    QPushButton *createButton(const char *name, const QString &caption, double left, double width,
                              void (frmBookmark::*handler)());
    QListWidget *createList(const char *name, double left, double top, double width, double height);
    void Form_Load(bool goBookMark);
    void LoadBookmarkList();
    void SaveBookmarkList(const std::vector<bookmarkfile::Bookmark> &deleted);
    void SelectAllBookmarks(bool flag);
    bool isTicked(int row) const;

    QPointer<WebView> m_web;
    QString m_path;
    bool m_viewMode = false;
};
