#pragma once

#include <QHash>
#include <QPair>
#include <QString>

#include <optional>

class QUrl;

// What the user answered each site, by kind of request (a permission, a
// sign-in realm, a download, another program's link), until the program
// ends. After three refusals of one kind, a site is not asked again.
class SiteAnswers
{
public:
    // The site a request comes from: its scheme, host and port.
    static QString siteOf(const QUrl &url);

    // The user's standing answer to `kind` requests from `site`, if any.
    std::optional<bool> answer(const QString &site, const QString &kind) const;
    // Keeps the user's answer for `site` and `kind`.
    void remember(const QString &site, const QString &kind, bool allowed);

    // Counts one refusal or cancel of a `kind` request from `site`.
    void refused(const QString &site, const QString &kind);
    // Whether the user may still be asked: fewer than three refusals so far.
    bool mayAsk(const QString &site, const QString &kind) const;

    static constexpr int RefusalsBeforeSilence = 3;

private:
    using Key = QPair<QString, QString>;
    QHash<Key, bool> m_answers;
    QHash<Key, int> m_refusals;
};
