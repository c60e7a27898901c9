#include "engineage.h"
#include "frmabout.h"
#include "frmmain.h"
#include "enginenotice.h"
#include "pictureimage.h"
#include "session.h"
#include "webview.h"

#include <QDate>

#include <QtWebEngineCore/qtwebenginecoreglobal.h>

// Help > About: one About window at a time, built anew after it has closed.
void frmMain::mnuAbout_Click()
{
    // A closed window is on its way out even before it is deleted.
    if (!m_aboutWindow || !m_aboutWindow->isVisible()) {
        auto *about = new frmAbout(windowIcon(), Image1->drawnPicture(), this);
        about->Form_Load();
        const QString patches = QLatin1String(qWebEngineChromiumSecurityPatchVersion());
        const QDate today = QDate::currentDate();
        about->showEngine(engineage::describe(QLatin1String(qWebEngineVersion()),
                                              QLatin1String(qWebEngineChromiumVersion()), patches, today),
                          engineage::isOld(patches, today));
        m_aboutWindow = about;
    }
    m_aboutWindow->show();
    m_aboutWindow->raise();
    m_aboutWindow->activateWindow();
}

void frmMain::showEngineNotice()
{
    if (!m_session)
        return;
    Settings &settings = m_session->settings();
    const QString patches = QLatin1String(qWebEngineChromiumSecurityPatchVersion());
    if (!engineage::noticeDue(patches, settings.value(Settings::Key::EngineNoticeSeen), QDate::currentDate()))
        return;
    auto *notice = new EngineNotice(
        tr("This web engine (Chromium %1) has no security fixes since %2: some sites may not work, "
           "and flaws found since then are not fixed. Velmora built on a current Qt has a current "
           "engine: the package for Debian 13 or later, or its Flatpak.")
            .arg(QLatin1String(qWebEngineChromiumVersion()), engineage::fixesMonth(patches)),
        Web.at(0));
    // Seen once the user has closed it; a notice never read is shown again at the next start.
    connect(notice, &EngineNotice::closedByUser, this, [this, patches] {
        if (m_session)
            m_session->settings().setValue(Settings::Key::EngineNoticeSeen, patches);
    });
}
