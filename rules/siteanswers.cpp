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

SiteAnswers::Key SiteAnswers::answerKey(const QUrl &url, PageRequest request) const
{
    return Key(keyOf(url, pagerules::ruleFor(request).answersBy), int(request));
}

SiteAnswers::Key SiteAnswers::refusalKey(const QUrl &url, PageRequest request) const
{
    return Key(keyOf(url, pagerules::ruleFor(request).refusalsBy), int(request));
}

std::optional<bool> SiteAnswers::answer(const QUrl &url, PageRequest request) const
{
    const auto known = m_answers.constFind(answerKey(url, request));
    if (known == m_answers.constEnd())
        return std::nullopt;
    return *known;
}

void SiteAnswers::remember(const QUrl &url, PageRequest request, bool allowed)
{
    m_answers.insert(answerKey(url, request), allowed);
}

void SiteAnswers::refused(const QUrl &url, PageRequest request)
{
    ++m_refusals[refusalKey(url, request)];
}

bool SiteAnswers::mayAsk(const QUrl &url, PageRequest request) const
{
    return m_refusals.value(refusalKey(url, request)) < pagerules::ruleFor(request).refusalLimit;
}
