// The club file: one encoded line per membership, appended whole and read back as records.
#include "records/ClubFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <fcntl.h>
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

std::optional<std::vector<ClubRecord>> readClubRecords(QByteArrayView contents)
{
    // Lines are joined by dropping every carriage-return line-feed pair, as they were written.
    QByteArray joined;
    joined.reserve(contents.size());
    for (qsizetype i = 0; i < contents.size(); ++i) {
        if (contents[i] == '\r' && i + 1 < contents.size() && contents[i + 1] == '\n') {
            ++i;
            continue;
        }
        joined += contents[i];
    }
    const std::optional<QString> text = DecodeClubText(joined);
    if (!text) {
        return std::nullopt;
    }

    std::vector<QStringView> fields;
    if (!text->isEmpty()) {
        const QStringView all(*text);
        qsizetype start = 0;
        for (qsizetype found = all.indexOf(ClubSeparator); found >= 0;
             found = all.indexOf(ClubSeparator, start)) {
            fields.push_back(all.sliced(start, found - start));
            start = found + ClubSeparator.size();
        }
        fields.push_back(all.sliced(start));
    }

    // A well-formed file of k records gives 3k + 1 fields, the last one empty. A damaged file
    // may end in a partial record; only whole ones are delivered.
    std::vector<ClubRecord> records;
    records.reserve(fields.size() / 3);
    for (std::size_t first = 0; first + 2 < fields.size(); first += 3) {
        records.push_back({ fields[first].toString(), fields[first + 1].toString(),
                            fields[first + 2].toString() });
    }
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
    // The whole line is encoded first and written with one call; a short write (a full disk)
    // is cut back off, so the file only ever grows by whole lines.
    const QByteArray line = EncodeClubText(record) + QByteArrayLiteral("\r\n");
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        return false;
    }
    const qint64 sizeBefore = file.size();
    const qint64 written = file.write(line);
    if (written != line.size()) {
        file.resize(sizeBefore);
        return false;
    }
    // On disk before the player is told they are in the club.
    if (::fsync(file.handle()) != 0) {
        file.resize(sizeBefore);
        return false;
    }
    return true;
}

std::optional<std::vector<ClubRecord>> ClubFile::read() const
{
    QFile file(m_path);
    if (!QFileInfo(m_path).isFile() || !file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const QByteArray contents = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return std::nullopt;
    }
    return readClubRecords(contents);
}
