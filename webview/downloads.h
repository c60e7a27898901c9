#pragma once

#include <QPointer>
#include <QString>
#include <QWebEngineDownloadRequest>
#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

// Downloads a page starts: the user chooses where each one goes, watches it
// arrive and can cancel it. A file only gets its final name once every byte
// has arrived.
namespace downloads {

// The name to offer for a download: the server's suggestion without any
// folder part, never empty and never a hidden or special name.
QString cleanFileName(const QString &suggested);

// Where a download runs until it is complete.
QString partialPath(const QString &target);

// "1,234 of 5,678 bytes", or "1,234 bytes" while the size is unknown.
QString progressText(qint64 received, qint64 total);

// Asks where to save `download`; on a choice it runs with a window of its
// own, otherwise it is cancelled.
void start(QWebEngineDownloadRequest *download);

} // namespace downloads

// One download on its way: what arrives, a Cancel button, and what came of it.
class DownloadWindow : public QWidget
{
    Q_OBJECT
public:
    DownloadWindow(QWebEngineDownloadRequest *download, const QString &target, QWidget *parent);

    QLabel *status() const { return m_status; }
    QPushButton *button() const { return m_button; }
    bool isDone() const { return m_done; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void update();
    void finish();

    QPointer<QWebEngineDownloadRequest> m_download;
    QLabel *m_status;
    QProgressBar *m_bar;
    QPushButton *m_button;
    bool m_done = false;
};
