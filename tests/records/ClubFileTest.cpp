// Guards the club file: its codec, whole-line appends, reading back, and damaged or hostile files.
#include "records/ClubFile.h"

#include "records/ClubListing.h"
#include "tests/support/PermissionBitsEnforced.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

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

/// Another copy of the game that joins once, as a program of its own: it may be waited for,
/// and killed if it never ends.
struct OtherJoin
{
    QProcess process;

    void start(const QString& path, const QString& name)
    {
        process.start(QStringLiteral(SUMDASH_CLUB_APPENDER),
                      { QStringLiteral("--once"), path, name });
    }
    /// True when it ended within the time, and then whether it said the member was stored.
    bool finished(int ms) { return process.waitForFinished(ms); }
    bool stored() const
    {
        return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    }
    ~OtherJoin()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
        }
    }
};

using Records = std::vector<ClubRecord>;

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
    void readerSkipsLinesWithoutOneWholeRecord_data();
    void readerSkipsLinesWithoutOneWholeRecord();
    void joinAfterAHalfLineStartsOnANewLine();
    void joinWaitsForAnotherJoinOnTheSameFile();
    void joinGivesUpWhenTheFileStaysLocked();
    void joinNeverWaitsOnAFifo_data();
    void joinNeverWaitsOnAFifo();
    void clubListingKeepsWhatTheBoardShows();
    void clubListingStopsAtItsSizeLimit();
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
    QCOMPARE(
        *records,
        (std::vector<ClubRecord> { { "Ann", "2:59", "Addition" }, { "Bo", "1:47", "Division" } }));
}

void ClubFileTest::namesCannotBreakTheFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("stored");

    QTest::newRow("separator") << "a^|^b" << QString::fromUtf8("a^¦^b");
    QTest::newRow("ends half a separator") << "a^|" << QString::fromUtf8("a^¦");
    QTest::newRow("line break") << "a\r\nb"
                                << "ab";
    QTest::newRow("tab and escape") << "a\tb\x1b"
                                    << "ab";
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
    QCOMPARE(*records,
             (std::vector<ClubRecord> { { "First", "1:00", "Addition" },
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
    // A FIFO nobody writes to is not waited on.
    const QString fifo = dir.filePath(QStringLiteral("fifo"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QVERIFY(!ClubFile(fifo).read().has_value());
}

void ClubFileTest::damagedFilesNeverCrash_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<int>("records");

    const QByteArray good = EncodeClubText("Ann^|^2:59^|^Addition^|^") + "\r\n";
    QTest::newRow("bytes below the offset") << QByteArray("\x01\x02\x03", 3) << 0;
    QTest::newRow("plain text") << QByteArray("hello") << 0;
    QTest::newRow("truncated last line") << good + good.left(9) << 1;
    QTest::newRow("missing line end") << good + good.chopped(2) << 2;
    QTest::newRow("lone line feeds") << QByteArray(good).replace("\r\n", "\n") << 1;
    QTest::newRow("invalid UTF-8 line") << good + QByteArray(3, char(0xFF)) + "\r\n" + good << 2;
    QTest::newRow("huge garbage") << QByteArray(5 * 1024 * 1024, char(0x80)) << 0;
    QTest::newRow("huge garbage lines")
        << QByteArray(5 * 1024 * 1024, char(0x80)).replace(QByteArray(100, char(0x80)), good)
        << 52428;
}

void ClubFileTest::damagedFilesNeverCrash()
{
    QFETCH(QByteArray, contents);
    QFETCH(int, records);

    QCOMPARE(static_cast<int>(readClubRecords(contents).size()), records);
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

void ClubFileTest::readerSkipsLinesWithoutOneWholeRecord_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<Records>("expected");

    const QByteArray ann = clubLine("Ann", "2:59", "Addition");
    const QByteArray bo = clubLine("Bo", "1:47", "Division");
    const QByteArray cy = clubLine("Cy", "2:05", "Multiplication");
    const QByteArray di = clubLine(QString::fromUtf8("Dí 小"), "0:58", "Random");
    const ClubRecord annRecord { "Ann", "2:59", "Addition" };
    const ClubRecord boRecord { "Bo", "1:47", "Division" };
    const ClubRecord cyRecord { "Cy", "2:05", "Multiplication" };
    const ClubRecord diRecord { QString::fromUtf8("Dí 小"), "0:58", "Random" };

    QTest::newRow("well-formed") << ann + bo + cy + di
                                 << Records { annRecord, boRecord, cyRecord, diRecord };
    // A game killed between a short write and cutting it back: the next join glued on.
    QTest::newRow("half a line, the next join glued on")
        << ann + bo.left(9) + cy + di << Records { annRecord, diRecord };
    QTest::newRow("half a line, ended before the next join")
        << ann + bo.left(9) + "\r\n" + cy + di << Records { annRecord, cyRecord, diRecord };
    QTest::newRow("half a line ending in its carriage return")
        << ann + bo.chopped(1) + "\r\n" + cy << Records { annRecord, cyRecord };
    QTest::newRow("a separator too many") << ann + EncodeClubText("a^|^b^|^1:00^|^Addition^|^")
            + "\r\n" + cy << Records { annRecord, cyRecord };
    QTest::newRow("a field short")
        << ann + EncodeClubText("x^|^Addition^|^") + "\r\n" + cy << Records { annRecord, cyRecord };
    QTest::newRow("text after the last separator")
        << ann + EncodeClubText("x^|^1:00^|^Addition^|^x") + "\r\n" + cy
        << Records { annRecord, cyRecord };
    QTest::newRow("bytes that are not ours")
        << ann + QByteArray("\x01\x02\x03", 3) + "\r\n" + cy << Records { annRecord, cyRecord };
    QTest::newRow("empty lines") << "\r\n" + ann + "\r\n\r\n" + cy
                                 << Records { annRecord, cyRecord };
    QTest::newRow("a line far too long")
        << ann + QByteArray(200 * 1024, 'a') + "\r\n" + cy << Records { annRecord, cyRecord };
    QTest::newRow("a file of separators") << EncodeClubText("^|^").repeated(100000) << Records {};
    QTest::newRow("last line without its line end")
        << ann + cy.chopped(2) << Records { annRecord, cyRecord };
}

void ClubFileTest::readerSkipsLinesWithoutOneWholeRecord()
{
    // A line that does not hold one whole record is skipped alone: every record after it is
    // read as it was written, whatever size of chunks the file is read in.
    QFETCH(QByteArray, contents);
    QFETCH(Records, expected);

    QCOMPARE(readClubRecords(contents), expected);
    for (const qsizetype chunk : { 1, 2, 7, 4096 }) {
        Records records;
        ClubLineReader reader([&](QStringView name, QStringView time, QStringView type) {
            records.push_back({ name.toString(), time.toString(), type.toString() });
        });
        for (qsizetype start = 0; start < contents.size(); start += chunk) {
            reader.feed(
                QByteArrayView(contents).sliced(start, std::min(chunk, contents.size() - start)));
        }
        reader.finish();
        QCOMPARE(records, expected);
    }
    QTemporaryDir dir;
    ClubFile club(dir.filePath(ClubFileName));
    writeBytes(club.path(), contents);
    QCOMPARE(club.read(), std::optional<Records>(expected));
}

void ClubFileTest::joinAfterAHalfLineStartsOnANewLine()
{
    // A game killed on a full disk, after a short write and before cutting it back, left half a
    // line. The next members start lines of their own, and only the half line is lost.
    QTemporaryDir dir;
    ClubFile club(dir.filePath(ClubFileName));
    const QByteArray before
        = clubLine("Ann", "2:59", "Addition") + clubLine("Bo", "1:47", "Division").left(9);
    writeBytes(club.path(), before);

    QVERIFY(club.SaveClubRecord(clubRecordText("Cy", "2:05", "Multiplication")));
    QVERIFY(club.SaveClubRecord(clubRecordText("Di", "0:58", "Random")));
    QCOMPARE(fileBytes(club.path()),
             before + "\r\n" + clubLine("Cy", "2:05", "Multiplication")
                 + clubLine("Di", "0:58", "Random"));
    QCOMPARE(club.read(),
             std::optional<Records>(Records { { "Ann", "2:59", "Addition" },
                                              { "Cy", "2:05", "Multiplication" },
                                              { "Di", "0:58", "Random" } }));
}

void ClubFileTest::joinWaitsForAnotherJoinOnTheSameFile()
{
    // Another copy of the game joins on a nearly full disk: it holds the club file, the disk has
    // taken part of its line, and it is about to cut that part back off. A join meanwhile waits
    // for it, so the cut takes nothing of the later member's line.
    QTemporaryDir dir;
    ClubFile club(dir.filePath(ClubFileName));
    QVERIFY(club.SaveClubRecord(clubRecordText("Ann", "2:59", "Addition")));
    const QByteArray before = fileBytes(club.path());

    const int other
        = ::open(QFile::encodeName(club.path()).constData(), O_RDWR | O_APPEND | O_CLOEXEC);
    QVERIFY(other >= 0);
    const auto closeOther = qScopeGuard([other] { ::close(other); });
    QCOMPARE(::flock(other, LOCK_EX), 0);
    const QByteArray part = clubLine("Bo", "1:47", "Division").left(7);
    QCOMPARE(::write(other, part.constData(), static_cast<size_t>(part.size())),
             ssize_t(part.size()));

    OtherJoin later;
    later.start(club.path(), QStringLiteral("Cy"));
    // Long enough for a join that does not wait to be done.
    QVERIFY(!later.finished(1500));
    QCOMPARE(fileBytes(club.path()), before + part);

    QCOMPARE(::ftruncate(other, static_cast<off_t>(before.size())), 0);
    QCOMPARE(::flock(other, LOCK_UN), 0);
    QVERIFY(later.finished(20000));
    QVERIFY(later.stored());
    QCOMPARE(fileBytes(club.path()), before + clubLine("Cy", "2:00", "Addition"));
}

void ClubFileTest::joinGivesUpWhenTheFileStaysLocked()
{
    // Something holds the club file and never lets go: the join fails after a while rather than
    // freezing the game, and the file keeps what it had.
    QTemporaryDir dir;
    ClubFile club(dir.filePath(ClubFileName));
    QVERIFY(club.SaveClubRecord(clubRecordText("Ann", "2:59", "Addition")));
    const QByteArray before = fileBytes(club.path());
    {
        const int holder = ::open(QFile::encodeName(club.path()).constData(), O_RDONLY | O_CLOEXEC);
        QVERIFY(holder >= 0);
        const auto closeHolder = qScopeGuard([holder] { ::close(holder); });
        QCOMPARE(::flock(holder, LOCK_EX), 0);
        QVERIFY(!club.SaveClubRecord(clubRecordText("Bo", "1:47", "Division")));
        QCOMPARE(fileBytes(club.path()), before);
    }
    QVERIFY(club.SaveClubRecord(clubRecordText("Bo", "1:47", "Division")));
    QCOMPARE(fileBytes(club.path()), before + clubLine("Bo", "1:47", "Division"));
}

void ClubFileTest::joinNeverWaitsOnAFifo_data()
{
    QTest::addColumn<bool>("reader");

    QTest::newRow("nobody reading") << false;
    QTest::newRow("a reader waiting") << true;
}

void ClubFileTest::joinNeverWaitsOnAFifo()
{
    // A FIFO in the club file's place: the join fails at once and puts nothing into it. The join
    // runs as a program of its own, so one that waits is killed rather than holding the test.
    QFETCH(bool, reader);

    QTemporaryDir dir;
    const QString fifo = dir.filePath(ClubFileName);
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    int readEnd = -1;
    if (reader) {
        readEnd = ::open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        QVERIFY(readEnd >= 0);
    }
    const auto closeReader = qScopeGuard([readEnd] {
        if (readEnd >= 0) {
            ::close(readEnd);
        }
    });

    OtherJoin join;
    join.start(fifo, QStringLiteral("Ann"));
    QVERIFY2(join.finished(20000), "the join waited on the FIFO");
    QVERIFY(!join.stored());
    if (reader) {
        char byte = 0;
        QVERIFY(::read(readEnd, &byte, 1) <= 0); // nothing to read, and no writer left
    }
}

void ClubFileTest::clubListingKeepsWhatTheBoardShows()
{
    // The board's members, read once: per type, fastest first with equal times in file order,
    // names and times cut to a hundred characters, types matched exactly.
    QTemporaryDir dir;
    ClubFile club(dir.filePath(ClubFileName));
    const QString longName
        = QStringLiteral("L") + QString(150, QLatin1Char('o')) + QStringLiteral("ng");
    QByteArray contents;
    contents += clubLine("Cy", "2:59", "Addition");
    contents += clubLine("Di", "1:00", "Subtraction");
    contents += clubLine("Jo", "1:47:5", "Addition");
    contents += clubLine("Ann", "1:47", "Addition");
    contents += clubLine("Ed", "0:30", "addition");
    contents += clubLine("Fay", "1:47", "Addition");
    contents += clubLine(longName, "2:00", "Addition");
    contents += clubLine("Gus", "10:00", "Addition");
    contents += clubLine("Hal", "1:0", "Addition");
    contents += clubLine("Ivy", "", "Addition");
    contents += clubLine("Kim", "0:45", "Sums");
    contents += clubLine("Bo", "2:05", "Addition").left(12); // half a line at the end
    writeBytes(club.path(), contents);

    ClubListing listing({ "Addition", "Subtraction", "Multiplication", "Division", "Random" });
    QCOMPARE(listing.load(club), ClubListing::State::Read);
    const auto members = [&listing](int type) {
        QStringList rows;
        for (qsizetype row = 0; row < listing.memberCount(type); ++row) {
            rows << listing.name(type, row).toString() + QLatin1Char(' ')
                    + listing.time(type, row).toString();
        }
        return rows;
    };
    // As texts, "10:00" comes before "1:0": no time that can join has two minute digits.
    QCOMPARE(members(0),
             (QStringList { "Ivy ", "Gus 10:00", "Hal 1:0", "Ann 1:47", "Fay 1:47", "Jo 1:47:5",
                            longName.left(100) + " 2:00", "Cy 2:59" }));
    QCOMPARE(members(1), QStringList { "Di 1:00" });
    QCOMPARE(members(2), QStringList {});
    QCOMPARE(listing.typeIndex(u"Random"), 4);
    QCOMPARE(listing.typeIndex(u"addition"), -1);

    // Read again from scratch: a file that is gone lists nobody.
    QVERIFY(QFile::remove(club.path()));
    QCOMPARE(listing.load(club), ClubListing::State::Unreadable);
    QCOMPARE(listing.memberCount(0), 0);
}

void ClubFileTest::clubListingStopsAtItsSizeLimit()
{
    // A file over the size limit is not read at all, however it was made (here, sparse).
    QTemporaryDir dir;
    ClubFile club(dir.filePath(ClubFileName));
    writeBytes(club.path(), clubLine("Ann", "1:47", "Addition"));
    QVERIFY(QFile::resize(club.path(), ClubListing::LargestFile + 1));
    ClubListing listing({ "Addition" });
    QCOMPARE(listing.load(club), ClubListing::State::TooLarge);
    QCOMPARE(listing.memberCount(0), 0);
    QVERIFY(QFile::resize(club.path(), ClubListing::LargestFile));
    QCOMPARE(listing.load(club), ClubListing::State::Read);
    QCOMPARE(listing.memberCount(0), 1);
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
    QCOMPARE(chooseClubFilePath("/opt/sumdash", "/home/ann/.local/share/Sumdash", fileBeside,
                                fileWritable, folderWritable),
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
    const auto restore
        = qScopeGuard([&] { ::chmod(QFile::encodeName(program).constData(), 0700); });

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
