#include "engineview.h"
#include "httpserver.h"
#include "pdfmaker.h"
#include "pdffile.h"
#include "pdfviewer.h"
#include "processtree.h"
#include "rendering.h"
#include "schemes.h"
#include "session.h"
#include "testmain.h"
#include "widgetfixture.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QThread>
#include <QWebEngineView>

#include <cstdio>
#include <csignal>

// Memory of the print commands: Print Preview and Print to File of a
// 1,200-page PDF file and of a 150-page web page. Each command runs in a
// process of its own, which reports its peak resident memory (VmHWM); this
// process samples the whole tree's (the engine's processes included) and
// stops a command whose program passes the cap. Prints figures; asserts
// nothing.
//   printbench [--cap MB]     on an X server (the target bench-printing runs one)

namespace {

constexpr int PdfPages = 1200;
constexpr int WebPages = 150;

struct Scenario
{
    const char *name;
    const char *path;
    int command;
    int from = 0, to = 0; // a page range, for a print to file
};

const Scenario Scenarios[] = {
    {"preview, 1,200-page PDF file", "/doc.pdf", WebView::PrintPreviewCmd},
    {"print to file, 1,200-page PDF file", "/doc.pdf", WebView::PrintCmd},
    {"print pages 2-101 to file, 1,200-page PDF file", "/doc.pdf", WebView::PrintCmd, 2, 101},
    {"preview, 150-page web page", "/long", WebView::PrintPreviewCmd},
    {"print to file, 150-page web page", "/long", WebView::PrintCmd},
};

qint64 statusKb(const QString &pid, const QByteArray &field)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

QByteArray longPage()
{
    QByteArray html = "<html><head><title>Long page</title><style>section { break-after: page }</style></head><body>";
    for (int page = 1; page <= WebPages; ++page) {
        html += "<section><h1>Section " + QByteArray::number(page) + "</h1>";
        for (int para = 0; para < 6; ++para)
            html += "<p>Room " + QByteArray::number(page * 10 + para)
                + ": a double room with a view of the river, breakfast included, free cancellation until"
                  " the day before arrival. Prices are per night, taxes included.</p>";
        html += "<table border=1><tr><th>Night</th><th>Price</th></tr><tr><td>1</td><td>120 EUR</td></tr></table></section>";
    }
    return html + "</body></html>";
}

// One command in this process: prints "peak KB ms" on stdout.
int runScenario(const Scenario &scenario)
{
    HttpServer server;
    server.setPage("/doc.pdf", HttpServer::Page{makePdf(PdfPages, QSizeF(595, 842),
                                                        [](int page) { return QStringLiteral("Page %1 of the voucher").arg(page); }),
                                                "application/pdf"});
    server.setPage("/long", longPage());
    Session session;
    EngineView view(session);
    view.resize(1000, 700);
    view.show();
    QSignalSpy loaded(view.engine(), &QWebEngineView::loadFinished);
    view.Navigate(server.url(QString::fromLatin1(scenario.path)));
    if (!loaded.wait(60000))
        return 2;
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("printed.pdf"));
    // The PDF file shows once it has come.
    if (QByteArray(scenario.path).endsWith(".pdf") && !QTest::qWaitFor([&] { return bool(view.pdfViewer()->file()); }, 60000))
        return 2;
    QPrinter *printer = view.printer();
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(file);
    printer->setPrintRange(scenario.from ? QPrinter::PageRange : QPrinter::AllPages);
    printer->setFromTo(scenario.from, scenario.to);
    // The print dialog is accepted; the preview is scrolled from its first
    // page to its last, a screen at a time, then closed.
    int steps = 0;
    ModalWatch watch(
        [&](QWidget *modal) {
            if (auto *dialog = qobject_cast<QPrintDialog *>(modal)) {
                dialog->accept();
                return;
            }
            // Pages still being made are left alone.
            if (!modal || scenario.command != WebView::PrintPreviewCmd || QApplication::overrideCursor())
                return;
            QAbstractScrollArea *pages = nullptr;
            for (auto *area : modal->findChildren<QAbstractScrollArea *>()) {
                if (!pages || area->verticalScrollBar()->maximum() > pages->verticalScrollBar()->maximum())
                    pages = area;
            }
            QScrollBar *bar = pages ? pages->verticalScrollBar() : nullptr;
            if (!bar || bar->value() >= bar->maximum() || ++steps > 5000)
                modal->close();
            else
                bar->setValue(bar->value() + pages->viewport()->height());
        },
        20);
    QElapsedTimer timer;
    timer.start();
    try {
        view.ExecWB(scenario.command, scenario.command == WebView::PrintCmd ? WebView::PromptUser : WebView::DoDefault);
    } catch (const WebViewError &e) {
        std::fprintf(stderr, "printbench: %s\n", e.what());
        return 3;
    }
    const qint64 ms = timer.elapsed();
    if (scenario.command == WebView::PrintCmd && QFileInfo(file).size() == 0)
        return 4;
    std::printf("%lld %lld %d\n", statusKb(QStringLiteral("self"), "VmHWM"), ms, steps);
    return 0;
}

int runAll(const QString &program, qint64 capMb)
{
    std::printf("%-48s %16s %16s %9s\n", "command", "program peak MB", "all processes MB", "seconds");
    for (int i = 0; i < int(std::size(Scenarios)); ++i) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(program, {QStringLiteral("--scenario"), QString::number(i)});
        child.waitForStarted();
        qint64 treePeak = 0;
        bool capped = false;
        while (!child.waitForFinished(200)) {
            const QList<pid_t> tree = processTree(pid_t(child.processId()));
            treePeak = qMax(treePeak, pssBytes(tree) / 1048576);
            if (statusKb(QString::number(child.processId()), "VmRSS") / 1024 > capMb) {
                // Past the cap the machine is at risk: the figure is "over".
                for (pid_t pid : tree)
                    ::kill(pid, SIGKILL);
                capped = true;
            }
        }
        const QList<QByteArray> figures = child.readAllStandardOutput().trimmed().split(' ');
        if (capped)
            std::printf("%-48s %16s %16lld %9s\n", Scenarios[i].name,
                        qPrintable(QStringLiteral("over %1").arg(capMb)), treePeak, "-");
        else if (child.exitCode() != 0 || figures.size() < 2)
            std::printf("%-48s %16s (exit %d)\n", Scenarios[i].name, "failed", child.exitCode());
        else
            std::printf("%-48s %16lld %16lld %9.1f\n", Scenarios[i].name, figures[0].toLongLong() / 1024, treePeak,
                        figures[1].toLongLong() / 1000.0);
        std::fflush(stdout);
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    const QStringList args = [&] {
        QStringList list;
        for (int i = 1; i < argc; ++i)
            list << QString::fromLocal8Bit(argv[i]);
        return list;
    }();
    if (const qsizetype at = args.indexOf(QStringLiteral("--scenario")); at >= 0) {
        QTemporaryDir runtime;
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(runtime.path() + "/cache"));
        qputenv("XDG_DATA_HOME", QFile::encodeName(runtime.path() + "/data"));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(runtime.path() + "/config"));
        velmoraTestSandbox();
        velmoraTestSessionBus(runtime.path());
        const bool software = rendering::chooseBeforeApplication();
        schemes::registerOwn();
        QApplication app(argc, argv);
        rendering::keepChoiceFromChildren(software);
        QApplication::setApplicationName(QStringLiteral("Velmora"));
        return runScenario(Scenarios[args.value(at + 1).toInt()]);
    }
    QCoreApplication app(argc, argv);
    const qsizetype cap = args.indexOf(QStringLiteral("--cap"));
    return runAll(QCoreApplication::applicationFilePath(), cap >= 0 ? args.value(cap + 1).toLongLong() : 4096);
}
