#include "sysinfo.h"
#include "testmain.h"

#include <QDir>
#include <QMap>
#include <QSet>
#include <QTemporaryDir>

#include <algorithm>
#include <cstring>

using namespace sysinfo;

namespace {
const QString ToolKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString FolderKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
const QString TestKey = QStringLiteral("SOFTWARE\\Test");

struct FakeValue
{
    std::uint32_t type = 0;
    QByteArray bytes;
};

// A registry, file system and program starter in memory, recording what the
// launcher asks of them.
class FakePlatform : public Platform
{
public:
    QMap<QString, QMap<QString, FakeValue>> keys; // key path -> value name -> value
    QMap<QString, std::uint32_t> allowed;         // key -> the access rights it grants; all if absent
    QSet<QString> files;                          // files that count as present
    QSet<QString> hiddenFiles;                    // there, but hidden: they start, but do not count
    QStringList opened, queried, checked, started, messages;
    QMap<RegKey, QString> openKeys;
    bool badRequest = false; // a call other than the registry's contract asks for
    RegKey nextKey = 100;

    std::int32_t openKey(RegKey root, const std::string &path, std::uint32_t access, RegKey &key) override
    {
        const QString name = QString::fromStdString(path);
        opened << name;
        badRequest |= root != LocalMachine || access != KeyRead;
        if (!keys.contains(name))
            return ErrorFileNotFound;
        if (access & ~allowed.value(name, ~0u))
            return ErrorAccessDenied;
        key = nextKey++;
        openKeys.insert(key, name);
        return ErrorSuccess;
    }
    std::int32_t queryValue(RegKey key, const std::string &name, std::uint32_t &type, unsigned char *data,
                            std::uint32_t &size) override
    {
        queried << QString::fromStdString(name);
        badRequest |= !openKeys.contains(key) || size != ValueBufferSize
            || std::count(data, data + size, 0) != int(size);
        const QMap<QString, FakeValue> values = keys.value(openKeys.value(key));
        const auto value = values.constFind(QString::fromStdString(name));
        if (value == values.cend())
            return ErrorFileNotFound;
        type = value->type;
        const std::uint32_t room = size;
        size = std::uint32_t(value->bytes.size());
        if (size > room)
            return ErrorMoreData;
        std::memcpy(data, value->bytes.constData(), size);
        return ErrorSuccess;
    }
    void closeKey(RegKey key) override { badRequest |= openKeys.remove(key) != 1; }
    bool fileExists(const std::string &path) override
    {
        checked << QString::fromStdString(path);
        return files.contains(QString::fromStdString(path));
    }
    void startProgram(const std::string &path) override
    {
        const QString program = QString::fromStdString(path);
        if (!files.contains(program) && !hiddenFiles.contains(program))
            throw SysInfoError("no such program");
        started << program;
    }
    void showMessage(const std::string &text) override { messages << QString::fromStdString(text); }
};

// A value as the rows give it: "" is no value at all.
void setValue(FakePlatform &fake, const QString &key, const QString &name, std::uint32_t type,
              const QByteArray &bytes)
{
    fake.keys[key]; // the key itself is always there
    if (type != 0)
        fake.keys[key][name] = FakeValue{type, bytes};
}

QByteArray sz(const char *text)
{
    return QByteArray(text) + '\0';
}

constexpr int Raises = -1; // a row's result: GetKeyValue raises an error

// What a key under HKEY_LOCAL_MACHINE grants an ordinary user (KEY_READ), and
// rights that leave reading out (KEY_WRITE).
constexpr std::uint32_t ReadOnly = 0x20019, WriteOnly = 0x20006;

} // namespace

// GetKeyValue and StartSysInfo over a fake platform; the platform of this
// system where it has no registry.
class TestSysInfo : public QObject
{
    Q_OBJECT

private slots:
    void keyValue_data()
    {
        QTest::addColumn<std::uint32_t>("type");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("initial");
        QTest::addColumn<QString>("trouble"); // "no key", or the rights the key grants: "read only", "write only"
        QTest::addColumn<int>("result");      // false, true, or Raises
        QTest::addColumn<QByteArray>("expected");
        const auto row = [](const char *tag, std::uint32_t type, const QByteArray &bytes, const char *initial,
                            int result, const QByteArray &expected, const char *trouble = "") {
            QTest::newRow(tag) << type << bytes << QString(initial) << QString(trouble) << result << expected;
        };
        const QByteArray x1023(1023, 'x'), x1024(1024, 'x');
        row("string with zero", RegSz, sz("C:\\a b"), "", true, "C:\\a b");
        row("string without zero", RegSz, "abc", "", true, "abc");
        row("only the last zero goes", RegSz, QByteArray("ab\0\0", 4), "", true, QByteArray("ab\0", 3));
        row("1024 bytes with zero", RegSz, x1023 + '\0', "", true, x1023);
        row("1024 bytes without zero", RegSz, x1024, "", true, x1024);
        row("1025 bytes", RegSz, x1024 + '\0', "keep", false, QByteArray());
        row("string replaces", RegSz, sz("new"), "old", true, "new");
        row("dword 26", RegDword, QByteArray("\x1A\0\0\0", 4), "", true, "&h001A");
        row("dword 0x12345678", RegDword, "\x78\x56\x34\x12", "", true, "&h12345678");
        row("dword 0", RegDword, QByteArray(4, '\0'), "", true, "&h000");
        row("dword appends", RegDword, QByteArray("\x1A\0\0\0", 4), "7", true, "&h7001A");
        row("one zero byte", RegSz, QByteArray(1, '\0'), "keep", true, QByteArray());
        row("expandable string", RegExpandSz, sz("%x%"), "keep", true, "keep");
        row("binary", RegBinary, "\x01\x02", "keep", true, "keep");
        row("missing value", 0, QByteArray(), "keep", false, QByteArray());
        row("missing key", RegSz, sz("abc"), "keep", false, QByteArray(), "no key");
        row("read-only key", RegSz, sz("abc"), "keep", true, "abc", "read only");
        row("access denied", RegSz, sz("abc"), "keep", false, QByteArray(), "write only");
        // A value of zero bytes is an error for the caller; the others fail quietly.
        row("zero bytes", RegSz, QByteArray(), "keep", Raises, QByteArray());
    }
    void keyValue()
    {
        QFETCH(std::uint32_t, type);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, initial);
        QFETCH(QString, trouble);
        QFETCH(int, result);
        FakePlatform fake;
        setValue(fake, TestKey, "value", type, bytes);
        if (trouble == "no key")
            fake.keys.clear();
        if (trouble == "read only")
            fake.allowed[TestKey] = ReadOnly;
        if (trouble == "write only")
            fake.allowed[TestKey] = WriteOnly;
        std::string value = initial.toStdString();
        if (result == Raises) {
            QVERIFY_THROWS_EXCEPTION(SysInfoError, GetKeyValue(fake, LocalMachine, TestKey.toStdString(), "value", value));
        } else {
            QCOMPARE(int(GetKeyValue(fake, LocalMachine, TestKey.toStdString(), "value", value)), result);
            QTEST(QByteArray::fromStdString(value), "expected");
        }
        QCOMPARE(fake.queried.size(), trouble == "no key" || trouble == "write only" ? 0 : 1);
        QVERIFY(!fake.badRequest);
        QVERIFY(fake.openKeys.isEmpty()); // closed on every way out
    }

    void startSysInfo_data()
    {
        QTest::addColumn<std::uint32_t>("pathType");
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<QByteArray>("folder");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("started"); // "" for the message
        QTest::addColumn<QStringList>("queried");
        QTest::addColumn<QStringList>("checked");
        QTest::addColumn<QString>("hidden");
        QTest::addColumn<std::uint32_t>("allowed"); // the rights both keys grant
        const auto row = [](const char *tag, std::uint32_t pathType, const QByteArray &path, const QByteArray &folder,
                            const QStringList &files, const QString &started, const QStringList &queried,
                            const QStringList &checked, const QString &hidden = QString(),
                            std::uint32_t allowed = ~0u) {
            QTest::newRow(tag) << pathType << path << folder << files << started << queried << checked << hidden
                               << allowed;
        };
        const QString tool = "C:\\Program Files\\Info\\MSINFO32.EXE";
        const QString inFolder = "C:\\Tools\\MSINFO32.EXE";
        const QString x1023(1023, 'x'), slashed = "C:\\Tools\\\\MSINFO32.EXE";
        const QStringList both{"PATH"}, second{"PATH", "MSINFO"}, none;
        row("both present", RegSz, sz(qPrintable(tool)), sz("C:\\Tools"), {tool, inFolder}, tool, both, none);
        row("folder holds the tool", 0, {}, sz("C:\\Tools"), {inFolder}, inFolder, second, {inFolder});
        row("folder used unchanged", 0, {}, sz("C:\\Tools\\"), {slashed}, slashed, second, {slashed});
        row("folder without the tool", 0, {}, sz("C:\\Tools"), none, "", second, {inFolder});
        row("hidden tool", 0, {}, sz("C:\\Tools"), none, "", second, {inFolder}, inFolder);
        row("path names a missing file", RegSz, sz("C:\\Gone\\MSINFO32.EXE"), sz("C:\\Tools"), {inFolder}, "", both,
            none);
        row("path too long for the buffer", RegSz, QByteArray(1024, 'x') + '\0', sz("C:\\Tools"), {inFolder},
            inFolder, second, {inFolder});
        row("path of 1024 bytes", RegSz, x1023.toLatin1() + '\0', {}, {x1023}, x1023, both, none);
        row("path of zero bytes", RegSz, {}, sz("C:\\Tools"), {inFolder}, "", both, none);
        row("expandable string under path", RegExpandSz, sz(qPrintable(tool)), {}, {tool}, "", both, none);
        row("read-only keys", RegSz, sz(qPrintable(tool)), sz("C:\\Tools"), {tool, inFolder}, tool, both, none,
            QString(), ReadOnly);
        row("access denied", RegSz, sz(qPrintable(tool)), sz("C:\\Tools"), {tool, inFolder}, "", none, none,
            QString(), WriteOnly);
        row("nothing registered", 0, {}, {}, none, "", second, none);
    }
    void startSysInfo()
    {
        QFETCH(std::uint32_t, pathType);
        QFETCH(QByteArray, path);
        QFETCH(QByteArray, folder);
        QFETCH(QStringList, files);
        QFETCH(QString, hidden);
        QFETCH(std::uint32_t, allowed);
        QFETCH(QString, started);

        FakePlatform fake;
        setValue(fake, ToolKey, "PATH", pathType, path);
        setValue(fake, FolderKey, "MSINFO", folder.isNull() ? 0 : RegSz, folder);
        fake.files = QSet<QString>(files.begin(), files.end());
        if (!hidden.isEmpty())
            fake.hiddenFiles << hidden;
        fake.allowed[ToolKey] = fake.allowed[FolderKey] = allowed;

        StartSysInfo(fake);

        QTEST(fake.queried, "queried");
        QTEST(fake.checked, "checked");
        QCOMPARE(fake.started, started.isEmpty() ? QStringList() : QStringList{started});
        QCOMPARE(fake.messages, started.isEmpty() ? QStringList{UnavailableMessage} : QStringList());
        QCOMPARE(fake.opened.first(), ToolKey);
        QCOMPARE(fake.opened.size(), fake.queried.size() == 2 || allowed == WriteOnly ? 2 : 1);
        QVERIFY(!fake.badRequest);
        QVERIFY(fake.openKeys.isEmpty());
    }

#ifndef _WIN32
    // Without a registry both lookups fail, so the user is told at once.
    void systemPlatformHasNoRegistry()
    {
        struct Recording : SystemPlatform
        {
            QStringList messages;
            void showMessage(const std::string &text) override { messages << QString::fromStdString(text); }
        } platform;
        StartSysInfo(platform);
        QCOMPARE(platform.messages, QStringList{UnavailableMessage});
        QVERIFY_THROWS_EXCEPTION(SysInfoError, platform.startProgram("/bin/true"));

        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("folder"));
        for (const char *name : {"tool", ".hidden"}) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        auto exists = [&](const char *name) { return platform.fileExists(dir.filePath(name).toStdString()); };
        QVERIFY(exists("tool"));
        QVERIFY(!exists(".hidden"));
        QVERIFY(!exists("folder"));
        QVERIFY(!exists("missing"));
    }
#endif
};

VELMORA_TEST_MAIN(TestSysInfo)
#include "tst_sysinfo.moc"
