// Guards the club file: its codec, whole-line appends, reading back, and damaged or hostile files.
#include "records/ClubFile.h"
#include "tests/support/PermissionBitsEnforced.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray clubLine(const QString& name, const QString& time, const QString& type)
{
    return EncodeClubText(clubRecordText(name, time, type)) + QByteArrayLiteral("\r\n");
}

} // namespace

class ClubFileTest : public QObject
{
    Q_OBJECT

private slots:
    void recordText();
    void codecRoundTrips_data();
    void codecRoundTrips();
    void encodingAddsTheOffsetToEveryByte();
    void appendsWholeLinesInOrder();
    void namesCannotBreakTheFile_data();
    void namesCannotBreakTheFile();
    void missingAndEmptyFiles();
    void damagedFilesNeverCrash_data();
    void damagedFilesNeverCrash();
    void failedAppendLeavesTheFileAsItWas();
    void clubFileLocation_data();
    void clubFileLocation();
    void clubFileLocationFollowsThisUsersRights_data();
    void clubFileLocationFollowsThisUsersRights();
};

void ClubFileTest::recordText()
{
    QCOMPARE(clubRecordText("Ann", "2:47", "Multiplication"), "Ann^|^2:47^|^Multiplication^|^");
    QCOMPARE(clubRecordText("", "1:00", "Random"), "^|^1:00^|^Random^|^");
}

void ClubFileTest::codecRoundTrips_data()
{
    QTest::addColumn<QString>("name");

    QTest::newRow("plain") << "Your Name";
    QTest::newRow("accents") << QString::fromUtf8("Zoë Ñúñez");
    QTest::newRow("greek") << QString::fromUtf8("Αλέξανδρος");
    QTest::newRow("cyrillic") << QString::fromUtf8("Маша");
    QTest::newRow("arabic") << QString::fromUtf8("مريم");
    QTest::newRow("chinese") << QString::fromUtf8("小明");
    QTest::newRow("emoji") << QString::fromUtf8("Ben 🚀");
    QTest::newRow("empty") << "";
}

void ClubFileTest::codecRoundTrips()
{
    QFETCH(QString, name);

    const QString record = clubRecordText(name, "2:05", "Addition");
    QCOMPARE(DecodeClubText(EncodeClubText(record)), record);

    QTemporaryDir dir;
    ClubFile club(dir.filePath(ClubFileName));
    QVERIFY(club.SaveClubRecord(record));
    const auto records = club.read();
    QVERIFY(records.has_value());
    QCOMPARE(records->size(), std::size_t { 1 });
    QCOMPARE(records->front(), (ClubRecord { name, "2:05", "Addition" }));
}

void ClubFileTest::encodingAddsTheOffsetToEveryByte()
{
    QVERIFY(ClubOffset >= 1 && ClubOffset <= 9);
    const QByteArray encoded = EncodeClubText(QStringLiteral("A^|^"));
    QCOMPARE(encoded.size(), 4);
    QCOMPARE(static_cast<unsigned char>(encoded[0]), 'A' + ClubOffset);
    QCOMPARE(static_cast<unsigned char>(encoded[1]), '^' + ClubOffset);
    QVERIFY(!encoded.contains("^|^"));
    // The highest UTF-8 lead byte still fits in a byte.
    const QByteArray high = EncodeClubText(QString::fromUtf8("\xf4\x8f\xbf\xbd"));
    QCOMPARE(static_cast<unsigned char>(high[0]), 0xF4 + ClubOffset);
}

void ClubFileTest::appendsWholeLinesInOrder()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(ClubFileName);
    ClubFile club(path);
    QVERIFY(club.SaveClubRecord(clubRecordText("Ann", "2:59", "Addition")));
    QCOMPARE(fileBytes(path), EncodeClubText("Ann^|^2:59^|^Addition^|^") + "\r\n");
    QVERIFY(club.SaveClubRecord(clubRecordText("Bo", "1:47", "Division")));
    QCOMPARE(fileBytes(path).count("\r\n"), 2);
    const auto records = club.read();
    QVERIFY(records);
    QCOMPARE(*records, (std::vector<ClubRecord> { { "Ann", "2:59", "Addition" }, { "Bo", "1:47", "Division" } }));
}

void ClubFileTest::namesCannotBreakTheFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("stored");

    QTest::newRow("separator") << "a^|^b" << QString::fromUtf8("a^¦^b");
    QTest::newRow("ends half a separator") << "a^|" << QString::fromUtf8("a^¦");
    QTest::newRow("line break") << "a\r\nb" << "ab";
    QTest::newRow("tab and escape") << "a\tb\x1b" << "ab";
    QTest::newRow("only separators") << "^|^^|^" << QString::fromUtf8("^¦^^¦^");
}

void ClubFileTest::namesCannotBreakTheFile()
{
    QFETCH(QString, name);
    QFETCH(QString, stored);

    QTemporaryDir dir;
    ClubFile club(dir.filePath(ClubFileName));
    QVERIFY(club.SaveClubRecord(clubRecordText("First", "1:00", "Addition")));
    QVERIFY(club.SaveClubRecord(clubRecordText(name, "2:00", "Subtraction")));
    QVERIFY(club.SaveClubRecord(clubRecordText("Last", "2:30", "Random")));
    const auto records = club.read();
    QVERIFY(records);
    QCOMPARE(*records, (std::vector<ClubRecord> { { "First", "1:00", "Addition" },
                                                  { stored, "2:00", "Subtraction" },
                                                  { "Last", "2:30", "Random" } }));
}

void ClubFileTest::missingAndEmptyFiles()
{
    QTemporaryDir dir;
    ClubFile missing(dir.filePath(ClubFileName));
    QVERIFY(!missing.read().has_value());
    writeBytes(missing.path(), {});
    const auto empty = missing.read();
    QVERIFY(empty.has_value());
    QVERIFY(empty->empty());
    ClubFile folder(dir.path());
    QVERIFY(!folder.read().has_value());
}

void ClubFileTest::damagedFilesNeverCrash_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<int>("records"); // -1: unreadable

    const QByteArray good = EncodeClubText("Ann^|^2:59^|^Addition^|^") + "\r\n";
    QTest::newRow("bytes below the offset") << QByteArray("\x01\x02\x03", 3) << -1;
    QTest::newRow("plain text") << QByteArray("hello") << 0;
    QTest::newRow("truncated last line") << good + good.left(9) << 1;
    QTest::newRow("missing line end") << good + good.chopped(2) << 2;
    QTest::newRow("lone line feeds") << QByteArray(good).replace("\r\n", "\n") << 1;
    QTest::newRow("invalid UTF-8") << EncodeClubText("x^|^1:00^|^Random^|^") + QByteArray(3, char(0xFF)) << 1;
    QTest::newRow("huge garbage") << QByteArray(5 * 1024 * 1024, char(0x80)) << 0;
}

void ClubFileTest::damagedFilesNeverCrash()
{
    QFETCH(QByteArray, contents);
    QFETCH(int, records);

    const auto read = readClubRecords(contents);
    QCOMPARE(read.has_value() ? static_cast<int>(read->size()) : -1, records);
}

void ClubFileTest::failedAppendLeavesTheFileAsItWas()
{
    QTemporaryDir dir;
    // A folder in the file's place cannot be appended to.
    ClubFile folder(dir.path());
    QVERIFY(!folder.SaveClubRecord(clubRecordText("Ann", "1:00", "Addition")));

    // A full disk: /dev/full takes nothing.
    if (QFileInfo::exists("/dev/full")) {
        ClubFile full(QStringLiteral("/dev/full"));
        QVERIFY(!full.SaveClubRecord(clubRecordText("Ann", "1:00", "Addition")));
    }
}

void ClubFileTest::clubFileLocation_data()
{
    QTest::addColumn<bool>("fileBeside");
    QTest::addColumn<bool>("fileWritable");
    QTest::addColumn<bool>("folderWritable");
    QTest::addColumn<QString>("expected");

    const QString beside = QStringLiteral("/opt/sumdash/SumdashClub.sdc");
    const QString own = QStringLiteral("/home/ann/.local/share/Sumdash/SumdashClub.sdc");
    QTest::newRow("writable program folder") << false << false << true << beside;
    QTest::newRow("this user's file beside the program") << true << true << false << beside;
    QTest::newRow("system-wide install") << false << false << false << own;
    // Root played once: a file beside the program that this user may not write.
    QTest::newRow("someone else's file beside the program") << true << false << false << own;
    QTest::newRow("someone else's file in a writable folder") << true << false << true << own;
}

void ClubFileTest::clubFileLocation()
{
    QFETCH(bool, fileBeside);
    QFETCH(bool, fileWritable);
    QFETCH(bool, folderWritable);
    QFETCH(QString, expected);
    QCOMPARE(chooseClubFilePath("/opt/sumdash", "/home/ann/.local/share/Sumdash", fileBeside, fileWritable,
                                folderWritable),
             expected);
}

void ClubFileTest::clubFileLocationFollowsThisUsersRights_data()
{
    QTest::addColumn<int>("folderMode");
    QTest::addColumn<int>("fileMode"); // -1: no file
    QTest::addColumn<bool>("besideProgram");

    QTest::newRow("writable program folder") << 0700 << -1 << true;
    QTest::newRow("program folder this user may not write") << 0500 << -1 << false;
    QTest::newRow("this user's file beside the program") << 0500 << 0600 << true;
    QTest::newRow("a file beside the program this user may not write") << 0500 << 0444 << false;
    QTest::newRow("a read-only file in a writable folder") << 0700 << 0444 << false;
}

void ClubFileTest::clubFileLocationFollowsThisUsersRights()
{
    // The rights looked at are this user's, on the files as they are: a club file beside the
    // program that root made once is not this user's to use.
    QFETCH(int, folderMode);
    QFETCH(int, fileMode);
    QFETCH(bool, besideProgram);

    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("program"));
    const QString userData = dir.filePath(QStringLiteral("data"));
    QVERIFY(QDir().mkpath(program));
    const QString beside = QDir(program).filePath(ClubFileName);
    if (fileMode >= 0) {
        writeBytes(beside, clubLine("Root", "1:00", "Addition"));
        QCOMPARE(::chmod(QFile::encodeName(beside).constData(), static_cast<mode_t>(fileMode)), 0);
    }
    QCOMPARE(::chmod(QFile::encodeName(program).constData(), static_cast<mode_t>(folderMode)), 0);
    const auto restore = qScopeGuard([&] { ::chmod(QFile::encodeName(program).constData(), 0700); });

    QString found;
    {
        const PermissionBitsEnforced enforced;
        QVERIFY(enforced.inForce());
        found = findClubFilePath(program, userData);
    }
    QCOMPARE(found, besideProgram ? beside : QDir(userData).filePath(ClubFileName));
}

QTEST_GUILESS_MAIN(ClubFileTest)
#include "ClubFileTest.moc"
