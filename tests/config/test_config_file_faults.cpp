#include "config/config_file.h"
#include "store_samples.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <clocale>
#include <csignal>
#include <random>
#include <string>
#include <sys/resource.h>

using namespace vandorelle;
using vandorelle::testing::randomStore;
using vandorelle::testing::storeDifferences;

namespace {

QByteArray randomBytes(qsizetype size, unsigned seed)
{
    std::mt19937 rng(seed);
    QByteArray out(size, Qt::Uninitialized);
    for (char &c : out)
        c = char(rng() & 0xFF);
    return out;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// A store that went through a load holds what it held before, only marked pending.
ConfigStore pendingCopy(ConfigStore s)
{
    s.markAllPending();
    return s;
}

class ConfigFileFaults : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
};

} // namespace

TEST_F(ConfigFileFaults, SaveAndLoadThroughTheFileSystem)
{
    ASSERT_TRUE(dir.isValid());
    const ConfigStore original = randomStore(3);
    ASSERT_EQ(saveConfigFile(path("a.vsk"), original), QString());
    EXPECT_EQ(readFile(path("a.vsk")), writeConfigFile(original));
    ConfigStore loaded;
    const LoadResult r = loadConfigFile(path("a.vsk"), loaded);
    EXPECT_TRUE(r.ok) << r.message.toStdString();
    EXPECT_EQ(storeDifferences(loaded, pendingCopy(original)).toStdString(), "");
    // Nothing but the file itself is left in the directory.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("a.vsk")});
}

TEST_F(ConfigFileFaults, FailedSaveLeavesThePreviousFileUntouched)
{
    ASSERT_TRUE(writeFile(path("backup.vsk"), "previous backup\r\n"));

    // Running as root ignores a read-only directory; a file-size limit fails the write instead.
    struct rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const QString error = saveConfigFile(path("backup.vsk"), randomStore(1));
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(readFile(path("backup.vsk")), QByteArray("previous backup\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("backup.vsk")});
}

TEST_F(ConfigFileFaults, SaveIntoAMissingDirectoryReportsTheError)
{
    ASSERT_TRUE(writeFile(path("notadir"), "x"));
    EXPECT_FALSE(saveConfigFile(path("notadir") + QStringLiteral("/a.vsk"), ConfigStore{}).isEmpty());
    EXPECT_FALSE(saveConfigFile(path("missing") + QStringLiteral("/a.vsk"), ConfigStore{}).isEmpty());
    EXPECT_EQ(readFile(path("notadir")), QByteArray("x"));
}

TEST_F(ConfigFileFaults, UnreadableFileIsNotFoundAndChangesNothing)
{
    ConfigStore s = randomStore(5);
    const ConfigStore before = s;
    for (const QString &p : {path("missing.vsk"), dir.path()}) {
        const LoadResult r = loadConfigFile(p, s);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.status, LoadResult::Status::Unreadable);
        EXPECT_EQ(r.message, QStringLiteral("File not found"));
    }
    EXPECT_TRUE(s == before);
}

TEST_F(ConfigFileFaults, EmptyAndBinaryFilesGiveAMessageAndKeepTheStore)
{
    const ConfigStore original = randomStore(9);
    struct Case {
        const char *name;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"empty", QByteArray()},
        {"binary", randomBytes(64 * 1024, 11)},
        {"garbage10MB", randomBytes(10 * 1024 * 1024, 12)},
        {"oneHugeLine", QByteArray(10 * 1024 * 1024, 'x')},
        {"text", QByteArray("Lieber Kunde,\r\nanbei die Rechnung=42 EUR.\r\n")},
    };
    for (const Case &c : cases) {
        ASSERT_TRUE(writeFile(path(c.name), c.bytes));
        ConfigStore s = original;
        const LoadResult r = loadConfigFile(path(c.name), s);
        EXPECT_FALSE(r.ok) << c.name;
        EXPECT_FALSE(r.message.isEmpty()) << c.name;
        EXPECT_TRUE(s == original) << c.name << ": " << storeDifferences(s, original).toStdString();
    }
}

// A cut file used to keep the records before the cut and to mark everything for sending.
TEST_F(ConfigFileFaults, TruncatedFileIsRefusedWhereItEndsAndChangesNothing)
{
    const QByteArray full = writeConfigFile(randomStore(21));
    // Cut inside the schedule entry Di, motor 5, number 3, after its hour.
    const qsizetype section = full.indexOf("[Schaltzeit_Di_Motor05_Nr3]");
    const qsizetype cut = full.indexOf("Minute=", section);
    ASSERT_GT(cut, 0);
    ASSERT_TRUE(writeFile(path("cut.vsk"), full.left(cut + 3)));

    const ConfigStore before = randomStore(22);
    ConfigStore s = before;
    const LoadResult r = loadConfigFile(path("cut.vsk"), s);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.status, LoadResult::Status::Incomplete);
    const int line = int(full.left(section).count('\n')) + 1;
    EXPECT_EQ(r.line, line);
    EXPECT_EQ(r.message, QStringLiteral("Die Datei endet unvollständig im Abschnitt [Schaltzeit_Di_Motor05_Nr3] (Zeile %1).")
                             .arg(line));
    EXPECT_TRUE(s == before) << storeDifferences(s, before).toStdString();
}

TEST_F(ConfigFileFaults, ReadsTheSameUnderAGermanLocale)
{
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "de_DE.UTF-8 locale not installed";
    const QLocale previousQt;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));

    ConfigStore original = randomStore(33);
    original.Parameter.Offset_AT = 0; // "-5"
    original.GruppenZentralsteuerung[3][3] = 255;
    const QByteArray file = writeConfigFile(original);
    ConfigStore loaded;
    const LoadResult r = readConfigFile(file, loaded);

    QLocale::setDefault(previousQt);
    std::setlocale(LC_ALL, previous.c_str());

    EXPECT_TRUE(r.ok) << r.message.toStdString();
    EXPECT_TRUE(file.contains("\r\nOffset_AT=-5\r\n"));
    EXPECT_FALSE(file.contains("1.0")); // no group separators
    EXPECT_EQ(storeDifferences(loaded, pendingCopy(original)).toStdString(), "");
}
