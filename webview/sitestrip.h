#pragma once

#include "siteaddress.h"

#include <QLabel>
#include <QList>
#include <QPointer>
#include <QSslCertificate>
#include <QUrl>
#include <QWidget>

#include <optional>

class QPushButton;

// The strip above a page of a site that is not the home site: the site (its
// registrable domain emphasised), what its address says of the connection
// ("Not secure" for http, in words and a sign; a padlock for https) and a
// button back to the home page. A click on the site shows the page's whole
// address, to read and copy, and what the engine gave of the connection.
class SiteStrip : public QWidget
{
    Q_OBJECT
public:
    explicit SiteStrip(QWidget *parent = nullptr);

    // Shows `site`, the site of the page at `url`. `refused` is the chain of
    // the certificate the engine refused for that page, if it refused one.
    void showSite(const QUrl &url, const siteaddress::Site &site,
                  const std::optional<QList<QSslCertificate>> &refused = std::nullopt);
    // What the strip says while it shows, as plain text: the words about the
    // connection, then the site. Empty while it is hidden.
    QString text() const;
    // Shows the site's details below the site.
    void showDetails();
    // The details, while they show.
    QWidget *details() const { return m_details; }

signals:
    // The user asked to go back to the home page.
    void homeRequested();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // What the strip knows of the connection, in words.
    QString connection() const;

    QLabel *m_sign;
    QLabel *m_words;
    QPushButton *m_site;
    QLabel *m_siteText;
    QPushButton *m_home;
    QUrl m_url;
    siteaddress::Site m_shown;
    std::optional<QList<QSslCertificate>> m_refused;
    QPointer<QWidget> m_details;
};

// The address of the link under the pointer (or with the keyboard's focus),
// at the bottom left over the widget it is given and above the rest of its
// window, as long as the page says the link is there.
class LinkTarget : public QLabel
{
    Q_OBJECT
public:
    LinkTarget(QWidget *over, QWidget *parent);

    // Shows the address `url` of the link; hides on an empty one.
    void showLink(const QString &url);
    // The address as shown, in plain text, while it shows.
    QString shownText() const { return isVisible() ? m_shown : QString(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void place();

    QWidget *m_over;
    QString m_shown;
};
