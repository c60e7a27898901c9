#pragma once

#include <QString>

#include <memory>

// The public suffixes (com, co.uk, github.io...) under which people register
// their sites, to tell which site a host belongs to. Loads the system's
// list where there is one, else the list the library was built with; without
// the library (Windows builds), every host is a site of its own.
class PublicSuffixes
{
public:
    PublicSuffixes();
    ~PublicSuffixes();
    PublicSuffixes(const PublicSuffixes &) = delete;
    PublicSuffixes &operator=(const PublicSuffixes &) = delete;

    // The registrable domain `host` belongs to, in lower case
    // (s1.example.co.uk: example.co.uk). An IP address, a host without a dot
    // and a public suffix itself are their own site.
    QString registrableDomain(const QString &host) const;

    // Whether `host` is an IP address: IPv4 is digits and dots, IPv6 has
    // colons. Neither has a registrable domain.
    static bool isAddress(const QString &host);

    // Whether a list is in use; false where hosts are their own sites.
    bool loaded() const { return bool(m_list); }

private:
    struct List;
    std::unique_ptr<List> m_list;
};
