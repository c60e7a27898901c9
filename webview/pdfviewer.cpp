#include "pdfviewer.h"

#include "download.h"
#include "pdffile.h"
#include "pdfpageview.h"
#include "pdfpane.h"
#include "privatefolder.h"

#include <QDir>
#include <QLabel>
#include <QLocale>
#include <QStackedLayout>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrlQuery>
#include <QWebEngineDownloadRequest>

PdfViewer::PdfViewer(const QList<QAction *> &commands, QWidget *parent)
    : QWidget(parent), m_pane(new PdfPane(commands, this)), m_message(new QLabel(this)), m_stack(new QStackedLayout(this))
{
    setObjectName(QStringLiteral("pdfViewer"));
    m_message->setObjectName(QStringLiteral("pdfMessage"));
    m_message->setTextFormat(Qt::PlainText);
    m_message->setAlignment(Qt::AlignCenter);
    m_message->setWordWrap(true);
    m_message->setAutoFillBackground(true);
    m_stack->setContentsMargins(0, 0, 0, 0);
    m_stack->addWidget(m_pane);
    m_stack->addWidget(m_message);
    setFocusProxy(m_pane);
}

PdfViewer::~PdfViewer()
{
    close();
}

void PdfViewer::take(QWebEngineDownloadRequest *request)
{
    close();
    m_open = true;
    m_url = request->url();
    QString name = downloads::cleanFileName(request->suggestedFileName());
    if (!name.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        name += QLatin1String(".pdf");
    m_name = name;
    // The file is the user's business alone, and goes with the viewer.
    auto folder = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/velmora-pdf-XXXXXX"));
    QString problem = folder->isValid() ? privatefolder::check(folder->path()) : folder->errorString();
    if (problem.isEmpty() && request->totalBytes() > m_limit)
        problem = tr("The PDF file is larger than %1; it is not shown.")
                      .arg(QLocale().formattedDataSize(m_limit, 0, QLocale::DataSizeTraditionalFormat));
    if (!problem.isEmpty()) {
        request->cancel();
        fail(problem);
        return;
    }
    request->setDownloadDirectory(folder->path());
    request->setDownloadFileName(m_name);
    m_folder = std::move(folder);
    m_request = request;
    connect(request, &QWebEngineDownloadRequest::receivedBytesChanged, this, [this] {
        const qint64 received = m_request->receivedBytes();
        if (received > m_limit) {
            fail(tr("The PDF file is larger than %1; it is not shown.")
                     .arg(QLocale().formattedDataSize(m_limit, 0, QLocale::DataSizeTraditionalFormat)));
            return;
        }
        say(tr("Loading %1: %2").arg(m_name, downloads::progressText(received, m_request->totalBytes())));
        emit progressed(received, m_request->totalBytes());
    });
    connect(request, &QWebEngineDownloadRequest::isFinishedChanged, this, [this] {
        if (m_request && m_request->isFinished())
            arrived();
    });
    request->accept();
    say(tr("Loading %1...").arg(m_name));
}

void PdfViewer::arrived()
{
    QWebEngineDownloadRequest *request = std::exchange(m_request, nullptr);
    disconnect(request, nullptr, this, nullptr);
    if (request->state() != QWebEngineDownloadRequest::DownloadCompleted) {
        fail(tr("The PDF file did not arrive whole (%1); it is not shown.").arg(request->interruptReasonString()));
        return;
    }
    auto file = std::make_shared<PdfFile>(std::move(m_folder), QDir(request->downloadDirectory()).filePath(m_name), m_name);
    if (const QString problem = file->open(); !problem.isEmpty()) {
        fail(problem);
        return;
    }
    m_file = std::move(file);
    m_pane->setDocument(&m_file->document(), PdfPane::PageLimit);
    m_stack->setCurrentWidget(m_pane);
    // An address that names a page ("#page=2") opens at it.
    const QString page = QUrlQuery(m_url.fragment()).queryItemValue(QStringLiteral("page"));
    if (!page.isEmpty())
        m_pane->pages()->goToPage(page.toInt() - 1);
    emit loaded();
}

void PdfViewer::fail(const QString &why)
{
    // What came of the file goes, whatever came of it.
    letGo();
    m_problem = why;
    say(why + QLatin1Char('\n') + m_url.toDisplayString());
    emit loaded();
}

void PdfViewer::letGo()
{
    QWebEngineDownloadRequest *request = std::exchange(m_request, nullptr);
    if (!request || request->isFinished()) {
        m_folder.reset();
        return;
    }
    // The engine may still be making the file as it is cancelled: the folder
    // goes when the engine says it is done with it, or with the engine's
    // request. The engine's own thread can still make the folder again after
    // it said so (seen under load), so it is looked at once more later.
    disconnect(request, nullptr, this, nullptr);
    std::shared_ptr<QTemporaryDir> folder = std::move(m_folder);
    connect(request, &QWebEngineDownloadRequest::isFinishedChanged, request, [request, folder] {
        if (!request->isFinished())
            return;
        folder->remove();
        QTimer::singleShot(LateFolderMs, request, [folder] { QDir(folder->path()).removeRecursively(); });
    });
    request->cancel();
}

void PdfViewer::say(const QString &text)
{
    m_message->setText(text);
    m_stack->setCurrentWidget(m_message);
}

QString PdfViewer::message() const
{
    return m_stack->currentWidget() == m_message ? m_message->text() : QString();
}

void PdfViewer::close()
{
    letGo();
    m_pane->setDocument(nullptr, 0);
    m_file.reset();
    m_open = false;
    m_url.clear();
    m_name.clear();
    m_problem.clear();
    m_message->clear();
}
