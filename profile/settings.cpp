#include "settings.h"

#include "privatefolder.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>


namespace {
constexpr QFile::Permissions OwnerReadWrite =
    QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;

QSettings systemSettings()
{
    return QSettings(QSettings::NativeFormat, QSettings::SystemScope, QStringLiteral("Velmora"),
                     QStringLiteral("velmora"));
}
} // namespace

QString Settings::keyOf(Key key)
{
    switch (key) {
    case Key::HomePage:
        return QStringLiteral("home");
    case Key::EngineNoticeSeen:
        return QStringLiteral("notices/oldEngine");
    }
    return QString();
}

QString Settings::defaultFile()
{
    // No configuration folder at all: settings last until the program ends.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    return folder.isEmpty() ? QString() : folder + QStringLiteral("/velmora.conf");
}

Settings::Settings(const QString &file) : m_file(file)
{
    if (m_file.isEmpty())
        return;
    // A folder not made yet is made, private, by the first change.
    const QString folder = QFileInfo(m_file).path();
    if (!QFileInfo::exists(folder) && !QFileInfo(folder).isSymLink())
        return;
    if (const QString problem = privatefolder::check(folder); !problem.isEmpty()) {
        refuse(problem);
        return;
    }
    refresh();
}

void Settings::refresh() const
{
    if (m_file.isEmpty())
        return;
    const QFileInfo file(m_file);
    const QDateTime modified = file.exists() ? file.lastModified() : QDateTime();
    const qint64 size = file.exists() ? file.size() : -1;
    if (modified == m_readModified && size == m_readSize)
        return;
    m_values.clear();
    const QSettings settings(m_file, QSettings::IniFormat);
    for (const QString &key : settings.allKeys())
        m_values.insert(key, settings.value(key));
    m_readModified = modified;
    m_readSize = size;
}

QString Settings::value(Key key) const
{
    refresh();
    return m_values.value(keyOf(key)).toString();
}

void Settings::setValue(Key key, const QString &value)
{
    put(keyOf(key), value.isEmpty() ? QVariant() : QVariant(value));
}

QVariant Settings::siteValue(const QString &group, const QString &site) const
{
    refresh();
    // A site as a key: "/" would start a subgroup.
    return m_values.value(group + u'/' + QString::fromLatin1(QUrl::toPercentEncoding(site)));
}

void Settings::setSiteValue(const QString &group, const QString &site, const QVariant &value)
{
    put(group + u'/' + QString::fromLatin1(QUrl::toPercentEncoding(site)), value);
}

void Settings::put(const QString &name, const QVariant &value)
{
    // The file as it is now, a hand edit included, with this change.
    refresh();
    if (value.isValid())
        m_values.insert(name, value);
    else
        m_values.remove(name);
    store(name);
}

QString Settings::systemValue(Key key)
{
    return systemSettings().value(keyOf(key)).toString();
}

QString Settings::systemFile()
{
    return QDir::toNativeSeparators(systemSettings().fileName());
}

void Settings::store(const QString &key)
{
    if (m_file.isEmpty())
        return;
    if (const QString problem = privatefolder::make(QFileInfo(m_file).path()); !problem.isEmpty()) {
        refuse(problem);
        return;
    }
    // Made private before anything is in it; the rewrite through a
    // temporary file keeps the permissions of the file it replaces.
    QFile created(m_file);
    if (!created.exists() && created.open(QIODevice::WriteOnly | QIODevice::NewOnly, OwnerReadWrite))
        created.close();
    QSettings settings(m_file, QSettings::IniFormat);
    const auto held = m_values.constFind(key);
    if (held == m_values.constEnd())
        settings.remove(key);
    else
        settings.setValue(key, *held);
    settings.sync();
    // Whatever the file was before, it is now its owner's alone.
    const bool closed = QFile::setPermissions(m_file, OwnerReadWrite);
    // What was just written is what is held: no need to read it again.
    const QFileInfo written(m_file);
    m_readModified = written.lastModified();
    m_readSize = written.size();
    if (settings.status() != QSettings::NoError || !closed) {
        m_problem = QCoreApplication::translate("Settings", "The settings file %1 could not be written.")
                        .arg(QDir::toNativeSeparators(m_file));
        qWarning("velmora: %s", qPrintable(m_problem));
    }
}

void Settings::refuse(const QString &why)
{
    m_file.clear();
    m_problem = QCoreApplication::translate("Settings", "%1 Settings are kept only until Velmora ends.").arg(why);
    qWarning("velmora: %s", qPrintable(m_problem));
}
