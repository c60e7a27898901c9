#include "pagequestions.h"

#include "errorpolicy.h"
#include "siteanswers.h"

#include <QDateTime>
#include <QPointer>

namespace {
// How long a click or key of the user's counts for what the page does next,
// and a choice of the user's for the navigation it starts.
constexpr qint64 UserActionMs = 10000;

bool recent(qint64 at)
{
    return at >= 0 && QDateTime::currentMSecsSinceEpoch() - at < UserActionMs;
}
} // namespace

PageQuestions::PageQuestions(SiteAnswers &answers, QObject *parent) : QObject(parent), m_answers(answers) {}

bool PageQuestions::ask(const QUrl &top, PageRequest request, Actor actor, const std::function<bool()> &question)
{
    if (m_asking)
        return false;
    const bool byPage = actor == Actor::Page;
    if (byPage && !m_answers.mayAsk(top, request))
        return false;
    QPointer<PageQuestions> self(this);
    m_asking = true;
    bool yes = false;
    ignoreErrors([&] { yes = question(); });
    if (!self)
        return false;
    m_asking = false;
    if (!yes && byPage) {
        m_answers.refused(top, request);
        if (m_answers.tellSilence(top, request))
            emit silenced(top, request);
    }
    emit answered();
    return yes;
}

bool PageQuestions::scriptDialog(const std::function<bool(bool offerStop, bool *stop)> &show)
{
    if (m_scriptDialogsStopped || m_asking)
        return false;
    const bool offerStop = ++m_scriptDialogs > 1;
    bool stop = false;
    bool result = false;
    QPointer<PageQuestions> self(this);
    m_asking = true;
    ignoreErrors([&] { result = show(offerStop, &stop); });
    if (!self)
        return false;
    m_asking = false;
    m_scriptDialogsStopped = stop;
    emit answered();
    return result;
}

void PageQuestions::userActed()
{
    m_actedAt = QDateTime::currentMSecsSinceEpoch();
    m_gestureTaken = false;
}

bool PageQuestions::userActedRecently() const
{
    return recent(m_actedAt);
}

Actor PageQuestions::takeGesture()
{
    const bool user = userActedRecently() && !m_gestureTaken;
    m_gestureTaken = true;
    return user ? Actor::User : Actor::Page;
}

void PageQuestions::userChose(const QUrl &url)
{
    m_choseAt = QDateTime::currentMSecsSinceEpoch();
    m_chosenUrl = url;
}

Actor PageQuestions::takeChoice()
{
    const bool user = recent(m_choseAt);
    m_choseAt = -1;
    return user ? Actor::User : Actor::Page;
}

bool PageQuestions::takeChosenDownload(const QUrl &url)
{
    const bool chosen = !url.isEmpty() && url == m_chosenUrl;
    if (chosen)
        m_chosenUrl.clear();
    return chosen;
}
