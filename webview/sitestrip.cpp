#include "sitestrip.h"

#include <QAction>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

using siteaddress::Security;

namespace {
// The sign before the site: a padlock for a connection whose certificate
// was checked, a warning triangle for one that is not secure. Drawn at the
// text's height, sharp on any screen.
QPixmap sign(bool secure, const QWidget *on)
{
    const int side = on->fontMetrics().height();
    const qreal s = side, ratio = on->devicePixelRatioF();
    QPixmap pixmap(QSize(side, side) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    if (secure) {
        const QColor ink = on->palette().color(QPalette::WindowText);
        painter.setPen(QPen(ink, s / 9));
        painter.drawArc(QRectF(s * 0.32, s * 0.1, s * 0.36, s * 0.5), 0, 180 * 16);
        painter.drawLine(QPointF(s * 0.32, s * 0.35), QPointF(s * 0.32, s * 0.5));
        painter.drawLine(QPointF(s * 0.68, s * 0.35), QPointF(s * 0.68, s * 0.5));
        painter.setPen(Qt::NoPen);
        painter.setBrush(ink);
        painter.drawRoundedRect(QRectF(s * 0.2, s * 0.45, s * 0.6, s * 0.45), s * 0.06, s * 0.06);
    } else {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(196, 43, 28));
        painter.drawPolygon(QPolygonF{{s / 2, s * 0.08}, {s * 0.96, s * 0.9}, {s * 0.04, s * 0.9}});
        painter.setBrush(Qt::white);
        painter.drawRect(QRectF(s * 0.45, s * 0.36, s * 0.1, s * 0.28));
        painter.drawEllipse(QRectF(s * 0.44, s * 0.69, s * 0.12, s * 0.12));
    }
    return pixmap;
}

// A flat button that shows rich text: the site, its registrable domain bold.
class SiteButton : public QPushButton
{
public:
    explicit SiteButton(QWidget *parent) : QPushButton(parent), text(new QLabel(this))
    {
        setFlat(true);
        setAutoDefault(false);
        setCursor(Qt::PointingHandCursor);
        text->setTextFormat(Qt::RichText);
        text->setAttribute(Qt::WA_TransparentForMouseEvents);
        auto *row = new QHBoxLayout(this);
        row->setContentsMargins(4, 1, 4, 1);
        row->addWidget(text);
    }
    QSize sizeHint() const override { return text->sizeHint() + QSize(8, 2); }
    // A long site gives way on a narrow window rather than widen it.
    QSize minimumSizeHint() const override { return QSize(0, sizeHint().height()); }

    QLabel *text;
};
} // namespace

// Made in the order a screen reader reads them and Tab reaches them.
SiteStrip::SiteStrip(QWidget *parent)
    : QWidget(parent), m_sign(new QLabel(this)), m_words(new QLabel(this)), m_site(new SiteButton(this)),
      m_siteText(static_cast<SiteButton *>(m_site)->text), m_home(new QPushButton(this))
{
    setObjectName(QStringLiteral("siteStrip"));
    setAccessibleName(tr("Site"));
    setAutoFillBackground(true);
    m_site->setObjectName(QStringLiteral("siteButton"));
    m_site->setToolTip(tr("Show the whole address and the connection"));
    m_site->setAccessibleDescription(m_site->toolTip());
    m_sign->setObjectName(QStringLiteral("siteSign"));
    m_words->setObjectName(QStringLiteral("siteWords"));
    m_words->setTextFormat(Qt::PlainText);
    m_home->setObjectName(QStringLiteral("siteHome"));
    m_home->setText(tr("Home Page"));
    m_home->setToolTip(tr("Go back to the home page"));
    m_home->setAutoDefault(false);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(6, 1, 4, 2);
    row->setSpacing(4);
    row->addWidget(m_sign);
    row->addWidget(m_words);
    row->addWidget(m_site, 1, Qt::AlignLeft);
    row->addWidget(m_home);
    connect(m_site, &QPushButton::clicked, this, [this] { showDetails(); });
    connect(m_home, &QPushButton::clicked, this, &SiteStrip::homeRequested);
    hide();
}

void SiteStrip::showSite(const QUrl &url, const siteaddress::Site &site,
                         const std::optional<QList<QSslCertificate>> &refused)
{
    if (m_details)
        m_details->close();
    m_url = url;
    m_shown = site;
    m_refused = refused;
    const bool warn = refused || site.security == Security::NotSecure;
    m_words->setText(refused ? tr("Certificate not trusted") : warn ? tr("Not secure") : QString());
    m_words->setVisible(warn);
    m_sign->setVisible(warn || site.security == Security::Secure);
    m_sign->setPixmap(sign(!warn, this));
    m_sign->setAccessibleName(warn ? m_words->text() : tr("Secure connection"));
    m_siteText->setText(site.shown.html());
    m_site->setAccessibleName(site.shown.text());
    setAccessibleDescription(site.shown.text());
    show();
}

QString SiteStrip::text() const
{
    if (isHidden())
        return QString();
    return m_words->isHidden() ? m_shown.shown.text() : m_words->text() + u' ' + m_shown.shown.text();
}

QString SiteStrip::connection() const
{
    if (m_refused)
        return tr("The web engine did not trust this site's certificate, so the page was not opened. Someone may be "
                  "pretending to be this site.");
    switch (m_shown.security) {
    case Security::Secure:
        return tr("The connection to this site is encrypted, and the web engine trusts its certificate.");
    case Security::NotSecure:
        return tr("The connection to this site is not secure: others on the network can read and change what you "
                  "see and send. Do not enter passwords or card numbers here.");
    case Security::Local:
        return tr("This page is a file on this computer.");
    case Security::Other:
        break;
    }
    return tr("This page is not from a web site.");
}

void SiteStrip::showDetails()
{
    if (m_details)
        m_details->close();
    auto *box = new QFrame(this, Qt::Popup);
    box->setObjectName(QStringLiteral("siteDetails"));
    box->setAccessibleName(tr("Site details"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setFrameShape(QFrame::StyledPanel);
    auto *column = new QVBoxLayout(box);
    auto *site = new QLabel(m_shown.shown.html(), box);
    site->setTextFormat(Qt::RichText);
    auto *connection = new QLabel(this->connection(), box);
    connection->setObjectName(QStringLiteral("siteConnection"));
    connection->setTextFormat(Qt::PlainText);
    connection->setWordWrap(true);
    // The whole address, selected: Ctrl+C copies it at once.
    auto *address = new QLineEdit(siteaddress::wholeAddress(m_url), box);
    address->setObjectName(QStringLiteral("siteAddress"));
    address->setAccessibleName(tr("Address"));
    address->setReadOnly(true);
    address->setMinimumWidth(qBound(320, address->fontMetrics().horizontalAdvance(address->text()) + 16, 640));
    column->addWidget(site);
    column->addWidget(connection);
    column->addWidget(address);
    // What the engine gave of a certificate it refused: the site's own first.
    if (m_refused && !m_refused->isEmpty()) {
        const QSslCertificate &certificate = m_refused->constFirst();
        const QLocale locale;
        auto *details = new QLabel(tr("Issued to: %1\nIssued by: %2\nValid from %3 to %4")
                                       .arg(certificate.subjectDisplayName(), certificate.issuerDisplayName(),
                                            locale.toString(certificate.effectiveDate(), QLocale::ShortFormat),
                                            locale.toString(certificate.expiryDate(), QLocale::ShortFormat)),
                                   box);
        details->setObjectName(QStringLiteral("siteCertificate"));
        details->setTextFormat(Qt::PlainText);
        details->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        column->addWidget(details);
    }
    auto *close = new QAction(box);
    close->setShortcut(Qt::Key_Escape);
    connect(close, &QAction::triggered, box, &QWidget::close);
    box->addAction(close);
    box->adjustSize();
    // Below the site, inside the screen.
    QPoint at = m_site->mapToGlobal(QPoint(0, m_site->height()));
    if (const QScreen *screen = m_site->screen()) {
        const QRect area = screen->availableGeometry();
        at.setX(qBound(area.left(), at.x(), area.right() - box->width() + 1));
        at.setY(qBound(area.top(), at.y(), area.bottom() - box->height() + 1));
    }
    box->move(at);
    box->show();
    address->selectAll();
    address->setFocus(Qt::PopupFocusReason);
    m_details = box;
}

void SiteStrip::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    // A line between the strip and the page.
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(0, height() - 1, width(), height() - 1);
}

LinkTarget::LinkTarget(QWidget *over, QWidget *parent) : QLabel(parent), m_over(over)
{
    setObjectName(QStringLiteral("linkTarget"));
    setTextFormat(Qt::RichText);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAutoFillBackground(true);
    setFrameShape(QFrame::StyledPanel);
    setMargin(2);
    m_over->installEventFilter(this);
    // It may live in the page's window rather than with the page.
    connect(m_over, &QObject::destroyed, this, &QObject::deleteLater);
    hide();
}

void LinkTarget::showLink(const QString &url)
{
    if (url.isEmpty()) {
        m_shown.clear();
        hide();
        return;
    }
    // Over all the window lays across the page's foot (a notice of its
    // own), as long as the link is pointed at.
    if (parentWidget() != m_over->window())
        setParent(m_over->window());
    // At most half the page's width, as many characters as fit in it: as
    // many as characters of an average width would, fewer until they fit.
    const int widest = qMax(m_over->width() / 2, 200);
    int characters = (widest - 2 * (margin() + frameWidth())) / qMax(1, fontMetrics().averageCharWidth());
    for (int attempt = 0; attempt < 5; ++attempt) {
        const siteaddress::Shown shown = siteaddress::linkOf(QUrl(url), qMax(characters, 24));
        m_shown = shown.text();
        setText(shown.html());
        adjustSize();
        if (width() <= widest || characters <= 24)
            break;
        characters = characters * widest / width() - 1;
    }
    resize(qMin(width(), widest), height());
    place();
    raise();
    show();
}

bool LinkTarget::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize || event->type() == QEvent::Move)
        place();
    // The engine keeps the last link when the pointer leaves for another
    // window (a page's window it opened on the link's click).
    else if (event->type() == QEvent::Hide || event->type() == QEvent::Leave)
        showLink(QString());
    return QLabel::eventFilter(watched, event);
}

void LinkTarget::place()
{
    const QPoint corner = m_over->mapTo(parentWidget(), QPoint(0, m_over->height()));
    move(corner.x(), corner.y() - height());
}
