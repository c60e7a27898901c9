#pragma once

#include <QDialog>
#include <QHash>

class Download;
class DownloadList;
class QLabel;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QVBoxLayout;

// The program's one downloads window: every download with its name,
// progress and state, a Cancel button while it runs, and once saved where
// it went, Open and Show in Folder; Open Folder and Clear Finished. Closing
// it cancels nothing. It belongs to the main window and outlives the page
// window a download came from. A dialog that leaves the other windows free:
// screen readers announce it as one, and Tab goes from the list through each
// download's buttons to the buttons below.
class DownloadsWindow : public QDialog
{
    Q_OBJECT
public:
    DownloadsWindow(DownloadList &list, QWidget *parent);

    // Shows, raises and activates the one downloads window of `mainWindow`,
    // made the first time (it goes when closed, and with its main window).
    static DownloadsWindow *showFor(DownloadList &list, QWidget *mainWindow);
    // The downloads window of `mainWindow` while it is open, else null.
    static DownloadsWindow *of(QWidget *mainWindow);

    // The row that shows `download`, for tests: its status line and buttons.
    QLabel *statusOf(Download *download) const;
    QPushButton *cancelOf(Download *download) const;
    QLabel *placeOf(Download *download) const;
    QPushButton *openOf(Download *download) const;
    QPushButton *showInFolderOf(Download *download) const;

private:
    struct Row
    {
        QWidget *box = nullptr;
        QLabel *name = nullptr;
        QProgressBar *bar = nullptr;
        QLabel *status = nullptr;
        QLabel *place = nullptr; // where a saved one went
        QPushButton *cancel = nullptr;
        QPushButton *open = nullptr;
        QPushButton *showInFolder = nullptr;
    };
    Row row(Download *download) const { return m_shown.value(download); }
    void addRow(Download *download);
    void removeRow(Download *download);
    void update(Download *download);

    DownloadList &m_list;
    QScrollArea *m_area;
    QPushButton *m_open;
    QVBoxLayout *m_rows;
    QHash<Download *, Row> m_shown;
};
