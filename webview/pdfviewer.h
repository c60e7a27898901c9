#pragma once

#include <QList>
#include <QPointer>
#include <QUrl>
#include <QWidget>

#include <memory>

class QAction;
class QLabel;
class QStackedLayout;
class QWebEngineDownloadRequest;
class PdfFile;
class PdfPane;

// A PDF file the page went to, shown by the program itself: its bytes come
// once, from the engine's own answer to the page, into a private folder, at
// most SizeLimit of them, and are shown from there. Printing and saving use
// those same bytes. A file that cannot be shown (damaged, locked, empty, too
// large, cut off) is named with the reason in place of the document.
class PdfViewer : public QWidget
{
    Q_OBJECT
public:
    // More than any document a site hands out to be read on screen; an
    // endless answer stops here rather than fill the disk.
    static constexpr qint64 SizeLimit = qint64(256) * 1024 * 1024;

    // `commands` go first on the tool bar (Print, Save).
    PdfViewer(const QList<QAction *> &commands, QWidget *parent);
    ~PdfViewer() override;

    // Takes the file `request` brings: accepts it into a folder of its own,
    // or cancels it, before it returns.
    void take(QWebEngineDownloadRequest *request);
    // Stops a file on its way and lets the one shown go.
    void close();
    // A file is on its way or shown, or why not.
    bool isOpen() const { return m_open; }
    bool isLoading() const { return bool(m_request); }
    QUrl url() const { return m_url; }
    // The file's name, as its server gave it.
    QString name() const { return m_name; }
    // The document shown, whole and readable; null while there is none.
    std::shared_ptr<PdfFile> file() const { return m_file; }
    // What the viewer says in place of a document, if it says anything.
    QString message() const;
    // Why the file is not shown, once it has come; empty while it is.
    QString problem() const { return m_problem; }
    PdfPane *pane() const { return m_pane; }
    void setSizeLimitForTesting(qint64 bytes) { m_limit = bytes; }

signals:
    // Bytes have come; `total` is -1 while the size is unknown.
    void progressed(qint64 received, qint64 total);
    // The file has come and shows, or what went wrong does.
    void loaded();

private:
    // After a cancelled file's folder went, how long until it is looked for again.
    static constexpr int LateFolderMs = 3000;

    void arrived();
    void fail(const QString &why);
    // Cancels the file still coming and lets its folder go.
    void letGo();
    void say(const QString &text);

    PdfPane *m_pane;
    QLabel *m_message;
    QStackedLayout *m_stack;
    QPointer<QWebEngineDownloadRequest> m_request;
    std::unique_ptr<class QTemporaryDir> m_folder;
    std::shared_ptr<PdfFile> m_file;
    QUrl m_url;
    QString m_name;
    QString m_problem;
    qint64 m_limit = SizeLimit;
    bool m_open = false;
};
