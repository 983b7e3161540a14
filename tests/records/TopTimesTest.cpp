// Guards the top-five tables: ranking by text with ties below, defaults, and the 50 stored keys.
#include "records/TopTimes.h"

#include "records/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

TopTimeTable tableOf(const QStringList& times)
{
    TopTimeTable table;
    for (int place = 0; place < 5; ++place) {
        table.times[place] = times.value(place, DefaultTopTime);
        table.names[place] = QStringLiteral("P%1").arg(place);
    }
    return table;
}

QStringList timesOf(const TopTimeTable& table)
{
    return QStringList(table.times.begin(), table.times.begin() + 5);
}

} // namespace

class TopTimesTest : public QObject
{
    Q_OBJECT

private slots:
    void ranking_data();
    void ranking();
    void rankingMovesNamesWithTheirTimes();
    void neverWrittenStoreReadsAsDefaults();
    void savingWritesAllFiftyKeysAndReadsBack();
    void emptyNameStaysEmpty();
    void garbageStoreStillRanks();
    void unwritableStoreReportsFailure();
    void saveIsJudgedByItsOwnOutcome_data();
    void saveIsJudgedByItsOwnOutcome();
    void recordingAsksTheNameOnlyForAPlace();
    void twoCopiesOfTheGameKeepBothTimes();
    void recordingThatCannotSaveSaysSo();
};

void TopTimesTest::ranking_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("newTime");
    QTest::addColumn<int>("slot");
    QTest::addColumn<QStringList>("after");

    const QStringList defaults { "3:00", "3:00", "3:00", "3:00", "3:00" };
    QTest::newRow("first time ever")
        << defaults << "2:45" << 0 << QStringList { "2:45", "3:00", "3:00", "3:00", "3:00" };
    QTest::newRow("exactly 3:00 never enters defaults")
        << defaults << "3:00" << int(NoTopTimeSlot) << defaults;
    QTest::newRow("tie goes below")
        << QStringList { "1:05", "2:10", "3:00", "3:00", "3:00" } << "2:10" << 2
        << QStringList { "1:05", "2:10", "2:10", "3:00", "3:00" };
    QTest::newRow("slower than all five")
        << QStringList { "0:50", "0:55", "1:00", "1:10", "1:20" } << "2:00" << int(NoTopTimeSlot)
        << QStringList { "0:50", "0:55", "1:00", "1:10", "1:20" };
    QTest::newRow("sixth better time drops the fifth")
        << QStringList { "0:50", "0:55", "1:00", "1:10", "1:20" } << "0:58" << 2
        << QStringList { "0:50", "0:55", "0:58", "1:00", "1:10" };
    QTest::newRow("new best") << QStringList { "1:00", "1:01", "1:02", "1:03", "1:04" } << "0:59"
                              << 0 << QStringList { "0:59", "1:00", "1:01", "1:02", "1:03" };
    QTest::newRow("equal to the fifth")
        << QStringList { "1:00", "1:01", "1:02", "1:03", "1:04" } << "1:04" << int(NoTopTimeSlot)
        << QStringList { "1:00", "1:01", "1:02", "1:03", "1:04" };
    QTest::newRow("stored text compared as text")
        << QStringList { "0:10", "abc", "3:00", "3:00", "3:00" } << "2:00" << 1
        << QStringList { "0:10", "2:00", "abc", "3:00", "3:00" };
}

void TopTimesTest::ranking()
{
    QFETCH(QStringList, before);
    QFETCH(QString, newTime);
    QFETCH(int, slot);
    QFETCH(QStringList, after);

    TopTimeTable table = tableOf(before);
    QCOMPARE(rankTopTime(table, newTime), slot);
    QCOMPARE(timesOf(table), after);
}

void TopTimesTest::rankingMovesNamesWithTheirTimes()
{
    TopTimeTable table = tableOf({ "1:05", "2:10", "2:20", "2:30", "2:40" });
    QCOMPARE(rankTopTime(table, "2:10"), 2);
    const QStringList names(table.names.begin(), table.names.end());
    // The new place keeps its old name until the caller asks for the player's; P4 falls out.
    QCOMPARE(names, QStringList({ "P0", "P1", "P2", "P2", "P3", "P4" }));
}

void TopTimesTest::neverWrittenStoreReadsAsDefaults()
{
    QTemporaryDir dir;
    const IniSettingsStore store(dir.filePath("Pellmoor.ini"));
    const TopTimeTables all = loadTopTimes(store);
    for (const TopTimeTable& table : all.tables) {
        for (int place = 0; place < 5; ++place) {
            QCOMPARE(table.times[place], "3:00");
            QCOMPARE(table.names[place], "Empty");
        }
    }
}

void TopTimesTest::savingWritesAllFiftyKeysAndReadsBack()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Pellmoor.ini");
    {
        IniSettingsStore store(path);
        TopTimeTables all = loadTopTimes(store);
        const std::int16_t slot = rankTopTime(all.tables[2], "2:47");
        all.tables[2].names[slot] = QStringLiteral("Ann");
        saveTopTimes(store, all);
        QVERIFY(store.save());
    }
    QSettings raw(path, QSettings::IniFormat);
    raw.beginGroup("Sumdash");
    QCOMPARE(raw.childKeys().size(), 50);
    QCOMPARE(raw.value("TopMulTime0").toString(), "2:47");
    QCOMPARE(raw.value("TopMulName0").toString(), "Ann");
    QCOMPARE(raw.value("TopMulTime1").toString(), "3:00");
    QCOMPARE(raw.value("TopRanName4").toString(), "Empty");

    // A fresh store on the same file (the program restarted) sees the same tables.
    const IniSettingsStore again(path);
    const TopTimeTables reread = loadTopTimes(again);
    QCOMPARE(reread.tables[2].times[0], "2:47");
    QCOMPARE(reread.tables[2].names[0], "Ann");
    QCOMPARE(reread.tables[0].times[0], "3:00");
}

void TopTimesTest::emptyNameStaysEmpty()
{
    QTemporaryDir dir;
    IniSettingsStore store(dir.filePath("Pellmoor.ini"));
    TopTimeTables all = loadTopTimes(store);
    all.tables[0].names[0].clear();
    saveTopTimes(store, all);
    QVERIFY(store.save());
    const IniSettingsStore again(dir.filePath("Pellmoor.ini"));
    QCOMPARE(loadTopTimes(again).tables[0].names[0], "");
}

void TopTimesTest::garbageStoreStillRanks()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Pellmoor.ini");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QByteArray garbage("[Sumdash]\nTopAddTime0=");
    garbage += QByteArray(200000, 'z');
    garbage += "\nTopAddName0=\x01\x02\xff\xfe\n\x00\x00 = [[[\n=\nTopAddTime1\n";
    file.write(garbage);
    file.close();

    IniSettingsStore store(path);
    TopTimeTables all = loadTopTimes(store);
    QCOMPARE(all.tables[0].times[0].size(), 200000);
    QCOMPARE(rankTopTime(all.tables[0], "2:00"), 0);
    saveTopTimes(store, all);
    QVERIFY(store.save());
}

void TopTimesTest::unwritableStoreReportsFailure()
{
    // A folder in the settings file's place: nothing can be saved there.
    QTemporaryDir dir;
    const QString path = dir.filePath("Pellmoor.ini");
    QVERIFY(QDir().mkpath(path));
    IniSettingsStore store(path);
    TopTimeTables all = loadTopTimes(store);
    saveTopTimes(store, all);
    QVERIFY(!store.save());
}

void TopTimesTest::saveIsJudgedByItsOwnOutcome_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::newRow("plain") << QByteArray("[Sumdash]\nTopAddTime0=1:00\n");
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF[Sumdash]\nTopAddTime0=1:00\n");
    QTest::newRow("comment line") << QByteArray("# kept by hand\n[Sumdash]\nTopAddTime0=1:00\n");
    QTest::newRow("line without =") << QByteArray("[Sumdash]\nstray words\nTopAddTime0=1:00\n");
}

// Each save says whether it worked: a save that failed once, or a file Qt found odd to read,
// never makes a later save that worked look failed, and a failed one never looks saved.
void TopTimesTest::saveIsJudgedByItsOwnOutcome()
{
    QFETCH(QByteArray, contents);
    QTemporaryDir dir;
    const QString path = dir.filePath("Pellmoor.ini");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
    file.close();

    IniSettingsStore store(path);
    const auto saveTime = [&](const QString& time) {
        TopTimeTables all = loadTopTimes(store);
        rankTopTime(all.tables[0], time);
        saveTopTimes(store, all);
        return store.save();
    };
    QVERIFY(saveTime("0:50"));
    QCOMPARE(IniSettingsStore(path).read("TopAddTime0", {}), "0:50");

    // The file's place taken by a folder: this save cannot work, and says so.
    QVERIFY(QFile::remove(path));
    QVERIFY(QDir().mkpath(path));
    QVERIFY(!saveTime("0:40"));
    QVERIFY(QDir(path).removeRecursively());
    QVERIFY(saveTime("0:30"));
    QCOMPARE(IniSettingsStore(path).read("TopAddTime0", {}), "0:30");
}

// The name is asked only for a time that makes the table, and lands in its place.
void TopTimesTest::recordingAsksTheNameOnlyForAPlace()
{
    QTemporaryDir dir;
    IniSettingsStore store(dir.filePath("Pellmoor.ini"));
    int asked = 0;
    const auto ask = [&] {
        ++asked;
        return QStringLiteral("Ann");
    };
    TopTimeRecording first = recordTopTime(store, 2, "2:10", ask);
    QCOMPARE(first.slot, 0);
    QVERIFY(first.saved);
    for (const char* time : { "1:00", "1:10", "1:20", "1:30" }) {
        recordTopTime(store, 2, time, ask);
    }
    QCOMPARE(asked, 5);
    const TopTimeRecording tooSlow = recordTopTime(store, 2, "2:20", ask);
    QCOMPARE(tooSlow.slot, NoTopTimeSlot);
    QVERIFY(tooSlow.saved); // every table is written back all the same
    QCOMPARE(asked, 5);
    const TopTimeTables tables = loadTopTimes(IniSettingsStore(dir.filePath("Pellmoor.ini")));
    QCOMPARE(timesOf(tables.tables[1]), QStringList({ "1:00", "1:10", "1:20", "1:30", "2:10" }));
    QCOMPARE(tables.tables[1].names[4], "Ann");
}

// Two copies of the game on one account: the second saves after the first without having seen
// its time, and both times stay, in time order.
void TopTimesTest::twoCopiesOfTheGameKeepBothTimes()
{
    QTemporaryDir dir;
    // Each copy reaches the file by its own path, as two processes would: Qt shares what it
    // read of a file only between stores of one path in one process.
    QVERIFY(QFile::link(dir.path(), dir.filePath("same-folder")));
    IniSettingsStore copyA(dir.filePath("Pellmoor.ini"));
    IniSettingsStore copyB(dir.filePath("same-folder/Pellmoor.ini"));
    QCOMPARE(loadTopTimes(copyB).tables[2].times[0], "3:00"); // B has read the tables

    QCOMPARE(recordTopTime(copyA, 3, "2:00", [] { return QStringLiteral("Ann"); }).slot, 0);
    const TopTimeRecording b
        = recordTopTime(copyB, 3, "2:30", [] { return QStringLiteral("Ben"); });
    QCOMPARE(b.slot, 1);
    QVERIFY(b.saved);

    const TopTimeTable mul = loadTopTimes(IniSettingsStore(dir.filePath("Pellmoor.ini"))).tables[2];
    QCOMPARE(timesOf(mul), QStringList({ "2:00", "2:30", "3:00", "3:00", "3:00" }));
    QCOMPARE(mul.names[0], "Ann");
    QCOMPARE(mul.names[1], "Ben");
}

// While another copy of the game holds the store, a save waits; when it cannot have the store
// it reports failure rather than writing over the other copy's tables.
void TopTimesTest::recordingThatCannotSaveSaysSo()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Pellmoor.ini");
    IniSettingsStore store(path);
    QLockFile otherCopy(path + ".update.lock");
    otherCopy.setStaleLockTime(0);
    QVERIFY(otherCopy.tryLock());
    QString asked;
    const TopTimeRecording held = recordTopTime(store, 1, "1:00", [&] { return asked = "Ann"; });
    QCOMPARE(asked, "Ann");
    QCOMPARE(held.slot, 0);
    QVERIFY(!held.saved);
    QVERIFY(!QFile::exists(path));
    otherCopy.unlock();
    QVERIFY(recordTopTime(store, 1, "1:00", [] { return QStringLiteral("Ann"); }).saved);
}

QTEST_GUILESS_MAIN(TopTimesTest)
#include "TopTimesTest.moc"
