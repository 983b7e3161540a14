// The club file: one encoded line per membership, appended whole and read back as records.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <functional>
#include <limits>
#include <optional>
#include <vector>

/// Added to every byte of a record when it is stored; files are readable only with the offset
/// that wrote them, so it never changes.
inline constexpr int ClubOffset = 7;

inline const QString ClubSeparator = QStringLiteral("^|^");
inline const QString ClubFileName = QStringLiteral("SumdashClub.sdc");

/// The longest line read as a record. The game's lines are a hundred-odd bytes at most (a name
/// of twenty characters); a longer line is skipped unread, so a file with no line ends at all
/// is never held in memory.
inline constexpr qsizetype ClubLongestLine = 64 * 1024;

/// How long a join waits for another copy of the game that is appending to the same file. A
/// join takes milliseconds; a lock held longer belongs to something stuck, and the join fails.
inline constexpr int ClubLockWaitMs = 3000;

struct ClubRecord
{
    QString name;
    QString time;
    QString type;
    friend bool operator==(const ClubRecord&, const ClubRecord&) = default;
};

/// The record text of a membership: name, time and type, each followed by "^|^". Control
/// characters are dropped from the name and "|" becomes "¦", so no name can add a line or a
/// field separator and shift the records after it.
QString clubRecordText(const QString& name, const QString& time, const QString& type);

/// Each byte of the text's UTF-8 form plus the club offset. UTF-8 bytes never pass 0xF4, so
/// every name in every script can be stored.
QByteArray EncodeClubText(const QString& text);

/// The inverse of EncodeClubText; nothing when a byte is below the offset (not our file).
std::optional<QString> DecodeClubText(QByteArrayView encoded);

/// Cuts a club file's bytes into lines and hands on every line that holds exactly one whole
/// record: name, time and type, each followed by "^|^", and nothing more. A line ends at a line
/// feed, with the carriage return before it. Any other line (half a line left by a game killed
/// while it wrote, bytes that are not ours, a line with a separator too many) is skipped on its
/// own, so the records after it are read as if it were not there. The bytes may come in chunks
/// of any size; the result is the same.
class ClubLineReader
{
public:
    using RecordSink = std::function<void(QStringView name, QStringView time, QStringView type)>;

    explicit ClubLineReader(RecordSink sink);

    void feed(QByteArrayView bytes);
    /// The end of the bytes: a last line without a line end is read too.
    void finish();

private:
    void takeLine(QByteArrayView line);

    RecordSink m_sink;
    QByteArray m_partial; ///< the start of a line whose end is in a later chunk
    bool m_skipping = false; ///< inside a line longer than any record
    bool m_firstLine = true; ///< a byte-order mark is dropped from the file's first line only
    QByteArray m_bytes; ///< the decoded bytes of the line being read
    QString m_text; ///< and their text
};

/// The records of a file's whole contents, in file order, by the rules of ClubLineReader.
std::vector<ClubRecord> readClubRecords(QByteArrayView contents);

/// Where the club file lives: beside the program where this user can write it there (the file
/// itself when it is there, else the folder it would be made in); otherwise in the user's data
/// folder. A file beside the program that someone else made (root, once) is left to them.
QString chooseClubFilePath(const QString& programFolder, const QString& userDataFolder,
                           bool fileBesideProgram, bool fileBesideWritable,
                           bool programFolderWritable);

/// chooseClubFilePath with this user's rights on the folders given, as they are now.
QString findClubFilePath(const QString& programFolder, const QString& userDataFolder);

/// The club file at one path: appending a membership, reading the members.
class ClubFile
{
public:
    enum class ReadResult {
        Read,
        Unreadable, ///< missing, not a plain file, or not ours to read
        TooLarge, ///< larger than the size asked for; nothing was read
    };

    explicit ClubFile(QString path);

    /// The game's club file, by the rule of chooseClubFilePath.
    static QString defaultPath();

    const QString& path() const { return m_path; }

    /// Appends one record as one line, in one write unless the system takes only part of it.
    /// False when it could not be stored: the file is not a plain file (a FIFO or a device is
    /// refused without waiting on it), another copy of the game kept it locked for
    /// ClubLockWaitMs, or the disk took only part of the line, which is then cut back off.
    /// Copies of the game append one at a time, and a line left unfinished by a killed game is
    /// ended first, so the new record always starts a line of its own.
    bool SaveClubRecord(const QString& record);

    /// Every record in file order; nothing when the file is missing or unreadable.
    std::optional<std::vector<ClubRecord>> read() const;

    /// Reads the file in chunks, handing each record to the sink; a file larger than
    /// `largestSize` is not read at all.
    ReadResult stream(const ClubLineReader::RecordSink& sink,
                      qint64 largestSize = std::numeric_limits<qint64>::max()) const;

private:
    QString m_path;
};
