// Start-up benchmark: starts the floor program and Velmora in turn under the
// X server in DISPLAY, serves them the same home page from 127.0.0.1, and
// measures from spawn to the first top-level window mapped, to the request for
// the home page, to the page's /loaded request, and the memory of the whole
// process tree (PSS). Runs start with the profile of the runs before or with
// an empty one, with the page cache warm or with the programs' files dropped
// from it. It prints figures; it never fails on time.
#include "homepage.h"
#include "homeserver.h"
#include "pagecache.h"
#include "processtree.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include <xcb/xcb.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <csignal>
#include <optional>
#include <unistd.h>

namespace {

// Tells when a top-level window is mapped on the display: the root window's
// substructure events arrive as the X server maps the window.
class MapWatcher : public QObject
{
    Q_OBJECT
public:
    MapWatcher()
    {
        m_connection = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(m_connection))
            return;
        const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_generic_error_t *error = xcb_request_check(
            m_connection, xcb_change_window_attributes_checked(m_connection, screen->root, XCB_CW_EVENT_MASK, &mask));
        if (error) {
            std::free(error);
            return;
        }
        m_notifier = new QSocketNotifier(xcb_get_file_descriptor(m_connection), QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, [this] { drain(); });
    }
    ~MapWatcher() override { xcb_disconnect(m_connection); }

    bool isWatching() const { return m_notifier != nullptr; }

    // Reads the events that have arrived; run before a program starts, it
    // clears away those of the previous one.
    void drain()
    {
        while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection)) {
            if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY
                && !reinterpret_cast<xcb_map_notify_event_t *>(event)->override_redirect)
                emit mapped();
            std::free(event);
        }
    }

signals:
    // An ordinary top-level window (not a menu or tooltip) was mapped.
    void mapped();

private:
    xcb_connection_t *m_connection = nullptr;
    QSocketNotifier *m_notifier = nullptr;
};

// What one run measures; a figure stays empty when its event never came.
enum Metric { Mapped, Requested, Loaded, CpuMapped, CpuLoaded, Pss, MetricCount };
using Figures = std::array<std::optional<double>, MetricCount>;

struct MetricInfo
{
    const char *column;
    const char *label;
    double target; // as a ratio to the floor; 0: shown for reference only
};
constexpr MetricInfo Metrics[MetricCount] = {
    {"mapped ms", "window mapped ms", 0.35},
    {"asked ms", "home asked for ms", 0},
    {"loaded ms", "page loaded ms", 0.85},
    {"CPU@map ms", "CPU to mapped ms", 0},
    {"CPU@load ms", "CPU to loaded ms", 0},
    {"PSS MiB", "PSS MiB", 0.85},
};

// Lets the system finish tearing down one run before the next starts.
constexpr int PauseBetweenRunsMs = 300;

// Ends the program and every process it started, and waits until they are gone
// so that the next run has the machine to itself.
void endProgram(QProcess &process)
{
    const QList<pid_t> tree = processTree(pid_t(process.processId()));
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
    QElapsedTimer waited;
    waited.start();
    for (pid_t pid : tree) {
        while (isRunning(pid)) {
            if (waited.elapsed() > 5000)
                ::kill(pid, SIGKILL);
            QThread::msleep(20);
        }
    }
}

// The machine's load average over 1, 5 and 15 minutes.
QString loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("unknown");
    return QString::fromLatin1(file.readAll()).section(QLatin1Char(' '), 0, 2);
}

struct Options
{
    QString homePath;
    int settleMs = 0;
    bool verbose = false;
    // Every run starts with an empty profile, as a user's first start does.
    bool firstRun = false;
    // The programs' files are dropped from the page cache before every run.
    bool cold = false;
};

class Bench
{
public:
    Bench(MapWatcher &watcher, HomeServer &server, const Options &options)
        : m_watcher(watcher), m_server(server), m_options(options)
    {
        m_environment = QProcessEnvironment::systemEnvironment();
        // One profile folder: kept, both programs start with the caches of
        // the runs before, as a user's later starts would.
        m_environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_state.path());
        m_environment.insert(QStringLiteral("XDG_CACHE_HOME"), m_state.filePath(QStringLiteral("cache")));
        m_environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_state.filePath(QStringLiteral("config")));
        m_environment.insert(QStringLiteral("XDG_DATA_HOME"), m_state.filePath(QStringLiteral("data")));
        m_environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    }

    // Runs `program` with `arguments`; `sandboxOff` turns the engine's sandbox
    // off through its environment variable.
    Figures run(const QString &program, const QStringList &arguments, bool sandboxOff)
    {
        prepare(program);
        Figures figures;
        QEventLoop loop;
        QElapsedTimer clock;
        QProcess process;
        QProcessEnvironment environment = m_environment;
        if (sandboxOff)
            environment.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
        process.setProcessEnvironment(environment);
        process.setStandardOutputFile(QProcess::nullDevice());
        if (m_options.verbose)
            process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        else
            process.setStandardErrorFile(QProcess::nullDevice());

        const auto tree = [&process] { return processTree(pid_t(process.processId())); };
        // Once the window is up and the page loaded, memory is read after the
        // engine has settled.
        const auto reached = [&](Metric metric) {
            if (figures[metric])
                return;
            figures[metric] = clock.nsecsElapsed() / 1e6;
            if (metric == Requested)
                return;
            // Processor time is less disturbed than wall time by other load on the machine.
            figures[metric == Mapped ? CpuMapped : CpuLoaded] = cpuMs(tree());
            if (figures[Mapped] && figures[Loaded])
                QTimer::singleShot(m_options.settleMs, &loop, [&] {
                    const QList<pid_t> processes = tree();
                    figures[Pss] = pssBytes(processes) / 1048576.0;
                    for (const QString &file : mappedFiles(processes))
                        m_files.insert(file);
                    loop.quit();
                });
        };
        QObject::connect(&m_watcher, &MapWatcher::mapped, &loop, [&] { reached(Mapped); });
        QObject::connect(&m_server, &HomeServer::requested, &loop, [&](const QString &path) {
            if (path == QLatin1String("/loaded"))
                reached(Loaded);
            else if (path == m_options.homePath)
                reached(Requested);
        });
        QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);

        m_watcher.drain();
        clock.start();
        process.start(program, arguments);
        if (process.waitForStarted(10000))
            loop.exec();
        else
            std::fprintf(stderr, "startupbench: cannot start %s\n", qPrintable(program));
        if (process.state() != QProcess::NotRunning)
            endProgram(process);
        QThread::msleep(PauseBetweenRunsMs);
        return figures;
    }

    // Bytes of the programs' files left in the page cache after each drop:
    // pages that other processes on the machine have mapped stay.
    QList<double> residentAfterDrop() const { return m_resident; }
    qint64 droppedBytes() const { return pageCacheUse(files()).total; }

private:
    QStringList files() const { return QStringList(m_files.begin(), m_files.end()); }

    void prepare(const QString &program)
    {
        if (m_options.firstRun) {
            for (const char *folder : {"cache", "config", "data"})
                QDir(m_state.filePath(QString::fromLatin1(folder))).removeRecursively();
        }
        if (m_options.cold) {
            // The files the programs mapped in the runs so far, the programs
            // themselves included for the first run.
            m_files.insert(program);
            dropFromPageCache(files());
            m_resident << pageCacheUse(files()).resident / 1048576.0;
        }
    }

    MapWatcher &m_watcher;
    HomeServer &m_server;
    Options m_options;
    QTemporaryDir m_state;
    QProcessEnvironment m_environment;
    QSet<QString> m_files;
    QList<double> m_resident;
};

struct Summary
{
    double median = 0, min = 0, max = 0;
};

Summary summarise(QList<double> values)
{
    Summary s;
    if (values.isEmpty())
        return s;
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    s.median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    s.min = values.front();
    s.max = values.back();
    return s;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Start-up of Velmora against the bare web engine, under $DISPLAY."));
    parser.addHelpOption();
    const QCommandLineOption runsOption(QStringLiteral("runs"), QStringLiteral("Runs of each program (at least 7)."),
                                        QStringLiteral("n"), QStringLiteral("9"));
    const QCommandLineOption settleOption(QStringLiteral("settle"),
                                          QStringLiteral("Wait after the page loaded before memory is read (ms)."),
                                          QStringLiteral("ms"), QStringLiteral("1500"));
    const QCommandLineOption verboseOption(QStringLiteral("verbose"), QStringLiteral("Show the programs' own messages."));
    const QCommandLineOption firstRunOption(QStringLiteral("first-run"),
                                            QStringLiteral("Empty the profile before every run (a user's first start)."));
    const QCommandLineOption coldOption(QStringLiteral("cold"),
                                        QStringLiteral("Drop the programs' files from the page cache before every run."));
    const QCommandLineOption programOption(
        QStringLiteral("program"),
        QStringLiteral("Measure this build of Velmora instead; given more than once, each in turn in every round, "
                       "as velmora1, velmora2... (its home page must be %1).")
            .arg(QStringLiteral(VELMORA_BENCH_HOME_URL)),
        QStringLiteral("path"), QStringLiteral(VELMORA_BENCH_PROGRAM));
    parser.addOptions({runsOption, settleOption, programOption, firstRunOption, coldOption, verboseOption});
    parser.process(app);
    const int runs = std::max(7, parser.value(runsOption).toInt());

    const QUrl home(QStringLiteral(VELMORA_BENCH_HOME_URL));
    Options options;
    options.homePath = home.path();
    options.settleMs = std::max(0, parser.value(settleOption).toInt());
    options.verbose = parser.isSet(verboseOption);
    options.firstRun = parser.isSet(firstRunOption);
    options.cold = parser.isSet(coldOption);
    const QHash<QString, HomeResource> site = makeHomePage(home.path());
    qint64 siteBytes = 0;
    for (const HomeResource &resource : site)
        siteBytes += resource.body.size();

    MapWatcher watcher;
    if (!watcher.isWatching()) {
        std::fputs("startupbench: no X display to watch (DISPLAY)\n", stderr);
        return 2;
    }
    HomeServer server(quint16(home.port()), site);
    if (!server.isListening()) {
        std::fprintf(stderr, "startupbench: port %d is taken\n", home.port());
        return 2;
    }

    // The engine cannot start as root with its sandbox on: Velmora is told by
    // its option to run without it, the floor, which has no options, by the
    // engine's environment variable.
    const bool root = geteuid() == 0;
    struct Program
    {
        QString name;
        QString path;
        QStringList arguments;
        bool sandboxOff;
        std::array<QList<double>, MetricCount> values;
        // Its figure over the floor's of the same round: the runs of a round
        // share whatever else the machine was doing at the time.
        std::array<QList<double>, MetricCount> pairedRatios;
    };
    QList<Program> programs{{QStringLiteral("floor"), QStringLiteral(VELMORA_BENCH_FLOOR), {}, root, {}, {}}};
    const QStringList builds = parser.values(programOption);
    for (const QString &build : builds) {
        const QString name = builds.size() == 1 ? QStringLiteral("velmora")
                                                : QStringLiteral("velmora%1").arg(programs.size());
        programs.append({name, build, root ? QStringList{QStringLiteral("--no-sandbox")} : QStringList(), false, {}, {}});
    }

    std::printf("Start-up: %d runs each, alternating, after one warm-up run each\n", runs);
    std::printf("Home page %s: %.2f MB in %d files\n", VELMORA_BENCH_HOME_URL, siteBytes / 1e6, int(site.size()) - 1);
    std::printf("Profile: %s; page cache: %s\n",
                options.firstRun ? "emptied before every run (first starts)" : "kept from run to run (later starts)",
                options.cold ? "the programs' files dropped before every run" : "warm");
    for (const Program &program : std::as_const(programs)) {
        if (builds.size() > 1 && program.name != QLatin1String("floor"))
            std::printf("%s: %s\n", qPrintable(program.name), qPrintable(program.path));
    }
    std::printf("Load average at the start: %s\n\n", qPrintable(loadAverage()));
    std::printf("%-5s %-9s", "run", "program");
    for (const MetricInfo &metric : Metrics)
        std::printf(" %11s", metric.column);
    std::printf("\n");
    std::fflush(stdout);

    Bench bench(watcher, server, options);
    bool complete = true;
    for (int run = 0; run <= runs; ++run) {
        QList<Figures> round;
        for (Program &program : programs) {
            round << bench.run(program.path, program.arguments, program.sandboxOff);
            const Figures &figures = round.last();
            std::printf("%-5s %-9s", run ? qPrintable(QString::number(run)) : "warm", qPrintable(program.name));
            for (int m = 0; m < MetricCount; ++m) {
                std::printf(" %11s", figures[m] ? qPrintable(QString::number(*figures[m], 'f', 1)) : "-");
                if (run > 0 && figures[m])
                    program.values[m] << *figures[m];
                complete = complete && figures[m];
            }
            std::printf("\n");
            std::fflush(stdout);
        }
        if (run == 0)
            continue;
        for (qsizetype p = 1; p < programs.size(); ++p) {
            for (int m = 0; m < MetricCount; ++m) {
                if (round[0][m] && *round[0][m] > 0 && round[p][m])
                    programs[p].pairedRatios[m] << *round[p][m] / *round[0][m];
            }
        }
    }

    // ratio: of the medians; paired: the median of the rounds' own ratios,
    // with their spread, which shows how noisy the machine was.
    for (qsizetype p = 1; p < programs.size(); ++p) {
        const Program &program = programs[p];
        std::printf("\n%-18s %-26s %-26s %7s %7s %-13s %8s\n", "", "floor  median (min-max)",
                    qPrintable(program.name + QStringLiteral("  median (min-max)")), "ratio", "paired", "(min-max)",
                    "target");
        for (int m = 0; m < MetricCount; ++m) {
            const Summary floor = summarise(programs[0].values[m]);
            const Summary velmora = summarise(program.values[m]);
            const auto text = [](const Summary &s) {
                return QStringLiteral("%1 (%2-%3)").arg(s.median, 0, 'f', 1).arg(s.min, 0, 'f', 1).arg(s.max, 0, 'f', 1);
            };
            const double ratio = floor.median > 0 ? velmora.median / floor.median : 0;
            const QString target =
                Metrics[m].target ? QStringLiteral("<= %1").arg(Metrics[m].target, 0, 'f', 2) : QString();
            const Summary paired = summarise(program.pairedRatios[m]);
            std::printf("%-18s %-26s %-26s %7.3f %7.3f %-13s %8s\n", Metrics[m].label, qPrintable(text(floor)),
                        qPrintable(text(velmora)), ratio, paired.median,
                        qPrintable(QStringLiteral("(%1-%2)").arg(paired.min, 0, 'f', 2).arg(paired.max, 0, 'f', 2)),
                        qPrintable(target));
        }
    }
    if (options.cold) {
        std::printf("\nPage cache: %.0f MiB of the programs' files dropped before each run; %.1f MiB stayed (median),"
                    " mapped by other processes\n",
                    bench.droppedBytes() / 1048576.0, summarise(bench.residentAfterDrop()).median);
    }
    std::printf("Load average at the end: %s\n", qPrintable(loadAverage()));
    if (!complete)
        std::puts("\nSome runs did not map a window or load the page: their figures are left out.");
    return complete ? 0 : 1;
}

#include "startupbench.moc"
