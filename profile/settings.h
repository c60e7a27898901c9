#pragma once

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QVariant>

// The program's settings file, velmora.conf in the user's configuration
// folder, and the only code that opens it. A file changed by hand while the
// program runs is read again at the next value asked for. The folder is open to its user
// only (0700) and the file readable by its owner only (0600), whatever the
// umask. Where the folder is not fit for it (a link to another place,
// another user's, or it cannot be made or closed), nothing is read from or
// written there: settings last until the program ends, and stderr says why.
class Settings
{
public:
    // Settings kept in `file` (an INI file), read now and whenever it has
    // changed since, and written on every change; with no file they last
    // until this object goes.
    explicit Settings(const QString &file = QString());

    // velmora.conf in the user's configuration folder; empty without one.
    static QString defaultFile();
    // Why settings are not kept on disk, in words; empty when they are (or
    // when nothing has been written yet to find out).
    QString problem() const { return m_problem; }

    // The settings the program keeps, each named once (see keyOf).
    enum class Key {
        // The home page: [General] home=
        HomePage,
        // The engine's security-fix date whose notice the user has closed.
        EngineNoticeSeen,
    };
    // The setting `key`, empty unless one was kept.
    QString value(Key key) const;
    // Keeps `value` as the setting `key`; an empty one forgets it.
    void setValue(Key key, const QString &value);

    // The value kept for `site` in `group` (the zoom of each site, say);
    // invalid unless one was kept.
    QVariant siteValue(const QString &group, const QString &site) const;
    // Keeps `value` for `site` in `group`; an invalid one forgets it.
    void setSiteValue(const QString &group, const QString &site, const QVariant &value);

    // The setting `key` as the system gives it to every user, in the
    // system's velmora.conf (Qt's system settings folder: /etc/xdg/Velmora on
    // Linux; on Windows the machine's registry, under the key
    // HKEY_LOCAL_MACHINE\Software\Velmora\velmora), which a distributor may
    // ship; empty unless given there. It is read, never written.
    static QString systemValue(Key key);
    // The system's velmora.conf, as named to the user.
    static QString systemFile();

private:
    // The name of `key` in the file.
    static QString keyOf(Key key);
    void put(const QString &name, const QVariant &value);
    // Reads the file again if it has changed (its time or size) since it was
    // last read or written; a file gone leaves no setting.
    void refresh() const;
    // Writes `key` as it is now held (or its absence) to the file and closes
    // the file to others; on failure, says why on stderr.
    void store(const QString &key);
    // Stops using the file, for `why`, and says so on stderr.
    void refuse(const QString &why);

    QString m_file; // empty once settings are kept in memory only
    QString m_problem;
    // What the file held when last read or written, and its time and size
    // then (none and -1: there was no file).
    mutable QHash<QString, QVariant> m_values;
    mutable QDateTime m_readModified;
    mutable qint64 m_readSize = -1;
};
