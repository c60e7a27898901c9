#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QWebEngineDownloadRequest;

// What the program does with the name and the file of a download.
namespace downloads {

// The longest name, in bytes, most file systems keep (ext4, NTFS in UTF-16
// units, which a UTF-8 count never undercounts).
constexpr int NameLimit = 255;

// The name to offer for a download: the server's suggestion without any
// folder part; control characters (C0, DEL, C1), bidirectional controls and
// characters file systems refuse replaced; short enough that its part file
// fits the file system's limit, its extension kept; never empty, hidden or
// special.
QString cleanFileName(const QString &suggested);

// Where a download runs until it is complete.
QString partialPath(const QString &target);

// "1,234 of 5,678 bytes", or "1,234 bytes" while the size is unknown.
QString progressText(qint64 received, qint64 total);

// Gives the whole file at `partial` the name `target` in one step, replacing
// a file of that name the user chose to overwrite (its mode is kept; a new
// file is the user's alone). On failure the part file goes, a file already
// at `target` stays as it was, and the reason is returned; empty on success.
QString finishFile(const QString &partial, const QString &target);

} // namespace downloads

// One download, from the moment the user chose where it goes until it has
// ended: the engine's request, its part file and what came of it. It belongs
// to the program's list of downloads, not to the page or window it came from.
class Download : public QObject
{
    Q_OBJECT
public:
    enum class State { Running, Saved, Cancelled, Failed };

    // Runs `request` into the part file of `target`; the request must not
    // have been accepted yet.
    Download(QWebEngineDownloadRequest *request, const QString &target, QObject *parent = nullptr);
    // A download still running when its object goes is cancelled.
    ~Download() override;

    QString target() const { return m_target; }
    State state() const { return m_state; }
    bool isFinished() const { return m_state != State::Running; }
    qint64 receivedBytes() const { return m_received; }
    qint64 totalBytes() const { return m_total; }
    // What the user is told: progress while it runs, then how it ended.
    QString statusText() const;

    // Stops a running download and takes away its part file.
    void cancel();
    // Whether the engine is done with it (it may still write a part of its
    // own for a moment after a cancel).
    bool released() const;
    // Once it has been cancelled or has failed, takes away whatever part
    // files are left under its target, unless it has stopped cleaning.
    void removeParts();
    // Leaves the part files under its target alone from now on: a new
    // download to the same name has them.
    void stopCleaning() { m_cleaning = false; }

signals:
    // More bytes have arrived or the size has become known.
    void progressed();
    // The download has ended, whatever the outcome; statusText says how.
    void finished();

private:
    void settle();
    void end(State state, const QString &outcome);

    QPointer<QWebEngineDownloadRequest> m_request;
    QString m_target;
    State m_state = State::Running;
    QString m_outcome;
    qint64 m_received = 0;
    qint64 m_total = -1;
    bool m_cleaning = true;
};
