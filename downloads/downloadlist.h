#pragma once

#include "download.h"

#include <QList>
#include <QObject>

class QWebEngineDownloadRequest;
class QWidget;

// Every download of the program, wherever it started: it asks where each
// one goes and keeps it until the user clears it or the program ends.
class DownloadList : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // The downloads, oldest first.
    const QList<Download *> &all() const { return m_downloads; }

    // Asks over `parent` where `request` goes (in the Downloads folder, under
    // its cleaned name); on a choice it runs as a new Download, otherwise it
    // is cancelled. Returns the new download, or null.
    Download *ask(QWebEngineDownloadRequest *request, QWidget *parent);
    // Adds a download that runs to `target`.
    Download *add(QWebEngineDownloadRequest *request, const QString &target);
    // Forgets the downloads that have ended.
    void clearFinished();

    // The folder downloads are offered in, made private to the user if the
    // program makes it.
    static QString folder();

signals:
    void added(Download *download);
    void removed(Download *download);

private:
    QList<Download *> m_downloads;
};
