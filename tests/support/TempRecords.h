// The records stores of a test: a top-times INI file and a club file in a temporary folder.
#pragma once

#include "records/ClubFile.h"
#include "records/RecordStores.h"
#include "records/SettingsStore.h"

#include <QTemporaryDir>

struct TempRecords
{
    QTemporaryDir dir;
    IniSettingsStore topTimes { dir.filePath(QStringLiteral("Pellmoor.ini")) };
    ClubFile club { dir.filePath(ClubFileName) };

    RecordStores stores() { return RecordStores { topTimes, club }; }
};
