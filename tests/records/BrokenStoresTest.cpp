// Guards the club file and the top times against the stores a child's computer may really have:
// huge files, files the account may not read or write, and a disk with no room left.
#include "assets/DesignFonts.h"
#include "engine/GameState.h"
#include "engine/ProblemTypes.h"
#include "records/ClubBoard.h"
#include "records/ClubFile.h"
#include "records/ClubListing.h"
#include "records/SettingsStore.h"
#include "records/TopTimes.h"
#include "testing/ModalDialogDriver.h"
#include "testing/TempRecords.h"
#include "tests/support/ChildNamed.h"
#include "tests/support/PermissionBitsEnforced.h"
#include "tests/support/TmpfsMount.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr qint64 FiftyMiB = 50 * 1024 * 1024;
constexpr qint64 ChunkBytes = 1024 * 1024;

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QString typeName(int problemType)
{
    const std::string_view name = problemTypeInfo(static_cast<std::int16_t>(problemType))->name;
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

QString cell(QWidget* board, int row, int column)
{
    auto* grid = child<QTableView>(board, "MSFlexGrid1");
    return grid ? grid->model()->index(row, column).data().toString() : QStringLiteral("<no grid>");
}

QString rowText(QWidget* board, int row)
{
    return cell(board, row, 0) + QLatin1Char(' ') + cell(board, row, 1);
}

int rows(QWidget* board)
{
    return child<QTableView>(board, "MSFlexGrid1")->model()->rowCount();
}

qint64 peakResidentMiB()
{
    rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

bool changeMode(const QString& path, mode_t mode)
{
    return ::chmod(QFile::encodeName(path).constData(), mode) == 0;
}

bool canOpen(const QString& path, QIODevice::OpenMode mode)
{
    QFile file(path);
    return file.open(mode);
}

bool canCreateIn(const QString& folder)
{
    const QByteArray probe = QFile::encodeName(folder + QStringLiteral("/probe"));
    const int fd = ::open(probe.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        return false;
    }
    ::close(fd);
    ::unlink(probe.constData());
    return true;
}

/// Writes the chunks the generator makes until the file holds exactly `bytes`, so a file of
/// tens of megabytes never sits in memory whole.
bool writeInChunks(const QString& path, qint64 bytes, const std::function<QByteArray()>& nextChunk)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    for (qint64 left = bytes; left > 0;) {
        const QByteArray chunk = nextChunk();
        const qint64 take = std::min<qint64>(left, chunk.size());
        if (take <= 0 || file.write(chunk.constData(), take) != take) {
            return false;
        }
        left -= take;
    }
    return file.flush();
}

/// A megabyte of random bytes; `decodable` keeps every byte at or above the club offset, so the
/// reader has to decode all of it instead of giving up at the first byte that is not ours.
QByteArray randomChunk(QRandomGenerator& random, bool decodable)
{
    QByteArray chunk(ChunkBytes, Qt::Uninitialized);
    random.fillRange(reinterpret_cast<quint32*>(chunk.data()), chunk.size() / 4);
    if (decodable) {
        for (char& byte : chunk) {
            const int value = static_cast<unsigned char>(byte);
            byte = static_cast<char>(ClubOffset + value % (256 - ClubOffset));
        }
    }
    return chunk;
}

QByteArray clubLine(const QString& name, const QString& time, const QString& type)
{
    return EncodeClubText(clubRecordText(name, time, type)) + QByteArrayLiteral("\r\n");
}

struct statvfs diskFigures(const QString& folder)
{
    struct statvfs figures = {};
    ::statvfs(QFile::encodeName(folder).constData(), &figures);
    return figures;
}

/// Writes a filler file until the disk refuses another byte; true when the disk is then full.
bool fillDisk(const QString& folder)
{
    const QByteArray path = QFile::encodeName(folder + QStringLiteral("/filler"));
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        return false;
    }
    const QByteArray chunk(64 * 1024, 'f');
    ssize_t written = 0;
    do {
        written = ::write(fd, chunk.constData(), static_cast<size_t>(chunk.size()));
    } while (written > 0 || (written < 0 && errno == EINTR));
    const int error = errno;
    ::close(fd);
    return written < 0 && error == ENOSPC && diskFigures(folder).f_bavail == 0;
}

/// Appends the bytes with one write(2), as the club file does, and cuts the file back to its
/// old size: how many of them the disk took.
qint64 bytesTheDiskTakes(const QString& path, const QByteArray& bytes)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    struct stat before = {};
    ::fstat(fd, &before);
    const ssize_t taken = ::write(fd, bytes.constData(), static_cast<size_t>(bytes.size()));
    const bool cutBack = ::ftruncate(fd, before.st_size) == 0;
    ::close(fd);
    return cutBack ? taken : -1;
}

QStringList folderEntries(const QString& folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

/// A timed Random run of 0:45 recorded as the game records it, better than any earlier time and
/// named "Cy": whether its table reached the disk.
TopTimeRecording recordAFastRandomRun(SettingsStore& store)
{
    int asked = 0;
    const TopTimeRecording recording = recordTopTime(store, 5, QStringLiteral("0:45"), [&] {
        ++asked;
        return QStringLiteral("Cy");
    });
    return asked == 1 ? recording : TopTimeRecording {};
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

// Qt keeps one parsed copy of each settings file per process, unsaved changes included, and
// hands it to every store opened on that file. So a settings file is made, and read back, by
// a store under a name of its own; the store under test meets the file only through the disk.

/// The settings file of an earlier Random table: 1:00, 1:10 ... 1:40 by Ann, Bo, Cy, Di, Ed.
QByteArray earlierRandomTableFile()
{
    QTemporaryDir scratch;
    const QString path = scratch.filePath(QStringLiteral("Pellmoor.ini"));
    IniSettingsStore store(path);
    TopTimeTables tables = loadTopTimes(store);
    const QStringList names { "Ann", "Bo", "Cy", "Di", "Ed" };
    for (int place = 0; place < 5; ++place) {
        tables.tables[4].times[place]
            = QStringLiteral("1:%1").arg(place * 10, 2, 10, QLatin1Char('0'));
        tables.tables[4].names[place] = names[place];
    }
    saveTopTimes(store, tables);
    return store.save() ? fileBytes(path) : QByteArray();
}

/// The Random table a settings file holds.
TopTimeTable randomTableIn(const QByteArray& settingsFile)
{
    QTemporaryDir scratch;
    const QString path = scratch.filePath(QStringLiteral("Pellmoor.ini"));
    if (!writeFile(path, settingsFile)) {
        return {};
    }
    const IniSettingsStore store(path);
    return loadTopTimes(store).tables[4];
}

} // namespace

class BrokenStoresTest : public QObject
{
    Q_OBJECT

public:
    // Before the application starts any thread: a namespace of our own for the full disks.
    static void initMain() { enterOwnMountNamespace(); }

private slots:
    void initTestCase() { registerDesignFonts(); }
    void hugeClubFileOfRandomBytes_data();
    void hugeClubFileOfRandomBytes();
    void hugeClubFileOfMembers();
    void clubBoardReadsTheFileOncePerOpening();
    void clubFileTooLargeToShow();
    void clubTheAccountMayNotUse_data();
    void clubTheAccountMayNotUse();
    void topTimesTheAccountMayNotUse_data();
    void topTimesTheAccountMayNotUse();
    void joiningOnAFullDiskLeavesOnlyWholeLines();
    void topTimeOnAFullDiskKeepsTheEarlierTable_data();
    void topTimeOnAFullDiskKeepsTheEarlierTable();
};

void BrokenStoresTest::hugeClubFileOfRandomBytes_data()
{
    QTest::addColumn<bool>("decodable");

    QTest::newRow("any byte") << false;
    QTest::newRow("every byte at or above the offset") << true;
}

void BrokenStoresTest::hugeClubFileOfRandomBytes()
{
    // 50 MB of noise where the club file should be: read as whatever few records its lines
    // happen to hold, lines with bytes that are not ours skipped, and the board still opens and
    // closes.
    QFETCH(bool, decodable);

    QTemporaryDir dir;
    ClubFile club(dir.filePath(ClubFileName));
    QRandomGenerator random(decodable ? 20261208u : 19991231u);
    QVERIFY(writeInChunks(club.path(), FiftyMiB, [&] { return randomChunk(random, decodable); }));
    QCOMPARE(QFileInfo(club.path()).size(), FiftyMiB);

    QVERIFY(club.read().has_value());

    GameState globals;
    int boardRows = -1;
    QString heading = "<board not seen>";
    ModalDialogDriver driver;
    driver.then([&](QWidget* board) {
        boardRows = rows(board);
        heading = cell(board, 0, 0);
        clickChild(board, "Command3");
    });
    ClubBoard::showModal(nullptr, globals, club);
    QVERIFY(driver.closedByForce().isEmpty());
    // Headings over whatever members of Addition the noise happens to spell.
    QCOMPARE(heading, "Name");
    QVERIFY(boardRows >= 1);
    qInfo("50 MiB of random bytes: %d grid rows, peak resident %lld MiB", boardRows,
          peakResidentMiB());
}

void BrokenStoresTest::hugeClubFileOfMembers()
{
    // A club file grown to 50 MB of good lines is read whole: every member counted, the last
    // line's member found, and each type listed fastest first.
    struct Member
    {
        QString name;
        QString time;
        QString type;
    };
    // Per type a slower member first and a faster one second, so the board must reorder them.
    std::vector<Member> group;
    for (int type = 1; type <= 5; ++type) {
        group.push_back({ QString::fromUtf8("Slow Zoë %1").arg(type), "2:30", typeName(type) });
        group.push_back({ QString::fromUtf8("Fast 小明 %1").arg(type), "1:45", typeName(type) });
    }
    QByteArray groupBytes;
    for (const Member& member : group) {
        groupBytes += clubLine(member.name, member.time, member.type);
    }
    const Member last { "Last Ann", "0:59", typeName(1) };
    const QByteArray lastLine = clubLine(last.name, last.time, last.type);
    const qint64 groups = (FiftyMiB - lastLine.size() + groupBytes.size() - 1) / groupBytes.size();
    const qint64 fileSize = groups * groupBytes.size() + lastLine.size();

    QTemporaryDir dir;
    ClubFile club(dir.filePath(ClubFileName));
    const QByteArray chunk = groupBytes.repeated(ChunkBytes / groupBytes.size());
    qint64 left = fileSize - lastLine.size();
    QVERIFY(writeInChunks(club.path(), fileSize, [&]() -> QByteArray {
        if (left == 0) {
            return lastLine;
        }
        const QByteArray next = left >= chunk.size() ? chunk : chunk.left(left);
        left -= next.size();
        return next;
    }));
    QCOMPARE(QFileInfo(club.path()).size(), fileSize);
    QVERIFY(fileSize >= FiftyMiB);

    {
        const auto records = club.read();
        QVERIFY(records.has_value());
        QCOMPARE(static_cast<qint64>(records->size()), groups * 10 + 1);
        QCOMPARE(records->front(), (ClubRecord { group[0].name, group[0].time, group[0].type }));
        QCOMPARE((*records)[records->size() - 2],
                 (ClubRecord { group[9].name, group[9].time, group[9].type }));
        QCOMPARE(records->back(), (ClubRecord { last.name, last.time, last.type }));
    }

    GameState globals;
    globals.ProblemType = 1;
    const int perType = static_cast<int>(groups) * 2;
    const int half = static_cast<int>(groups);
    ModalDialogDriver driver;
    driver.then([&](QWidget* board) {
        // Addition: the last line's member first, then every fast one, then every slow one.
        QCOMPARE(rows(board), 1 + perType + 1);
        QCOMPARE(rowText(board, 0), "Name Time");
        QCOMPARE(rowText(board, 1), last.name + " 0:59");
        QCOMPARE(rowText(board, 2), group[1].name + " 1:45");
        QCOMPARE(rowText(board, 1 + half), group[1].name + " 1:45");
        QCOMPARE(rowText(board, 2 + half), group[0].name + " 2:30");
        QCOMPARE(rowText(board, 1 + perType), group[0].name + " 2:30");
        child<QComboBox>(board, "Combo1")->setCurrentIndex(4);
        QCOMPARE(rows(board), 1 + perType);
        QCOMPARE(rowText(board, 1), group[9].name + " 1:45");
        QCOMPARE(rowText(board, half), group[9].name + " 1:45");
        QCOMPARE(rowText(board, 1 + half), group[8].name + " 2:30");
        QCOMPARE(rowText(board, perType), group[8].name + " 2:30");
        clickChild(board, "Command3");
    });
    ClubBoard::showModal(nullptr, globals, club);
    QVERIFY(driver.finished());
    QVERIFY(driver.closedByForce().isEmpty());
    qInfo("%lld bytes, %lld members, %d of them Addition: peak resident %lld MiB", fileSize,
          groups * 10 + 1, perType + 1, peakResidentMiB());
}

void BrokenStoresTest::clubBoardReadsTheFileOncePerOpening()
{
    // The board reads the club file as it opens, and a change of type lists what was read then:
    // a club of any size switches types without reading it again.
    QTemporaryDir dir;
    ClubFile club(dir.filePath(ClubFileName));
    QVERIFY(club.SaveClubRecord(clubRecordText("Ann", "1:47", "Addition")));
    QVERIFY(club.SaveClubRecord(clubRecordText("Di", "2:10", "Division")));
    QVERIFY(club.SaveClubRecord(clubRecordText("Bo", "0:59", "Division")));

    GameState globals;
    globals.ProblemType = 1;
    ModalDialogDriver driver;
    driver.then([&](QWidget* board) {
        QCOMPARE(rows(board), 2);
        QCOMPARE(rowText(board, 1), "Ann 1:47");
        QVERIFY(QFile::remove(club.path()));
        child<QComboBox>(board, "Combo1")->setCurrentIndex(3);
        QCOMPARE(rows(board), 3);
        QCOMPARE(rowText(board, 0), "Name Time");
        QCOMPARE(rowText(board, 1), "Bo 0:59");
        QCOMPARE(rowText(board, 2), "Di 2:10");
        child<QComboBox>(board, "Combo1")->setCurrentIndex(0);
        QCOMPARE(rows(board), 2);
        QCOMPARE(rowText(board, 1), "Ann 1:47");
        clickChild(board, "Command3");
    });
    ClubBoard::showModal(nullptr, globals, club);
    QVERIFY(driver.finished());
    QVERIFY(driver.closedByForce().isEmpty());
}

void BrokenStoresTest::clubFileTooLargeToShow()
{
    // A club file beyond the board's size limit (here a sparse one, with a member at its start)
    // is not read: the player is told, and the board opens empty at once.
    QTemporaryDir dir;
    ClubFile club(dir.filePath(ClubFileName));
    QVERIFY(club.SaveClubRecord(clubRecordText("Ann", "1:47", "Addition")));
    QVERIFY(QFile::resize(club.path(), ClubListing::LargestFile + 1));

    GameState globals;
    QString message;
    int boardRows = -1;
    QString heading = "<board not seen>";
    const auto answer = [&](QWidget* dialog) {
        if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
            message = box->text();
            box->accept();
        } else {
            boardRows = rows(dialog);
            heading = cell(dialog, 0, 0);
            clickChild(dialog, "Command3");
        }
    };
    ModalDialogDriver driver;
    driver.then(answer);
    driver.then(answer);
    ClubBoard::showModal(nullptr, globals, club);
    QVERIFY(driver.finished());
    QVERIFY(driver.closedByForce().isEmpty());
    QCOMPARE(message, "The club list is too big to show.");
    QCOMPARE(driver.dialogsSeen(), QStringList({ "", "frmClub" }));
    QCOMPARE(boardRows, 2);
    QCOMPARE(heading, "");
}

void BrokenStoresTest::clubTheAccountMayNotUse_data()
{
    QTest::addColumn<int>("folderMode");
    QTest::addColumn<int>("fileMode");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<bool>("appendable");

    QTest::newRow("file without permissions") << 0700 << 0000 << false << false;
    QTest::newRow("read-only file") << 0700 << 0444 << true << false;
    QTest::newRow("write-only file") << 0700 << 0200 << false << true;
    QTest::newRow("folder without permissions") << 0000 << 0600 << false << false;
}

void BrokenStoresTest::clubTheAccountMayNotUse()
{
    // A club file the child's account may not read or write: a board finds no members where it
    // cannot read, a join that cannot be stored reports failure, and the file loses nothing.
    QFETCH(int, folderMode);
    QFETCH(int, fileMode);
    QFETCH(bool, readable);
    QFETCH(bool, appendable);

    QTemporaryDir dir;
    const QString folder = dir.filePath("club");
    QVERIFY(QDir().mkpath(folder));
    ClubFile club(folder + QLatin1Char('/') + ClubFileName);
    QVERIFY(club.SaveClubRecord(clubRecordText("Bo", "2:05", "Multiplication")));
    QVERIFY(club.SaveClubRecord(clubRecordText("Di", "1:10", "Division")));
    QVERIFY(club.SaveClubRecord(clubRecordText("Cy", "1:59", "Multiplication")));
    const QByteArray before = fileBytes(club.path());

    bool joined = false;
    {
        const auto restore = qScopeGuard([&] {
            changeMode(folder, 0700);
            changeMode(club.path(), 0600);
        });
        QVERIFY(changeMode(club.path(), static_cast<mode_t>(fileMode)));
        QVERIFY(changeMode(folder, static_cast<mode_t>(folderMode)));
        const PermissionBitsEnforced enforced;
        QVERIFY(enforced.inForce());
        QCOMPARE(canOpen(club.path(), QIODevice::ReadOnly), readable);
        QCOMPARE(canOpen(club.path(), QIODevice::WriteOnly | QIODevice::Append), appendable);

        ClubListing listing(QStringList { "Multiplication", "Division" });
        QCOMPARE(listing.load(club) == ClubListing::State::Read, readable);
        QCOMPARE(listing.memberCount(0), readable ? 2 : 0);
        joined = club.SaveClubRecord(clubRecordText("Ann", "2:47", "Multiplication"));
    }

    QCOMPARE(joined, appendable);
    QCOMPARE(fileBytes(club.path()),
             appendable ? before + clubLine("Ann", "2:47", "Multiplication") : before);
}

void BrokenStoresTest::topTimesTheAccountMayNotUse_data()
{
    QTest::addColumn<int>("folderMode");
    QTest::addColumn<int>("fileMode");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<bool>("appendable");
    QTest::addColumn<bool>("folderWritable");

    QTest::newRow("file without permissions") << 0700 << 0000 << false << false << true;
    QTest::newRow("read-only file") << 0700 << 0444 << true << false << true;
    QTest::newRow("write-only file") << 0700 << 0200 << false << true << true;
    QTest::newRow("read-only folder") << 0500 << 0600 << true << true << false;
}

void BrokenStoresTest::topTimesTheAccountMayNotUse()
{
    // A settings file the child's account may not read or write: a new top time that cannot be
    // saved reports failure, and the earlier table stays on disk as it was.
    QFETCH(int, folderMode);
    QFETCH(int, fileMode);
    QFETCH(bool, readable);
    QFETCH(bool, appendable);
    QFETCH(bool, folderWritable);

    QTemporaryDir dir;
    const QString folder = dir.filePath("config");
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/Pellmoor.ini");
    const QByteArray before = earlierRandomTableFile();
    QVERIFY(!before.isEmpty());
    QVERIFY(writeFile(path, before));

    TopTimeRecording recording;
    {
        const auto restore = qScopeGuard([&] {
            changeMode(folder, 0700);
            changeMode(path, 0600);
        });
        QVERIFY(changeMode(path, static_cast<mode_t>(fileMode)));
        QVERIFY(changeMode(folder, static_cast<mode_t>(folderMode)));
        const PermissionBitsEnforced enforced;
        QVERIFY(enforced.inForce());
        QCOMPARE(canOpen(path, QIODevice::ReadOnly), readable);
        QCOMPARE(canOpen(path, QIODevice::WriteOnly | QIODevice::Append), appendable);
        QCOMPARE(canCreateIn(folder), folderWritable);

        // Gone before the guard: a store saves once more when it is destroyed, and root could.
        IniSettingsStore store(path);
        recording = recordAFastRandomRun(store);
    }

    QCOMPARE(recording.slot, 0);
    QVERIFY(!recording.saved);
    QCOMPARE(fileBytes(path), before);
    QCOMPARE(folderEntries(folder), QStringList { "Pellmoor.ini" });
}

void BrokenStoresTest::joiningOnAFullDiskLeavesOnlyWholeLines()
{
    // A disk that takes the first bytes of a new member's line and no more: the file is cut
    // back to its whole lines, the join reports failure, and the next join after space is freed
    // follows the old lines cleanly.
    QTemporaryDir dir;
    const QString diskFolder = dir.filePath("disk");
    QVERIFY(QDir().mkpath(diskFolder));
    const TmpfsMount disk(diskFolder, 256 * 1024);
    if (disk.error() == EPERM) {
        QSKIP("This process may neither mount a tmpfs nor enter a user namespace to do so");
    }
    QVERIFY2(disk.mounted(), std::strerror(disk.error()));
    const qint64 page = static_cast<qint64>(diskFigures(diskFolder).f_bsize);

    // Members of every type, until the last page of the file has fewer bytes free than the line
    // "Ann" will need, but some.
    ClubFile club(diskFolder + QLatin1Char('/') + ClubFileName);
    const QByteArray joinLine = clubLine("Ann", "2:47", "Multiplication");
    int multiplication = 0;
    qint64 slack = 0;
    for (int member = 0; member < 2000 && (slack <= 0 || slack >= joinLine.size()); ++member) {
        const int type = member % 5 + 1;
        const QString time = QStringLiteral("2:%1").arg(member % 60, 2, 10, QLatin1Char('0'));
        QVERIFY(club.SaveClubRecord(
            clubRecordText(QStringLiteral("Member %1").arg(member), time, typeName(type))));
        multiplication += type == 3 ? 1 : 0;
        slack = (page - QFileInfo(club.path()).size() % page) % page;
    }
    QVERIFY2(slack > 0 && slack < joinLine.size(), "no club size left a short last page");
    const QByteArray before = fileBytes(club.path());

    QVERIFY(fillDisk(diskFolder));
    QCOMPARE(bytesTheDiskTakes(club.path(), joinLine), slack);
    QCOMPARE(fileBytes(club.path()), before);

    QVERIFY(!club.SaveClubRecord(clubRecordText("Ann", "2:47", "Multiplication")));
    QCOMPARE(fileBytes(club.path()), before);
    ClubListing listing(QStringList { "Multiplication" });
    QCOMPARE(listing.load(club), ClubListing::State::Read);
    QCOMPARE(listing.memberCount(0), multiplication);

    QVERIFY(QFile::remove(diskFolder + QStringLiteral("/filler")));
    QVERIFY(club.SaveClubRecord(clubRecordText("Ann", "2:47", "Multiplication")));
    QCOMPARE(fileBytes(club.path()), before + joinLine);
    qInfo("club of %lld bytes, %lld bytes short of a whole page, on a %lld-byte page disk",
          static_cast<qint64>(before.size()), slack, page);
}

void BrokenStoresTest::topTimeOnAFullDiskKeepsTheEarlierTable_data()
{
    QTest::addColumn<bool>("earlierTable");

    QTest::newRow("earlier table") << true;
    QTest::newRow("first top time ever") << false;
}

void BrokenStoresTest::topTimeOnAFullDiskKeepsTheEarlierTable()
{
    // A new top time on a full disk reports that it was not saved; the settings are replaced whole
    // or not at all, so the earlier table still reads back and no half-written file is left.
    QFETCH(bool, earlierTable);

    QTemporaryDir dir;
    const QString diskFolder = dir.filePath("disk");
    QVERIFY(QDir().mkpath(diskFolder));
    const TmpfsMount disk(diskFolder, 256 * 1024);
    if (disk.error() == EPERM) {
        QSKIP("This process may neither mount a tmpfs nor enter a user namespace to do so");
    }
    QVERIFY2(disk.mounted(), std::strerror(disk.error()));

    const QString path = diskFolder + QStringLiteral("/Pellmoor.ini");
    const QByteArray earlier = earlierTable ? earlierRandomTableFile() : QByteArray();
    if (earlierTable) {
        QVERIFY(!earlier.isEmpty());
        QVERIFY(writeFile(path, earlier));
    }
    const QStringList entriesBefore = folderEntries(diskFolder);
    QVERIFY(fillDisk(diskFolder));

    TopTimeRecording recording;
    {
        IniSettingsStore store(path);
        recording = recordAFastRandomRun(store);
    }
    QCOMPARE(recording.slot, 0);
    QVERIFY(!recording.saved);
    // No temporary or lock file left behind, and no settings file where there was none.
    QCOMPARE(folderEntries(diskFolder), QStringList(entriesBefore + QStringList { "filler" }));
    if (earlierTable) {
        const QByteArray after = fileBytes(path);
        QCOMPARE(after, earlier);
        const TopTimeTable random = randomTableIn(after);
        QCOMPARE(random.times[0], "1:00");
        QCOMPARE(random.names[0], "Ann");
        QCOMPARE(random.times[4], "1:40");
        QCOMPARE(random.names[4], "Ed");
    }
}

QTEST_MAIN(BrokenStoresTest)
#include "BrokenStoresTest.moc"
