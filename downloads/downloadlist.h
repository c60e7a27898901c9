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
    // How many downloads are still running.
    int running() const;
    // Asks over `parent` whether to quit while downloads run ("2 downloads
    // are still running": Keep downloading, the default and what Esc gives,
    // or Quit). True when none runs or the user chose Quit, and then the
    // running ones have ended as endAll ends them; false keeps them going.
    bool askToQuit(QWidget *parent);
    // Cancels every running download and waits, a few seconds at most, for
    // the engine to let go of each: no part file is left, and nothing at a
    // download's name but what was there before.
    void endAll();

    // The folder downloads are offered in, made private to the user if the
    // program makes it.
    static QString folder();

signals:
    void added(Download *download);
    void removed(Download *download);

private:
    QList<Download *> m_downloads;
};
