#include "bookmarkfile.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>

#include <cstdio>

// A second process working on a bookmark file, for the tests that kill it or
// race it against another one:
//   bookmarkchild rewrite FILE OLD NEW   rewrites FILE with the bytes of NEW
//                                        and OLD in turn until it is killed;
//                                        prints "ready" after the first rewrite
//   bookmarkchild append FILE TAG COUNT  after a line on standard input,
//                                        appends TAG-i|http://TAG/i for i < COUNT
int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString mode = args.value(1), path = args.value(2);
    if (mode == QLatin1String("rewrite") && args.size() == 5) {
        QFile oldFile(args.at(3)), newFile(args.at(4));
        if (!oldFile.open(QIODevice::ReadOnly) || !newFile.open(QIODevice::ReadOnly))
            return 2;
        const QByteArray oldBytes = oldFile.readAll(), newBytes = newFile.readAll();
        for (bool first = true;; first = false) {
            if (!bookmarkfile::rewrite(path, newBytes).ok())
                return 1;
            if (first) {
                std::puts("ready");
                std::fflush(stdout);
            }
            if (!bookmarkfile::rewrite(path, oldBytes).ok())
                return 1;
        }
    }
    if (mode == QLatin1String("append") && args.size() == 5) {
        const QString tag = args.at(3);
        const int count = args.at(4).toInt();
        std::getchar();
        for (int i = 0; i < count; ++i) {
            const QString n = QString::number(i);
            if (!bookmarkfile::append(path, tag + u'-' + n, QStringLiteral("http://%1/%2").arg(tag, n)).ok())
                return 1;
        }
        return 0;
    }
    std::fputs("usage: bookmarkchild rewrite FILE OLD NEW | append FILE TAG COUNT\n", stderr);
    return 2;
}
