#pragma once

#include "pagerequest.h"
#include "publicsuffixes.h"

#include <QHash>
#include <QPair>
#include <QSet>
#include <QString>

#include <optional>

class QUrl;

// What the user answered each site, by kind of request, until the program
// ends. Everything is kept for the site the user is on, the top-level page
// (`top`): a frame of another site asks on that page's account, and nothing
// one top-level site was told carries over to another. Refusals are counted
// as each kind's rule says (for the registrable domain); once a kind's limit
// is reached, the site is not asked again until the user says otherwise.
class SiteAnswers
{
public:
    // The origin of `url`: its scheme, host and port. Zoom is kept for it.
    static QString siteOf(const QUrl &url);
    // The part of `url` that `key` names (see SiteKey).
    QString keyOf(const QUrl &url, SiteKey key) const;
    // Whether `a` and `b` are one site as a person means it.
    bool sameSite(const QUrl &a, const QUrl &b) const;

    // The user's standing answer to `request` from `asker` on the page at
    // `top`, if any.
    std::optional<bool> answer(const QUrl &top, const QUrl &asker, PageRequest request) const;
    // Keeps the user's answer to `request` from `asker` on the page at `top`.
    void remember(const QUrl &top, const QUrl &asker, PageRequest request, bool allowed);

    // Counts one refusal, cancel or failure of `request` on the page at `top`.
    void refused(const QUrl &top, PageRequest request);
    // Whether the user may still be asked: fewer refusals so far than the
    // request's limit.
    bool mayAsk(const QUrl &top, PageRequest request) const;
    // True once for each site and kind that has reached its limit: the user
    // is told then, and not again.
    bool tellSilence(const QUrl &top, PageRequest request);
    // Forgets the refusals of `request` on `top`'s site: it is asked again.
    void askAgain(const QUrl &top, PageRequest request);

    static constexpr int RefusalsBeforeSilence = pagerules::RefusalLimit;

private:
    using Key = QPair<QString, int>;
    Key answerKey(const QUrl &top, const QUrl &asker, PageRequest request) const;
    Key refusalKey(const QUrl &url, PageRequest request) const;

    PublicSuffixes m_suffixes;
    QHash<Key, bool> m_answers;
    QHash<Key, int> m_refusals;
    QSet<Key> m_told;
};
