// The records of a test or a benchmark: the settings file and the club file in a temporary folder.
#pragma once

#include "records/RecordFiles.h"

#include <QTemporaryDir>

class TempRecords
{
public:
    QTemporaryDir dir;
    RecordFiles files { dir.path() };
    IniSettingsStore& topTimes = files.topTimes;
    ClubFile& club = files.club;

    RecordStores stores() { return files.stores(); }
    const QString& folder() const { return files.folder(); }
};
