#include "bookmarkfile.h"
#include "engineview.h"
#include "frmmain.h"
#include "identity.h"

#include <QApplication>

#include <cstdio>
#ifndef _WIN32
#include <unistd.h>
#endif

#ifdef VELMORA_TEST_HOME_URL
static const char *const HomePage = VELMORA_TEST_HOME_URL;
#else
static const char *const HomePage = identity::HomePage;
#endif

int main(int argc, char *argv[])
{
#ifndef _WIN32
    // The web engine refuses to start as root with its sandbox on.
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        std::fputs("velmora: running as root, the web engine's sandbox is turned off\n", stderr);
    }
#endif
    bookmarkfile::failWritesPastSizeLimit();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(identity::Title));
    QApplication::setApplicationVersion(QString::fromLatin1(identity::Version));

    frmMain window([](QWidget *parent) { return new EngineView(parent); }, QString::fromUtf8(HomePage));
    window.Form_Load();
    return app.exec();
}
