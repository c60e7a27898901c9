#include "publicsuffixes.h"

#include <QUrl>

#ifdef VELMORA_PUBLIC_SUFFIXES
#include <libpsl.h>

struct PublicSuffixes::List
{
    psl_ctx_t *psl;
    ~List() { psl_free(psl); }
};
#else
struct PublicSuffixes::List
{
};
#endif


PublicSuffixes::PublicSuffixes()
{
#ifdef VELMORA_PUBLIC_SUFFIXES
    // The system's list when it is newer than the built-in one, else that one.
    if (psl_ctx_t *psl = psl_latest(nullptr))
        m_list.reset(new List{psl});
#endif
}

PublicSuffixes::~PublicSuffixes() = default;

// The list would take an address's last numbers for a domain.
bool PublicSuffixes::isAddress(const QString &host)
{
    if (host.contains(u':'))
        return true;
    for (const QChar c : host) {
        if (!c.isDigit() && c != u'.')
            return false;
    }
    return !host.isEmpty();
}

QString PublicSuffixes::registrableDomain(const QString &host) const
{
    // One form for every spelling of a name: lower case, punycode, no final dot.
    QString name = QString::fromLatin1(QUrl::toAce(host));
    if (name.isEmpty())
        name = host.toLower();
    while (name.endsWith(u'.'))
        name.chop(1);
    if (!m_list || name.isEmpty() || !name.contains(u'.') || isAddress(name))
        return name;
#ifdef VELMORA_PUBLIC_SUFFIXES
    const QByteArray ace = name.toLatin1();
    if (const char *domain = psl_registrable_domain(m_list->psl, ace.constData()))
        return QString::fromLatin1(domain);
#endif
    return name; // a public suffix itself
}
