#include "bookmarkfile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QThread>

#include <cstdio>

#ifndef _WIN32
#include <sys/resource.h>
#endif

// A second process working on a bookmark file, for the tests that kill it or
// race it against another one:
//   bookmarkchild rewrite FILE OLD NEW   rewrites FILE with the bytes of NEW
//                                        and OLD in turn until it is killed;
//                                        prints "ready" after the first rewrite
//   bookmarkchild append FILE TAG COUNT  after a line on standard input,
//                                        appends TAG-i|http://TAG/i for i < COUNT
//   bookmarkchild churn FILE TAG STOP    after a line on standard input, adds
//                                        TAG-i and deletes it again, round after
//                                        round, until the file STOP exists
//   bookmarkchild torn FILE TAG STOP     the same with appends that a size
//                                        limit 5 bytes past the file's size
//                                        stops part-way (not on Windows)
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
            const bookmarkfile::Result result =
                bookmarkfile::append(path, tag + u'-' + n, QStringLiteral("http://%1/%2").arg(tag, n));
            if (!result.ok()) {
                std::fprintf(stderr, "%s\n", qPrintable(result.error));
                return 1;
            }
        }
        return 0;
    }
    if ((mode == QLatin1String("churn") || mode == QLatin1String("torn")) && args.size() == 5) {
        std::getchar();
        bookmarkfile::safefile::failWritesPastSizeLimit();
        const auto whenFree = [](auto change) {
            bookmarkfile::Result result;
            while ((result = change()).busy) {
            }
            return result;
        };
        int rounds = 0;
        do {
            QElapsedTimer took;
            took.start();
            const bookmarkfile::Bookmark own{args.at(3) + u'-' + QString::number(rounds),
                                             QStringLiteral("http://%1/%2").arg(args.at(3)).arg(rounds)};
            bookmarkfile::Result result;
            if (mode == QLatin1String("churn")) {
                result = whenFree([&] { return bookmarkfile::append(path, own.name, own.address); });
                if (result.ok())
                    result = whenFree([&] { return bookmarkfile::remove(path, {own}); });
            }
#ifndef _WIN32
            else {
                rlimit limit{};
                getrlimit(RLIMIT_FSIZE, &limit);
                const rlim_t unlimited = limit.rlim_cur;
                limit.rlim_cur = rlim_t(QFileInfo(path).size() + 5);
                setrlimit(RLIMIT_FSIZE, &limit);
                // Longer than the room left: it must never go out.
                if (bookmarkfile::append(path, own.name, own.address).ok())
                    result.error = QStringLiteral("an append past the size limit succeeded");
                limit.rlim_cur = unlimited;
                setrlimit(RLIMIT_FSIZE, &limit);
            }
#endif
            if (!result.ok()) {
                std::fprintf(stderr, "%s\n", qPrintable(result.error));
                return 1;
            }
            ++rounds;
            // A person's clicks leave gaps; a loop without any would keep the
            // lock to itself until the other process gave up waiting.
            QThread::usleep(unsigned(took.nsecsElapsed() / 1000));
        } while (!QFileInfo::exists(args.at(4)));
        std::printf("rounds %d\n", rounds);
        return 0;
    }
    std::fputs("usage: bookmarkchild rewrite FILE OLD NEW | append FILE TAG COUNT | churn|torn FILE TAG STOP\n", stderr);
    return 2;
}
