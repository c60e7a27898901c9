#include "frmmain.h"

#include "accessibleroot.h"
#include "bookmarklocation.h"
#include "identity.h"
#include "layout.h"
#include "downloadswindow.h"
#include "pageactions.h"
#include "pictureimage.h"
#include "pictures.h"
#include "session.h"
#include "twips.h"
#include "webview.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QUrl>

namespace {
// Design geometry of the controls, in twips.
constexpr double ButtonStep = 600, ButtonWidth = 615, ButtonHeight = 500;
constexpr double StatusLeft = 4440, StatusWidth = 4335, StatusHeight = 255;
constexpr double Image1Left = 11640, Image1Height = 675;
constexpr double WebTop = 600, WebWidth = 11880, WebHeight = 6495;
constexpr double DesignClientWidth = 11985, DesignClientHeight = 7155;
constexpr double ScreenHeightAllowance = 450;
// The words on the logo, right of its name, in the logo's pixels and colour.
const QRect LogoCaption(158, 6, 78, 33);
const QColor LogoCaptionColour(0xc8, 0xd8, 0xf0);
}

frmMain::frmMain(const WebViewFactory &makeWebView, const QString &homePage, Session *session,
                 const QString &programFolder)
    : actions(new PageActions(this)), m_client(new QWidget(this)), m_configuredHomePage(homePage),
      m_programFolder(programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : programFolder),
      m_session(session)
{
    // Before the first window: screen readers ask the root from then on.
    accessibleroot::install();
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QString::fromLatin1(identity::Title));
    setWindowIcon(pictures::windowIcon());
    setCentralWidget(m_client);
    createControls(makeWebView);
    actions->bind(Web.at(0), [this] { return this->homePage(); });
    createWindowCommands();
    createMenus();
    if (m_session) {
        connect(&m_session->downloads(), &DownloadList::added, this, [this] { showDownloads(); });
        // Sites' notifications show here where the desktop cannot show them.
        m_session->notifications().setWindow(this);
    }
    const double perPx = twips::perPixel(this);
    resize(twips::toPixels(DesignClientWidth, perPx),
           twips::toPixels(DesignClientHeight, perPx) + menuBar()->sizeHint().height());
}

frmMain::~frmMain() = default;

QPushButton *frmMain::createPictureButton(const char *name, const char *picture, QAction *action, double left)
{
    auto *button = new QPushButton(m_client);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(pictures::icon(picture));
    button->setIconSize(QSize(24, 24));
    // The command's name without its access letter.
    button->setToolTip(action->toolTip());
    // Screen readers say what the picture shows.
    button->setAccessibleName(action->toolTip());
    twips::place(button, left, 0, ButtonWidth, ButtonHeight);
    connect(button, &QPushButton::clicked, action, &QAction::trigger);
    // Back with no earlier page, Stop with nothing loading: greyed out.
    button->setEnabled(action->isEnabled());
    connect(action, &QAction::enabledChanged, button, &QWidget::setEnabled);
    return button;
}

void frmMain::createControls(const WebViewFactory &makeWebView)
{
    cmdBack = createPictureButton("cmdBack", "back", command(PageCommand::Back), 0 * ButtonStep);
    cmdForward = createPictureButton("cmdForward", "forward", command(PageCommand::Forward), 1 * ButtonStep);
    cmdStop = createPictureButton("cmdStop", "stop", command(PageCommand::Stop), 2 * ButtonStep);
    cmdRefresh = createPictureButton("cmdRefresh", "refresh", command(PageCommand::Refresh), 3 * ButtonStep);
    cmdHome = createPictureButton("cmdHome", "home", command(PageCommand::Home), 4 * ButtonStep);
    // Adding a bookmark is the window's own command, not the page's.
    auto *addBookmark = new QAction(tr("Bookmark"), this);
    cmdAddBookmark = createPictureButton("cmdAddBookmark", "bookmark", addBookmark, 5 * ButtonStep);
    connect(addBookmark, &QAction::triggered, this, handled([this] { cmdAddBookmark_Click(); }));
    // The picture shows a preview: the button is Print Preview.
    cmdPrint = createPictureButton("cmdPrint", "preview", command(PageCommand::PrintPreview), 6 * ButtonStep);

    lblStat = new QLabel(tr("Connecting to server"), m_client);
    lblStat->setObjectName(QStringLiteral("lblStat"));
    QPalette black = lblStat->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    lblStat->setPalette(black);
    twips::place(lblStat, StatusLeft, 0, StatusWidth, StatusHeight);
    lblStat->hide();

    ProgressBar1 = new QProgressBar(m_client);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setAccessibleName(tr("Page loading"));
    twips::place(ProgressBar1, StatusLeft, StatusHeight, StatusWidth, StatusHeight);
    ProgressBar1->hide();

    Image1 = new PictureImage(m_client);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPicture(pictures::icon("logo"), QSize(240, 45));
    QFont captionFont(QStringLiteral("DejaVu Sans"));
    captionFont.setPixelSize(11);
    const QString caption = tr("hotel prices compared", "the words on the logo, beside its name");
    Image1->setCaption(caption, LogoCaption, LogoCaptionColour, captionFont);
    // A click on the logo goes home.
    Image1->setAccessibleName(tr("Home"));
    Image1->setAccessibleDescription(caption);
    twips::place(Image1, Image1Left, 0, layout::Image1Width, Image1Height);

    WebView *web = makeWebView(m_client);
    web->setObjectName(QStringLiteral("Web0"));
    twips::place(web, 0, WebTop, WebWidth, WebHeight);
    Web.push_back(web);

    // The logo and the status line are drawn on the window itself, beneath
    // every control: on a narrow window the logo slides under the buttons,
    // which stay visible and take their clicks.
    cmdZoom = new QPushButton(m_client);
    cmdZoom->setObjectName(QStringLiteral("cmdZoom"));
    cmdZoom->setFlat(true);
    // Reached by Tab, as every control is; a click leaves the keyboard with the page.
    cmdZoom->setFocusPolicy(Qt::TabFocus);
    cmdZoom->setToolTip(tr("Zoom of this site; click for 100%"));
    cmdZoom->setAccessibleName(tr("Zoom"));
    // Drawn whole where the logo lies beneath it, as the buttons are.
    cmdZoom->setAutoFillBackground(true);
    twips::place(cmdZoom, layout::ZoomLeft, 0, layout::ZoomWidth, ButtonHeight);
    cmdZoom->hide();

    lblStat->lower();
    Image1->lower();

    QWidget *order[] = {cmdBack, cmdForward, cmdStop, cmdRefresh, cmdHome, cmdAddBookmark, cmdPrint,
                        Image1, lblStat, ProgressBar1, cmdZoom, web};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    // The page keeps its own fonts.
    for (QWidget *control : order) {
        if (control != web)
            control->setFont(twips::dialogFont());
    }

    connect(Image1, &PictureImage::clicked, this, handled([this] { Image1_Click(); }));
    connect(Image1, &PictureImage::doubleClicked, this, handled([this] { Image1_DblClick(); }));
    connect(web, &WebView::ProgressChange, this, [this](int progress, int progressMax) {
        ignoreErrors([&] { Web_ProgressChange(progress, progressMax); });
    });
    connect(web, &WebView::NavigateComplete2, this, [this] { ignoreErrors([&] { Web_NavigateComplete2(); }); });
    // The zoom of the page's site, as the view shows it.
    connect(web, &WebView::ZoomChange, this, [this](double factor) { ignoreErrors([&] { showZoom(factor); }); });
    connect(cmdZoom, &QPushButton::clicked, command(PageCommand::ZoomReset), &QAction::trigger);
}

void frmMain::showZoom(double factor)
{
    cmdZoom->setText(tr("%1%").arg(qRound(factor * 100)));
    cmdZoom->setVisible(qRound(factor * 100) != 100);
}

DownloadsWindow *frmMain::downloadsWindow() const
{
    return DownloadsWindow::of(const_cast<frmMain *>(this));
}

void frmMain::showDownloads()
{
    // One window for every download, whichever window it came from.
    DownloadsWindow::showFor(m_session->downloads(), this);
}

void frmMain::Form_Load(const QString &firstPage)
{
    // Each step stands alone: one that fails is skipped and the next runs.
    ignoreErrors([this] { BookmarkFilePath = SetBookmarkPath(m_programFolder); });
    ignoreErrors([this] { setWindowTitle(QString::fromLatin1(identity::Title)); });
    ignoreErrors([this] {
        const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
        const double perPx = twips::perPixel(this);
        const QRect full = screen->geometry();
        m_outerTarget = QRect(0, 0, full.width(),
                              twips::toPixels(twips::fromPixels(full.height(), perPx) - ScreenHeightAllowance, perPx));
        moveOuter(m_outerTarget);
    });
    ignoreErrors([this] {
        show();
        // The frame's size is known once the window is shown: fit it again.
        if (frameGeometry().size() != m_outerTarget.size())
            moveOuter(m_outerTarget);
    });
    ignoreErrors([this] { HomePageUrl = m_configuredHomePage; });
    ignoreErrors([this] { Form_Resize(); });
    OpenAddress(firstPage.isEmpty() ? HomePageUrl : firstPage);
    ignoreErrors([this] { showEngineNotice(); });
}

void frmMain::OpenAddress(const QString &url)
{
    // The page is what the user asked to see, and the keys go to it.
    for (QWidget *shown : {m_aboutWindow.data(), m_keysWindow.data()}) {
        if (shown)
            shown->close();
    }
    ignoreErrors([this, &url] { Web.at(0)->Navigate(url); });
    // The page takes the keyboard: the user has chosen where it goes.
    ignoreErrors([this] { Web.at(0)->setFocus(Qt::OtherFocusReason); });
}

void frmMain::moveOuter(const QRect &outer)
{
    // Qt sizes the client area; the frame around it is what the window
    // system adds (nothing before the window is first shown on X11).
    const QSize frame = frameSize();
    m_fittedFrame = frame;
    m_framed = isVisible() && !frame.isNull();
    move(outer.topLeft());
    resize(outer.size() - frame);
}

QSize frmMain::frameSize() const
{
    return frameGeometry().size() - geometry().size();
}

void frmMain::Form_Resize()
{
    const double perPx = twips::perPixel(this);
    const QSize outer = frameGeometry().size();
    m_laidOutFor = isMinimized() ? QSize() : outer;
    const double clientWidth = isMinimized() ? 0 : twips::fromPixels(width(), perPx);
    const auto fitted = layout::mainLayout(twips::fromPixels(outer.width(), perPx),
                                           twips::fromPixels(outer.height(), perPx), clientWidth);
    if (!fitted)
        return;
    Image1->move(twips::toPixels(fitted->image1Left, perPx), Image1->y());
    cmdZoom->move(twips::toPixels(fitted->zoomLeft, perPx), cmdZoom->y());
    for (WebView *web : Web)
        web->resize(twips::toPixels(fitted->webWidth, perPx), twips::toPixels(fitted->webHeight, perPx));
}

void frmMain::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    ignoreErrors([this] { Form_Resize(); });
}

void frmMain::moveEvent(QMoveEvent *event)
{
    QMainWindow::moveEvent(event);
    ignoreErrors([this] {
        // A window manager frames the window a moment after it is shown: the
        // client area moves into the frame and keeps its size, so no resize
        // says that the outer size has changed. Until then the frame was not
        // known, and the window is fitted to its start-up size once more.
        if (isVisible() && !m_framed && m_outerTarget.isValid() && frameSize() != m_fittedFrame
            && !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)))
            moveOuter(m_outerTarget);
        // The layout rule measures the outer size, frame included.
        if (!isMinimized() && frameGeometry().size() != m_laidOutFor)
            Form_Resize();
    });
}

void frmMain::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // Restoring a minimized window reapplies the layout rule.
    if (event->type() == QEvent::WindowStateChange)
        ignoreErrors([this] { Form_Resize(); });
}

void frmMain::closeEvent(QCloseEvent *event)
{
    // Closing ends the program: running downloads would end with it.
    bool quit = true;
    if (m_session)
        ignoreErrors([&] { quit = m_session->downloads().askToQuit(this); });
    if (!quit) {
        event->ignore();
        return;
    }
    ignoreErrors([this] { Form_Unload(); });
    event->accept();
}

void frmMain::Form_Unload()
{
    // Closing the main window closes every other open window with it.
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (window != this && window->isVisible())
            window->close();
    }
}

QString frmMain::homePage()
{
    // A velmora.conf changed since start-up counts at the next Home.
    if (m_session) {
        const QString now = m_session->homePage();
        if (!now.isEmpty())
            HomePageUrl = now;
    }
    return HomePageUrl;
}

void frmMain::mnuDownloads_Click()
{
    if (m_session)
        showDownloads();
}

void frmMain::mnuExit_Click()
{
    close();
}
