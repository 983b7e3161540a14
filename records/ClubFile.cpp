// The club file: one encoded line per membership, appended whole and read back as records.
#include "records/ClubFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringDecoder>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

QString cleanClubName(const QString& name)
{
    QString clean;
    clean.reserve(name.size());
    for (QChar c : name) {
        if (c.category() == QChar::Other_Control) {
            continue;
        }
        clean += c == QLatin1Char('|') ? QChar(0x00A6) : c;
    }
    return clean;
}

/// A file descriptor closed when it goes.
class Descriptor
{
public:
    explicit Descriptor(int fd)
        : m_fd(fd)
    {
    }
    ~Descriptor()
    {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }

private:
    int m_fd;
};

/// Opens without ever waiting on the file's type: a FIFO nobody reads would otherwise hold the
/// game until someone does. Only a plain file is kept open.
int openPlainFile(const QString& path, int flags)
{
    const int fd = ::open(QFile::encodeName(path).constData(),
                          flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0) {
        return -1;
    }
    struct stat status = {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    // Plain files never block; reads and writes behave as without the flag from here on.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

qint64 fileSize(int fd)
{
    struct stat status = {};
    return ::fstat(fd, &status) == 0 ? static_cast<qint64>(status.st_size) : -1;
}

/// The club file's lock, shared by every copy of the game: another copy appending holds it for
/// milliseconds, so it is waited for, but never for longer than ClubLockWaitMs.
class AppendLock
{
public:
    explicit AppendLock(int fd)
        : m_fd(fd)
    {
        const auto deadline
            = std::chrono::steady_clock::now() + std::chrono::milliseconds(ClubLockWaitMs);
        for (;;) {
            if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
                m_held = true;
                return;
            }
            if (errno == EINTR) {
                continue;
            }
            if (errno != EWOULDBLOCK) {
                // A file system without locks: appended unlocked, as before there were any.
                m_unsupported = true;
                return;
            }
            if (std::chrono::steady_clock::now() >= deadline) {
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    ~AppendLock()
    {
        if (m_held) {
            ::flock(m_fd, LOCK_UN);
        }
    }
    AppendLock(const AppendLock&) = delete;
    AppendLock& operator=(const AppendLock&) = delete;

    /// True when appending may go ahead: the lock is ours, or the file system has none.
    bool mayAppend() const { return m_held || m_unsupported; }

private:
    int m_fd;
    bool m_held = false;
    bool m_unsupported = false;
};

/// True when the file's last byte ends a line (or the file is empty); also true when the file
/// cannot be read back (opened write-only), as nothing better is known.
bool endsWithLineEnd(int fd, qint64 size, bool readable)
{
    if (size == 0 || !readable) {
        return true;
    }
    char last = 0;
    ssize_t got = 0;
    do {
        got = ::pread(fd, &last, 1, static_cast<off_t>(size - 1));
    } while (got < 0 && errno == EINTR);
    return got != 1 || last == '\n';
}

/// Writes all the bytes, going on after a write that took only some; false at the first error.
bool writeAll(int fd, QByteArrayView bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written
            = ::write(fd, bytes.data() + done, static_cast<size_t>(bytes.size() - done));
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        done += written;
    }
    return true;
}

bool thisUserMayWrite(const QString& path)
{
    // The effective user's rights, as an open for writing would meet them.
    return ::faccessat(AT_FDCWD, QFile::encodeName(path).constData(), W_OK, AT_EACCESS) == 0;
}

} // namespace

QString clubRecordText(const QString& name, const QString& time, const QString& type)
{
    return cleanClubName(name) + ClubSeparator + time + ClubSeparator + type + ClubSeparator;
}

QByteArray EncodeClubText(const QString& text)
{
    QByteArray bytes = text.toUtf8();
    for (char& byte : bytes) {
        byte = static_cast<char>(static_cast<unsigned char>(byte) + ClubOffset);
    }
    return bytes;
}

std::optional<QString> DecodeClubText(QByteArrayView encoded)
{
    QByteArray bytes(encoded.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < encoded.size(); ++i) {
        const int value = static_cast<unsigned char>(encoded[i]) - ClubOffset;
        if (value < 0) {
            return std::nullopt;
        }
        bytes[i] = static_cast<char>(value);
    }
    return QString::fromUtf8(bytes);
}

ClubLineReader::ClubLineReader(RecordSink sink)
    : m_sink(std::move(sink))
{
}

void ClubLineReader::feed(QByteArrayView bytes)
{
    while (!bytes.isEmpty()) {
        const char* const lineFeed = static_cast<const char*>(
            std::memchr(bytes.data(), '\n', static_cast<size_t>(bytes.size())));
        if (lineFeed == nullptr) {
            // The line goes on in the next chunk; only as much as a record can be is kept.
            if (!m_skipping && m_partial.size() + bytes.size() <= ClubLongestLine) {
                m_partial += bytes;
            } else {
                m_skipping = true;
                m_partial.clear();
            }
            return;
        }
        const qsizetype end = lineFeed - bytes.data();
        if (m_skipping || m_partial.size() + end > ClubLongestLine) {
            m_firstLine = false;
        } else if (m_partial.isEmpty()) {
            takeLine(bytes.first(end));
        } else {
            m_partial += bytes.first(end);
            takeLine(m_partial);
        }
        m_partial.clear();
        m_skipping = false;
        bytes = bytes.sliced(end + 1);
    }
}

void ClubLineReader::finish()
{
    if (!m_skipping && !m_partial.isEmpty()) {
        takeLine(m_partial);
    }
    m_partial.clear();
    m_skipping = false;
}

void ClubLineReader::takeLine(QByteArrayView line)
{
    if (line.endsWith('\r')) {
        line.chop(1);
    }
    if (line.isEmpty()) {
        return;
    }
    // Lines were once read joined into one text, decoded whole, so only the file's first bytes
    // could lose a byte-order mark; each line is decoded the same way still.
    const bool firstLine = m_firstLine;
    m_firstLine = false;

    m_bytes.resize(line.size());
    char* out = m_bytes.data();
    for (const char byte : line) {
        const int value = static_cast<unsigned char>(byte) - ClubOffset;
        if (value < 0) {
            return; // not a line of ours
        }
        *out++ = static_cast<char>(value);
    }
    QStringDecoder decoder(QStringDecoder::Utf8,
                           firstLine ? QStringConverter::Flag::Stateless
                                     : QStringConverter::Flag::Stateless
                                   | QStringConverter::Flag::ConvertInitialBom);
    m_text.resize(decoder.requiredSpace(m_bytes.size()));
    const QChar* const textEnd = decoder.appendToBuffer(m_text.data(), m_bytes);
    const QStringView text(m_text.constData(), textEnd - m_text.constData());

    // Exactly three fields, each followed by the separator, and nothing after the third. Each
    // separator is the first whole "^|^" after the one before, as a text search finds it.
    QStringView fields[3];
    qsizetype start = 0;
    for (QStringView& field : fields) {
        qsizetype found = start;
        while (found + 2 < text.size()
               && (text[found] != u'^' || text[found + 1] != u'|' || text[found + 2] != u'^')) {
            ++found;
        }
        if (found + 2 >= text.size()) {
            return;
        }
        field = text.sliced(start, found - start);
        start = found + 3;
    }
    if (start != text.size()) {
        return;
    }
    m_sink(fields[0], fields[1], fields[2]);
}

std::vector<ClubRecord> readClubRecords(QByteArrayView contents)
{
    std::vector<ClubRecord> records;
    ClubLineReader reader([&records](QStringView name, QStringView time, QStringView type) {
        records.push_back({ name.toString(), time.toString(), type.toString() });
    });
    reader.feed(contents);
    reader.finish();
    return records;
}

QString chooseClubFilePath(const QString& programFolder, const QString& userDataFolder,
                           bool fileBesideProgram, bool fileBesideWritable,
                           bool programFolderWritable)
{
    const bool besideProgram = fileBesideProgram ? fileBesideWritable : programFolderWritable;
    return QDir(besideProgram ? programFolder : userDataFolder).filePath(ClubFileName);
}

QString findClubFilePath(const QString& programFolder, const QString& userDataFolder)
{
    const QString beside = QDir(programFolder).filePath(ClubFileName);
    return chooseClubFilePath(programFolder, userDataFolder, QFileInfo::exists(beside),
                              thisUserMayWrite(beside), thisUserMayWrite(programFolder));
}

ClubFile::ClubFile(QString path)
    : m_path(std::move(path))
{
}

QString ClubFile::defaultPath()
{
    return findClubFilePath(QCoreApplication::applicationDirPath(),
                            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

bool ClubFile::SaveClubRecord(const QString& record)
{
    // The whole line is encoded first and written with one call.
    const QByteArray line = EncodeClubText(record) + QByteArrayLiteral("\r\n");
    QDir().mkpath(QFileInfo(m_path).absolutePath());

    // Read access too, to see how the file ends; a file this user may only write is appended
    // to without looking.
    bool readable = true;
    int fd = openPlainFile(m_path, O_RDWR | O_APPEND | O_CREAT);
    if (fd < 0 && errno == EACCES) {
        readable = false;
        fd = openPlainFile(m_path, O_WRONLY | O_APPEND | O_CREAT);
    }
    const Descriptor file(fd);
    if (!file.isOpen()) {
        return false;
    }

    // One copy of the game at a time: while the lock is held no other copy appends, so the
    // size now is where this line begins and all that a failure may cut back to.
    const AppendLock lock(file.get());
    if (!lock.mayAppend()) {
        return false;
    }
    const qint64 sizeBefore = fileSize(file.get());
    if (sizeBefore < 0) {
        return false;
    }
    // A game killed between a short write and cutting it back leaves half a line; this record
    // starts a line of its own, and the reader skips the half line alone.
    const QByteArray bytes = endsWithLineEnd(file.get(), sizeBefore, readable)
        ? line
        : QByteArrayLiteral("\r\n") + line;

    // A full disk takes part of the line; that part is cut back off. On disk before the player
    // is told they are in the club.
    if (writeAll(file.get(), bytes) && ::fsync(file.get()) == 0) {
        return true;
    }
    // Cut back only when the file ends with this line's bytes alone; a copy of the game that
    // does not lock could have appended behind them, and its line is not ours to cut.
    const qint64 sizeAfter = fileSize(file.get());
    if (sizeAfter >= sizeBefore && sizeAfter <= sizeBefore + bytes.size()) {
        [[maybe_unused]] const int cut = ::ftruncate(file.get(), static_cast<off_t>(sizeBefore));
    }
    return false;
}

ClubFile::ReadResult ClubFile::stream(const ClubLineReader::RecordSink& sink,
                                      qint64 largestSize) const
{
    const Descriptor file(openPlainFile(m_path, O_RDONLY));
    if (!file.isOpen()) {
        return ReadResult::Unreadable;
    }
    if (fileSize(file.get()) > largestSize) {
        return ReadResult::TooLarge;
    }
    ClubLineReader reader(sink);
    QByteArray chunk(1024 * 1024, Qt::Uninitialized);
    for (;;) {
        const ssize_t got = ::read(file.get(), chunk.data(), static_cast<size_t>(chunk.size()));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return ReadResult::Unreadable;
        }
        if (got == 0) {
            break;
        }
        reader.feed(QByteArrayView(chunk.constData(), got));
    }
    reader.finish();
    return ReadResult::Read;
}

std::optional<std::vector<ClubRecord>> ClubFile::read() const
{
    std::vector<ClubRecord> records;
    const ReadResult result
        = stream([&records](QStringView name, QStringView time, QStringView type) {
              records.push_back({ name.toString(), time.toString(), type.toString() });
          });
    if (result != ReadResult::Read) {
        return std::nullopt;
    }
    return records;
}
