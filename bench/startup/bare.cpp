// The floor of the start-up benchmark: the web engine's own start-up cost,
// with nothing of the program around it. One view asks for the same home page
// and is then shown, at the size Velmora's web view has on the benchmark's
// 1024x768 screen, so that both engines lay out and paint the same area.
#include <QApplication>
#include <QUrl>
#include <QWebEngineView>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWebEngineView view;
    view.resize(1011, 638);
    view.load(QUrl(QStringLiteral(VELMORA_BENCH_HOME_URL)));
    view.show();
    return app.exec();
}
