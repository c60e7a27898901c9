#pragma once

#include <QHash>
#include <QWidget>

class Download;
class DownloadList;
class QLabel;
class QProgressBar;
class QPushButton;
class QVBoxLayout;

// The program's one downloads window: every download with its name,
// progress and state, a Cancel button while it runs; Open Folder and Clear
// Finished. Closing it cancels nothing. It belongs to the main window and
// outlives the page window a download came from.
class DownloadsWindow : public QWidget
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
    QVBoxLayout *m_rows;
    QHash<Download *, Row> m_shown;
};
