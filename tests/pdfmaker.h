#pragma once

#include <QByteArray>
#include <QList>
#include <QSizeF>
#include <QString>

#include <functional>

// PDF files made up for tests and benchmarks: `count` pages of `size` points,
// page N (from 1) with the line `text(N)` on it in Helvetica, ASCII only;
// `coloured` fills the pages red, green and blue in turn, to tell them apart.
inline QByteArray makePdf(int count, QSizeF size, const std::function<QString(int)> &text, bool coloured = false)
{
    QList<QByteArray> objects;
    QByteArray kids;
    for (int page = 0; page < count; ++page)
        kids += QByteArray::number(4 + 2 * page) + " 0 R ";
    objects << "<< /Type /Catalog /Pages 2 0 R >>"
            << "<< /Type /Pages /Kids [" + kids + "] /Count " + QByteArray::number(count) + " >>"
            << "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>";
    // The text sits near the top left corner, scaled down to fit a small page.
    const qreal fontSize = qBound(1.0, size.height() / 4, 24.0);
    const QByteArray at = QByteArray::number(qMin(72.0, size.width() / 10)) + ' '
        + QByteArray::number(size.height() - fontSize * 1.5 - qMin(72.0, size.height() / 10));
    for (int page = 1; page <= count; ++page) {
        QByteArray line = text(page).toLatin1();
        line.replace('\\', "\\\\").replace('(', "\\(").replace(')', "\\)");
        static const char *const colours[] = {"1 0 0", "0 1 0", "0 0 1"};
        const QByteArray fill = coloured ? QByteArray(colours[(page - 1) % 3]) + " rg 0 0 " + QByteArray::number(size.width())
                + ' ' + QByteArray::number(size.height()) + " re f 0 g "
                                         : QByteArray();
        const QByteArray content = fill + "BT /F1 " + QByteArray::number(fontSize) + " Tf " + at + " Td (" + line + ") Tj ET";
        objects << "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + QByteArray::number(size.width()) + ' '
                + QByteArray::number(size.height()) + "] /Resources << /Font << /F1 3 0 R >> >> /Contents "
                + QByteArray::number(5 + 2 * (page - 1)) + " 0 R >>"
                << "<< /Length " + QByteArray::number(content.size()) + " >>\nstream\n" + content + "\nendstream";
    }
    QByteArray pdf = "%PDF-1.4\n";
    QByteArray table = "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (qsizetype i = 0; i < objects.size(); ++i) {
        table += QByteArray::number(pdf.size()).rightJustified(10, '0') + " 00000 n \n";
        pdf += QByteArray::number(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const QByteArray start = QByteArray::number(pdf.size());
    return pdf + table + "trailer << /Size " + QByteArray::number(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n"
        + start + "\n%%EOF\n";
}
