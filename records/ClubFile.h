// The club file: one encoded line per membership, appended whole and read back as records.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

/// Added to every byte of a record when it is stored; files are readable only with the offset
/// that wrote them, so it never changes.
inline constexpr int ClubOffset = 7;

inline const QString ClubSeparator = QStringLiteral("^|^");
inline const QString ClubFileName = QStringLiteral("SumdashClub.sdc");

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

/// The records of a file's whole contents: line ends removed, decoded, cut at "^|^". Only
/// complete records are delivered; nothing when the contents cannot be decoded.
std::optional<std::vector<ClubRecord>> readClubRecords(QByteArrayView contents);

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
    explicit ClubFile(QString path);

    /// The game's club file, by the rule of chooseClubFilePath.
    static QString defaultPath();

    const QString& path() const { return m_path; }

    /// Appends one record as one line in a single write. False when it could not be stored;
    /// the file is then left exactly as it was, never with half a line.
    bool SaveClubRecord(const QString& record);

    /// Every complete record in file order; nothing when the file is missing or unreadable.
    std::optional<std::vector<ClubRecord>> read() const;

private:
    QString m_path;
};
