#pragma once

#include "pagerequest.h"
#include "publicsuffixes.h"

#include <QHash>
#include <QPair>
#include <QString>

#include <optional>

class QUrl;

// What the user answered each site, by kind of request, until the program
// ends. Refusals are counted for the site as each kind's rule says (the
// registrable domain); once a kind's limit is reached, the site is not asked
// again.
class SiteAnswers
{
public:
    // The origin of `url`: its scheme, host and port. Zoom is kept for it.
    static QString siteOf(const QUrl &url);
    // The part of `url` that `key` names (see SiteKey).
    QString keyOf(const QUrl &url, SiteKey key) const;

    // The user's standing answer to `request` from the page at `url`, if any.
    std::optional<bool> answer(const QUrl &url, PageRequest request) const;
    // Keeps the user's answer to `request` from the page at `url`.
    void remember(const QUrl &url, PageRequest request, bool allowed);

    // Counts one refusal or cancel of `request` from the page at `url`.
    void refused(const QUrl &url, PageRequest request);
    // Whether the user may still be asked: fewer refusals so far than the
    // request's limit.
    bool mayAsk(const QUrl &url, PageRequest request) const;

    static constexpr int RefusalsBeforeSilence = pagerules::RefusalLimit;

private:
    using Key = QPair<QString, int>;
    Key answerKey(const QUrl &url, PageRequest request) const;
    Key refusalKey(const QUrl &url, PageRequest request) const;

    PublicSuffixes m_suffixes;
    QHash<Key, bool> m_answers;
    QHash<Key, int> m_refusals;
};
