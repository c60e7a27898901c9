#include "frmabout.h"

#include "errorpolicy.h"
#include "sysinfo.h"
#include "twips.h"

#include <QApplication>
#include <QFocusEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QPushButton>
#include <QScreen>
#include <QVersionNumber>

const char frmAbout::Description[] = QT_TRANSLATE_NOOP("frmAbout",
    "Velmora is a unique free tool that searches multiple hotel \r\n"
    "reservation websites simultaneously to help you find the lowest rate \r\n"
    "instantly.\r\n"
    "\r\n"
    "We eliminate the need to search major websites one by one in order to \r\n"
    "compare prices and availability. Our free service is an amazing time and \r\n"
    "money saver! You are welcome to use and free to distribute it.\r\n");

const char frmAbout::ContactAddress[] = "info@velmora.example";

namespace {
// Design geometry, in twips.
constexpr double ClientWidth = 5730, ClientHeight = 3600;

// What the launcher tells the user, for the translators.
[[maybe_unused]] const char *const LauncherMessages[] = {
    QT_TRANSLATE_NOOP("sysinfo", "System Information Is Unavailable At This Time"),
};

// The message box goes to the user through this window, in the user's
// language; the registry, files and programs are the system's.
class WindowPlatform : public sysinfo::SystemPlatform
{
public:
    explicit WindowPlatform(QWidget *owner) : m_owner(owner) {}

    void showMessage(const std::string &text) override
    {
        tellUser(m_owner, QCoreApplication::translate("sysinfo", text.c_str()));
    }

private:
    QWidget *m_owner;
};
// A label with one link that Tab and Shift+Tab stop on once: arriving, the
// link is chosen at once, so that Enter follows it; the next Tab leaves.
class LinkLabel : public QLabel
{
public:
    using QLabel::QLabel;

protected:
    void focusInEvent(QFocusEvent *event) override
    {
        QLabel::focusInEvent(event);
        if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason) {
            setSelection(0, 0);
            QLabel::focusNextPrevChild(true);
        }
    }
    bool focusNextPrevChild(bool next) override { return QWidget::focusNextPrevChild(next); }
};
} // namespace

frmAbout::frmAbout(const QIcon &icon, const QPixmap &logo, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                          | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(icon);
    setFont(twips::dialogFont());
    const double perPx = twips::perPixel(this);
    setFixedSize(twips::toPixels(ClientWidth, perPx), twips::toPixels(ClientHeight, perPx));
    createControls(icon, logo);
    twips::centreOnScreen(this);
}

void frmAbout::createControls(const QIcon &icon, const QPixmap &logo)
{
    auto label = [this](const char *name, const QString &text, double left, double top, double width,
                        double height) {
        auto *l = new QLabel(text, this);
        l->setObjectName(QString::fromLatin1(name));
        twips::place(l, left, top, width, height);
        return l;
    };

    // The picture box is sized to the 32 x 32 icon inside its sunken border.
    picIcon = label("picIcon", QString(), 240, 240, 540, 540);
    picIcon->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picIcon->setLineWidth(2);
    picIcon->setAlignment(Qt::AlignCenter);
    picIcon->setPixmap(icon.pixmap(QSize(32, 32)));

    lblTitle = label("lblTitle", QString(), 1050, 240, 3885, 240);
    QPalette black = lblTitle->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    lblTitle->setPalette(black);
    lblVersion = label("lblVersion", QString(), 1050, 480, 3885, 225);

    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    Text1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Text1->setTabChangesFocus(true);
    Text1->setAccessibleName(tr("Description"));
    QPalette face = Text1->palette();
    face.setColor(QPalette::Base, face.color(QPalette::Button));
    Text1->setPalette(face);
    // The text box shows each CR LF as one line break.
    Text1->setPlainText(tr(Description).replace(QLatin1String("\r\n"), QLatin1String("\n")));
    twips::place(Text1, 240, 840, 5295, 1455);

    const double perPx = twips::perPixel(this);
    auto line = [perPx](double x1, double x2, double y, int thickness) {
        using twips::toPixels;
        return QRect(toPixels(x1, perPx), toPixels(y, perPx), toPixels(x2, perPx) - toPixels(x1, perPx),
                     thickness);
    };
    Line1[1] = createLine(1, QColor(128, 128, 128), line(90, 5654, 2445, 1));
    Line1[0] = createLine(0, Qt::white, line(105, 5654, 2460, 2));

    Image1 = label("Image1", QString(), 240, 2520, 3600, 675);
    Image1->setPixmap(logo);
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Label1 = label("Label1", tr("Email :"), 240, 3240, 495, 255);
    // The address is a link: a click on it, or Enter once Tab has reached
    // it, starts the user's mail program with a new message to it. It keeps
    // the design's colour.
    const QString address = QString::fromLatin1(ContactAddress);
    Label2 = new LinkLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    twips::place(Label2, 840, 3240, 2175, 255);
    Label2->setTextFormat(Qt::RichText);
    Label2->setText(QStringLiteral("<a href=\"mailto:%1\">%1</a>").arg(address));
    Label2->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    Label2->setOpenExternalLinks(true);
    QPalette highlight = Label2->palette();
    highlight.setColor(QPalette::WindowText, highlight.color(QPalette::Highlight));
    highlight.setColor(QPalette::Link, highlight.color(QPalette::Highlight));
    Label2->setPalette(highlight);

    cmdOK = new QPushButton(tr("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    twips::place(cmdOK, 4245, 2625, 1260, 345);
    cmdSysInfo = new QPushButton(tr("&System Info..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    twips::place(cmdSysInfo, 4260, 3075, 1245, 345);

    QWidget *order[] = {cmdOK, picIcon, cmdSysInfo, lblTitle, lblVersion, Text1, Label1, Label2};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    cmdOK->setFocus();

    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    // The launcher reports its own failures; nothing is left to tell.
    connect(cmdSysInfo, &QPushButton::clicked, this, handled([this] { cmdSysInfo_Click(); }));
}

QWidget *frmAbout::createLine(int index, const QColor &colour, const QRect &pixels)
{
    auto *line = new QWidget(this);
    line->setObjectName(QStringLiteral("Line1(%1)").arg(index));
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, colour);
    line->setPalette(palette);
    line->setAutoFillBackground(true);
    line->setGeometry(pixels);
    return line;
}

void frmAbout::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        twips::centreOnScreen(this);
}

void frmAbout::Form_Load()
{
    const QString title = QCoreApplication::applicationName();
    setWindowTitle(tr("About %1").arg(title));
    // Major, minor and revision as plain numbers, whatever the locale; a
    // missing part is 0.
    const QVersionNumber version = QVersionNumber::fromString(QCoreApplication::applicationVersion());
    lblVersion->setText(tr("Version %1").arg(QStringLiteral("%1.%2.%3")
                                                 .arg(version.segmentAt(0))
                                                 .arg(version.segmentAt(1))
                                                 .arg(version.segmentAt(2))));
    lblTitle->setText(title);
    picIcon->setAccessibleName(tr("%1 icon").arg(title));
    Image1->setAccessibleName(tr("%1 logo").arg(title));
}

QColor frmAbout::warningColour()
{
    return QColor(0xa4, 0x00, 0x00);
}

void frmAbout::showEngine(const QString &engine, bool outOfDate)
{
    QTextCursor cursor(Text1->document());
    cursor.movePosition(QTextCursor::Start);
    QTextCharFormat format;
    if (outOfDate) {
        format.setForeground(warningColour());
        format.setFontWeight(QFont::Bold);
    }
    cursor.insertText(engine, format);
    cursor.insertText(QStringLiteral("\n\n"), QTextCharFormat());
    Text1->moveCursor(QTextCursor::Start);
}

void frmAbout::keyPressEvent(QKeyEvent *event)
{
    // Esc presses OK, as Enter does through the default button.
    if (event->matches(QKeySequence::Cancel)) {
        cmdOK->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmAbout::cmdOK_Click()
{
    close();
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}

void frmAbout::StartSysInfo()
{
    WindowPlatform platform(this);
    sysinfo::StartSysInfo(platform);
}
