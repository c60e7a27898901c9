#include "pdffile.h"

#include "pdfpages.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <utility>

PdfFile::PdfFile(QByteArray bytes, QString name, bool rangeDone)
    : m_bytes(std::move(bytes)), m_name(std::move(name)), m_rangeDone(rangeDone)
{
}

PdfFile::PdfFile(std::unique_ptr<QTemporaryDir> folder, const QString &path, QString name)
    : m_folder(std::move(folder)), m_path(path), m_name(std::move(name))
{
}

QString PdfFile::open()
{
    if (m_path.isEmpty()) {
        m_buffer.setData(m_bytes);
        if (m_bytes.isEmpty() || !m_buffer.open(QIODevice::ReadOnly))
            return QCoreApplication::translate("PdfPages", "The PDF file is empty.");
        m_document.load(&m_buffer);
        return pdfpages::openFailure(m_document.error(), m_document.pageCount());
    }
    if (QFileInfo(m_path).size() == 0)
        return QCoreApplication::translate("PdfPages", "The PDF file is empty.");
    const QPdfDocument::Error error = m_document.load(m_path);
    return pdfpages::openFailure(error, m_document.pageCount());
}

bool PdfFile::copyTo(const QString &target) const
{
    // A failed write leaves no half-written file behind.
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    if (m_path.isEmpty()) {
        if (out.write(m_bytes) != m_bytes.size())
            return false;
    } else {
        QFile in(m_path);
        if (!in.open(QIODevice::ReadOnly))
            return false;
        char chunk[65536];
        for (qint64 got; (got = in.read(chunk, sizeof chunk)) > 0;) {
            if (out.write(chunk, got) != got)
                return false;
        }
        if (in.error() != QFile::NoError)
            return false;
    }
    return out.commit();
}
