// The floor of the start-up benchmark: the web engine's own start-up cost,
// with nothing of the program around it. One view, the same home page, shown
// at the size of the program's main window.
#include <QApplication>
#include <QUrl>
#include <QWebEngineView>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWebEngineView view;
    view.resize(1024, 738);
    view.show();
    view.load(QUrl(QStringLiteral(VELMORA_BENCH_HOME_URL)));
    return app.exec();
}
