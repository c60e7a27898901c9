#include "engineage.h"
#include "frmabout.h"
#include "frmmain.h"
#include "pictureimage.h"

#include <QtWebEngineCore/qtwebenginecoreglobal.h>

// Help > About: one About window at a time, built anew after it has closed.
void frmMain::mnuAbout_Click()
{
    // A closed window is on its way out even before it is deleted.
    if (!m_aboutWindow || !m_aboutWindow->isVisible()) {
        auto *about = new frmAbout(windowIcon(), Image1->pixmap(), this);
        about->Form_Load();
        about->showEngine(engineage::describe(QLatin1String(qWebEngineVersion()),
                                              QLatin1String(qWebEngineChromiumVersion()),
                                              QLatin1String(qWebEngineChromiumSecurityPatchVersion())));
        m_aboutWindow = about;
    }
    m_aboutWindow->show();
    m_aboutWindow->raise();
    m_aboutWindow->activateWindow();
}
