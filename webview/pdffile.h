#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QPdfDocument>
#include <QString>
#include <QTemporaryDir>

#include <memory>

// A PDF document the program shows or prints: its bytes, in memory (a page
// the engine laid out for the printer) or in a file of the program's own
// (a PDF file it was sent), and the document Qt PDF opens from them. What
// is printed or saved is these bytes, whatever their server says later.
class PdfFile
{
public:
    // Bytes the engine made of a page laid out on the printer's paper; the
    // page range asked for is in them already with `rangeDone`.
    PdfFile(QByteArray bytes, QString name, bool rangeDone);
    // The file at `path` in `folder`, a private folder of the program's
    // that goes with this object.
    PdfFile(std::unique_ptr<QTemporaryDir> folder, const QString &path, QString name);
    PdfFile(const PdfFile &) = delete;
    PdfFile &operator=(const PdfFile &) = delete;

    // Opens the document: empty when it can be shown and printed, else why
    // not, in a sentence.
    QString open();
    QPdfDocument &document() { return m_document; }
    // Its pages are laid out on the paper already (made by the engine).
    bool onPaper() const { return m_path.isEmpty(); }
    bool rangeDone() const { return m_rangeDone; }
    // The name a copy of it is offered under.
    QString name() const { return m_name; }
    // Where its bytes are, when they are in a file.
    QString path() const { return m_path; }
    // Writes the bytes to `target`, whole or not at all.
    bool copyTo(const QString &target) const;

private:
    QByteArray m_bytes;
    std::unique_ptr<QTemporaryDir> m_folder;
    QString m_path;
    QString m_name;
    bool m_rangeDone = false;
    QBuffer m_buffer;
    QPdfDocument m_document;
};
