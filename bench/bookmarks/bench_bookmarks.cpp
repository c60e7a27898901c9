#include "bookmarkfile.h"
#include "fakewebview.h"
#include "frmbookmark.h"
#include "frmmain.h"
#include "bookmarklocation.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

// How long the bookmark commands take as the bookmark file grows: opening the
// bookmark window with its list filled, adding one bookmark, deleting one.
// Prints milliseconds (median of several runs, and the slowest); asserts nothing.

namespace {

struct Figures
{
    double median, slowest;
};

Figures measure(int runs, const std::function<void()> &prepare, const std::function<double()> &run)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        prepare();
        times.push_back(run());
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.back()};
}

double elapsedMs(const std::function<void()> &step)
{
    QElapsedTimer timer;
    timer.start();
    step();
    return timer.nsecsElapsed() / 1e6;
}

QByteArray fileOf(int records)
{
    QByteArray bytes;
    for (int i = 0; i < records; ++i) {
        const QString n = QString::number(i);
        bytes += bookmarkfile::encodeRecord(QStringLiteral("Hotels in city %1 - best prices").arg(n),
                                            QStringLiteral("https://www.example.com/hotels/%1?a_aid=1&brandId=2").arg(n));
    }
    return bytes;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

// The offscreen platform warns on every raise(); the figures are what matter.
void quietPlatform(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (!message.startsWith(QLatin1String("This plugin does not support")))
        std::fprintf(stderr, "%s%s\n", type == QtDebugMsg ? "" : "warning: ", qPrintable(message));
}

} // namespace

int main(int argc, char *argv[])
{
    qInstallMessageHandler(quietPlatform);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QTemporaryDir dir;
    frmMain window([](QWidget *parent) { return new FakeWebView(parent); }, QStringLiteral("http://127.0.0.1:9/"),
                   nullptr, dir.path());
    const QString path = window.BookmarkFilePath = SetBookmarkPath(dir.path());

    const auto openWindow = [&](bool view) {
        (view ? window.mnuViewBookMark : window.mnuDelBookMark)->trigger();
        QApplication::processEvents();   // shown and painted
        return window.findChild<frmBookmark *>();
    };
    const auto closeWindow = [&] {
        delete window.findChild<frmBookmark *>();
    };

    std::printf("%9s %18s %18s %18s %18s\n", "records", "open view (ms)", "open delete (ms)", "add one (ms)",
                "delete one (ms)");
    for (const int records : {1000, 10000, 100000}) {
        const QByteArray bytes = fileOf(records);
        const auto restore = [&] { writeFile(path, bytes); };
        const Figures view = measure(7, restore, [&] {
            const double ms = elapsedMs([&] { openWindow(true); });
            closeWindow();
            return ms;
        });
        const Figures del = measure(7, restore, [&] {
            const double ms = elapsedMs([&] { openWindow(false); });
            closeWindow();
            return ms;
        });
        restore();
        const Figures add = measure(200, [] {}, [&] {
            return elapsedMs([&] { window.AddBookmarkEntry(QStringLiteral("Added"), QStringLiteral("https://a/")); });
        });
        frmBookmark *form = nullptr;
        const Figures remove = measure(7, [&] {
            restore();
            form = openWindow(false);
            form->lstBookmark->item(records / 2)->setCheckState(Qt::Checked);
        }, [&] {
            const double ms = elapsedMs([&] { form->cmdDelete_Click(); });
            closeWindow();
            return ms;
        });
        std::printf("%9d %9.1f (%6.1f) %9.1f (%6.1f) %9.3f (%6.3f) %9.1f (%6.1f)\n", records, view.median, view.slowest,
                    del.median, del.slowest, add.median, add.slowest, remove.median, remove.slowest);
    }
    std::printf("median (slowest) of 7 runs; adding: of 200 runs\n");
    return 0;
}
