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
// progress and state, a Cancel button while it runs; Open Folder and Clear
// Finished. Closing it cancels nothing. It belongs to the main window and
// outlives the page window a download came from. A dialog that leaves the
// other windows free: screen readers announce it as one, and Tab goes from
// the list through each running download's Cancel to the buttons below.
class DownloadsWindow : public QDialog
{
    Q_OBJECT
public:
    DownloadsWindow(DownloadList &list, QWidget *parent);

    // The row that shows `download`, for tests: its status line and button.
    QLabel *statusOf(Download *download) const;
    QPushButton *cancelOf(Download *download) const;

private:
    struct Row
    {
        QWidget *box;
        QLabel *name;
        QProgressBar *bar;
        QLabel *status;
        QPushButton *cancel;
    };
    void addRow(Download *download);
    void removeRow(Download *download);
    void update(Download *download);

    DownloadList &m_list;
    QScrollArea *m_area;
    QPushButton *m_open;
    QVBoxLayout *m_rows;
    QHash<Download *, Row> m_shown;
};
