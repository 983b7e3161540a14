// The per-user settings store the top-five tables live in: read with a default, write, save.
#include "records/SettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <sys/stat.h>

namespace {

const QString Section = QStringLiteral("Sumdash");
const QString Organisation = QStringLiteral("Pellmoor");

/// How long an update waits for another copy of the game that is saving its own time: that
/// takes milliseconds, so a longer wait means something is wrong, and the player is told.
constexpr int LockWaitMs = 5000;

QString userStorePath()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, Organisation, Organisation)
        .fileName();
}

/// Which file is at path: QSettings saves by writing a new file and renaming it over the old
/// one, so a save that reached the disk leaves another file there.
struct FileIdentity
{
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

FileIdentity identify(const QString& path)
{
    struct stat status
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &status) != 0) {
        return {};
    }
    return { true, status.st_dev, status.st_ino };
}

} // namespace

IniSettingsStore::IniSettingsStore()
    : IniSettingsStore(userStorePath())
{
    m_usersOwn = true;
}

IniSettingsStore::IniSettingsStore(const QString& filePath)
    : m_path(filePath)
    , m_settings(std::make_unique<QSettings>(filePath, QSettings::IniFormat))
{
}

QString IniSettingsStore::read(const QString& key, const QString& defaultValue) const
{
    return m_settings->value(Section + QLatin1Char('/') + key, defaultValue).toString();
}

QString IniSettingsStore::readWithSystemFallback(const QString& key,
                                                 const QString& defaultValue) const
{
    if (!m_usersOwn) {
        return read(key, defaultValue);
    }
    // The user's own file, read by QSettings with its fallbacks on: where the file lacks the key,
    // the system-wide files of the same name are read.
    const QSettings settings(QSettings::IniFormat, QSettings::UserScope, Organisation,
                             Organisation);
    return settings.value(Section + QLatin1Char('/') + key, defaultValue).toString();
}

void IniSettingsStore::write(const QString& key, const QString& value)
{
    m_settings->setValue(Section + QLatin1Char('/') + key, value);
}

// QSettings keeps the first error it met for good, also one from reading a file it could use
// all the same (a byte-order mark, a comment line), so its status cannot say whether this save
// worked. What is on disk can: a save that worked has put a new file in the old one's place.
bool IniSettingsStore::save()
{
    const FileIdentity before = identify(m_path);
    m_settings->sync();
    const FileIdentity after = identify(m_path);
    return after.exists && after != before;
}

void IniSettingsStore::refresh()
{
    // A new QSettings reads the file again when it changed on disk since it was last read.
    m_settings.reset();
    m_settings = std::make_unique<QSettings>(m_path, QSettings::IniFormat);
}

bool IniSettingsStore::update(const std::function<void(SettingsStore&)>& change)
{
    // QSettings holds "<file>.lock" only while it writes; this lock spans reading, changing and
    // writing, so two copies of the game never write tables each read before the other saved.
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QLockFile lock(m_path + QStringLiteral(".update.lock"));
    if (!lock.tryLock(LockWaitMs) && lock.error() == QLockFile::LockFailedError) {
        return false;
    }
    // Where not even the lock can be made (a folder the account may not write, a full disk),
    // the store cannot be saved either: the change is made all the same, and the save fails
    // and says so.
    refresh();
    change(*this);
    return save();
}
