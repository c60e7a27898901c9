#include "siteanswers.h"

#include <QUrl>

QString SiteAnswers::siteOf(const QUrl &url)
{
    return url.adjusted(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment | QUrl::RemoveUserInfo)
        .toString();
}

QString SiteAnswers::keyOf(const QUrl &url, SiteKey key) const
{
    // An address without a host (a file, about:blank) is its scheme's alone.
    if (key == SiteKey::Origin || url.host().isEmpty())
        return siteOf(url);
    return m_suffixes.registrableDomain(url.host());
}

bool SiteAnswers::sameSite(const QUrl &a, const QUrl &b) const
{
    return keyOf(a, SiteKey::Domain) == keyOf(b, SiteKey::Domain);
}

SiteAnswers::Key SiteAnswers::refusalKey(const QUrl &url, PageRequest request) const
{
    return Key(keyOf(url, pagerules::ruleFor(request).refusalsBy), int(request));
}

SiteAnswers::Key SiteAnswers::answerKey(const QUrl &top, const QUrl &asker, PageRequest request) const
{
    // The asker's part of the key is as the kind's rule says; the page it
    // asked on is always its registrable domain.
    return Key(keyOf(top, SiteKey::Domain) + u' ' + keyOf(asker, pagerules::ruleFor(request).answersBy),
               int(request));
}

std::optional<bool> SiteAnswers::answer(const QUrl &top, const QUrl &asker, PageRequest request) const
{
    const auto known = m_answers.constFind(answerKey(top, asker, request));
    if (known == m_answers.constEnd())
        return std::nullopt;
    return *known;
}

void SiteAnswers::remember(const QUrl &top, const QUrl &asker, PageRequest request, bool allowed)
{
    m_answers.insert(answerKey(top, asker, request), allowed);
}

void SiteAnswers::refused(const QUrl &top, PageRequest request)
{
    ++m_refusals[refusalKey(top, request)];
}

bool SiteAnswers::mayAsk(const QUrl &top, PageRequest request) const
{
    return m_refusals.value(refusalKey(top, request)) < pagerules::ruleFor(request).refusalLimit;
}

bool SiteAnswers::tellSilence(const QUrl &top, PageRequest request)
{
    const Key key = refusalKey(top, request);
    if (mayAsk(top, request) || m_told.contains(key))
        return false;
    m_told.insert(key);
    return true;
}

void SiteAnswers::askAgain(const QUrl &top, PageRequest request)
{
    const Key key = refusalKey(top, request);
    m_refusals.remove(key);
    m_told.remove(key);
}
