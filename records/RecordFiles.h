// The records' two files, owned together: the top-times settings file and the club file.
#pragma once

#include "records/ClubFile.h"
#include "records/RecordStores.h"
#include "records/SettingsStore.h"

#include <QDir>

/// The stores the game reads and writes, in the user's own places or in a folder of one's choice
/// (tests and benchmarks use a temporary one).
class RecordFiles
{
public:
    /// The user's settings file and the club file where the game keeps it.
    RecordFiles()
        : club(ClubFile::defaultPath())
    {
    }
    /// Pellmoor.ini and the club file in the given folder.
    explicit RecordFiles(const QString& folder)
        : topTimes(QDir(folder).filePath(QStringLiteral("Pellmoor.ini")))
        , club(QDir(folder).filePath(ClubFileName))
        , m_folder(folder)
    {
    }

    RecordStores stores() { return RecordStores { topTimes, club }; }
    /// The folder given, where the game's other files go too; empty for the user's own places.
    const QString& folder() const { return m_folder; }

    IniSettingsStore topTimes;
    ClubFile club;

private:
    QString m_folder;
};
