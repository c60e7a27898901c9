#include "siteanswers.h"

#include <QUrl>

QString SiteAnswers::siteOf(const QUrl &url)
{
    return url.adjusted(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment | QUrl::RemoveUserInfo)
        .toString();
}

std::optional<bool> SiteAnswers::answer(const QString &site, const QString &kind) const
{
    const auto known = m_answers.constFind(Key(site, kind));
    if (known == m_answers.constEnd())
        return std::nullopt;
    return *known;
}

void SiteAnswers::remember(const QString &site, const QString &kind, bool allowed)
{
    m_answers.insert(Key(site, kind), allowed);
}

void SiteAnswers::refused(const QString &site, const QString &kind)
{
    ++m_refusals[Key(site, kind)];
}

bool SiteAnswers::mayAsk(const QString &site, const QString &kind) const
{
    return m_refusals.value(Key(site, kind)) < RefusalsBeforeSilence;
}
