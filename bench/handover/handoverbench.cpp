// Hand-over benchmark: with Velmora running under the X server in DISPLAY
// and a window of the benchmark's own in front of it, starts Velmora again
// and measures from that second start's spawn to the running program's window
// raised (X ConfigureNotify), to it having the keyboard (FocusIn) and to the
// second start's exit. It prints figures; it never fails on time.
#include "homepage.h"
#include "homeserver.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
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
#include <optional>
#include <unistd.h>

namespace {

enum Metric { Raised, Focused, Exited, MetricCount };
using Figures = std::array<std::optional<double>, MetricCount>;
constexpr const char *Labels[MetricCount] = {"raised ms", "focused ms", "exited ms"};

// The X events the benchmark reads: top-level windows mapped and restacked,
// and the keyboard arriving at the program's window.
class Display : public QObject
{
    Q_OBJECT
public:
    Display()
    {
        m_connection = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(m_connection))
            return;
        m_screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
        watch(m_screen->root, XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY);
        // The benchmark's own window, which covers the screen and takes the
        // keyboard before every run.
        m_cover = xcb_generate_id(m_connection);
        xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, m_cover, m_screen->root, 0, 0, m_screen->width_in_pixels,
                          m_screen->height_in_pixels, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, m_screen->root_visual, 0,
                          nullptr);
        xcb_map_window(m_connection, m_cover);
        xcb_flush(m_connection);
        m_notifier = new QSocketNotifier(xcb_get_file_descriptor(m_connection), QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, [this] { drain(); });
    }
    ~Display() override { xcb_disconnect(m_connection); }

    bool isOpen() const { return m_notifier != nullptr; }

    void watch(xcb_window_t window, uint32_t mask)
    {
        xcb_change_window_attributes(m_connection, window, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(m_connection);
    }

    // Puts the benchmark's window in front with the keyboard, and waits until
    // the server has done it.
    void coverUp()
    {
        const uint32_t above = XCB_STACK_MODE_ABOVE;
        xcb_configure_window(m_connection, m_cover, XCB_CONFIG_WINDOW_STACK_MODE, &above);
        xcb_set_input_focus(m_connection, XCB_INPUT_FOCUS_POINTER_ROOT, m_cover, XCB_CURRENT_TIME);
        std::free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
        drain();
    }

    void drain()
    {
        while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection)) {
            switch (event->response_type & 0x7f) {
            case XCB_MAP_NOTIFY: {
                const auto *map = reinterpret_cast<xcb_map_notify_event_t *>(event);
                if (!map->override_redirect && map->window != m_cover)
                    emit mapped(map->window);
                break;
            }
            case XCB_CONFIGURE_NOTIFY:
                emit configured(reinterpret_cast<xcb_configure_notify_event_t *>(event)->window);
                break;
            case XCB_FOCUS_IN:
                emit focused(reinterpret_cast<xcb_focus_in_event_t *>(event)->event);
                break;
            default:
                break;
            }
            std::free(event);
        }
    }

signals:
    void mapped(xcb_window_t window);
    void configured(xcb_window_t window);
    void focused(xcb_window_t window);

private:
    xcb_connection_t *m_connection = nullptr;
    xcb_screen_t *m_screen = nullptr;
    xcb_window_t m_cover = 0;
    QSocketNotifier *m_notifier = nullptr;
};

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Times a second start of Velmora handing over to the first."));
    parser.addHelpOption();
    const QCommandLineOption runsOption(QStringLiteral("runs"), QStringLiteral("Second starts to time."),
                                        QStringLiteral("N"), QStringLiteral("15"));
    const QCommandLineOption programOption(QStringLiteral("program"), QStringLiteral("The program to start."),
                                           QStringLiteral("PATH"), QStringLiteral(VELMORA_BENCH_PROGRAM));
    parser.addOptions({runsOption, programOption});
    parser.process(app);
    const int runs = std::max(1, parser.value(runsOption).toInt());
    const QString program = parser.value(programOption);

    Display display;
    if (!display.isOpen()) {
        std::fprintf(stderr, "handoverbench: no X display\n");
        return 1;
    }
    // The first program's home page, so that it has loaded a page as a user's would.
    const QUrl home(QStringLiteral(VELMORA_BENCH_HOME_URL));
    HomeServer server(quint16(home.port()), makeHomePage(home.path()));

    QTemporaryDir state;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), state.path());
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), state.filePath(QStringLiteral("cache")));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), state.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), state.filePath(QStringLiteral("data")));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    const QStringList arguments = ::geteuid() == 0 ? QStringList{QStringLiteral("--no-sandbox")} : QStringList();

    QProcess first;
    first.setProcessEnvironment(environment);
    first.setStandardOutputFile(QProcess::nullDevice());
    first.setStandardErrorFile(QProcess::nullDevice());
    xcb_window_t window = 0;
    {
        QEventLoop loop;
        QObject::connect(&display, &Display::mapped, &loop, [&](xcb_window_t mapped) {
            if (!window)
                window = mapped;
            // The engine settles before the first hand-over.
            QTimer::singleShot(3000, &loop, &QEventLoop::quit);
        });
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);
        first.start(program, arguments);
        loop.exec();
    }
    if (!window || first.state() != QProcess::Running) {
        std::fprintf(stderr, "handoverbench: %s did not show a window\n", qPrintable(program));
        return 1;
    }
    display.watch(window, XCB_EVENT_MASK_FOCUS_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY);

    std::printf("second start of %s handing over; %d runs\n", qPrintable(program), runs);
    std::printf("%4s %12s %12s %12s\n", "run", Labels[Raised], Labels[Focused], Labels[Exited]);
    std::array<QList<double>, MetricCount> all;
    for (int run = 1; run <= runs; ++run) {
        display.coverUp();
        Figures figures;
        QElapsedTimer clock;
        QEventLoop loop;
        const auto reached = [&](Metric metric) {
            if (!figures[metric])
                figures[metric] = clock.nsecsElapsed() / 1e6;
            if (figures[Raised] && figures[Focused] && figures[Exited])
                loop.quit();
        };
        QObject::connect(&display, &Display::configured, &loop, [&](xcb_window_t configured) {
            if (configured == window)
                reached(Raised);
        });
        QObject::connect(&display, &Display::focused, &loop, [&](xcb_window_t focused) {
            if (focused == window)
                reached(Focused);
        });
        QProcess second;
        second.setProcessEnvironment(environment);
        second.setStandardOutputFile(QProcess::nullDevice());
        second.setStandardErrorFile(QProcess::nullDevice());
        QObject::connect(&second, &QProcess::finished, &loop, [&] { reached(Exited); });
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        clock.start();
        second.start(program, arguments);
        loop.exec();
        if (second.state() != QProcess::NotRunning) {
            second.kill();
            second.waitForFinished(5000);
        }
        std::printf("%4d", run);
        for (int metric = 0; metric < MetricCount; ++metric) {
            if (figures[metric]) {
                std::printf(" %12.1f", *figures[metric]);
                all[metric] << *figures[metric];
            } else {
                std::printf(" %12s", "-");
            }
        }
        std::printf("%s\n", second.exitCode() == 0 ? "" : "  (exit code not 0)");
        std::fflush(stdout);
        QThread::msleep(200);
    }
    std::printf("%4s", "med");
    for (const QList<double> &values : all)
        std::printf(" %12.1f", values.isEmpty() ? 0.0 : median(values));
    std::printf("\n%4s", "min");
    for (const QList<double> &values : all)
        std::printf(" %12.1f", values.isEmpty() ? 0.0 : *std::min_element(values.begin(), values.end()));
    std::printf("\n%4s", "max");
    for (const QList<double> &values : all)
        std::printf(" %12.1f", values.isEmpty() ? 0.0 : *std::max_element(values.begin(), values.end()));
    std::printf("\n");

    first.terminate();
    if (!first.waitForFinished(10000))
        first.kill();
    first.waitForFinished(5000);
    return 0;
}

#include "handoverbench.moc"
