// The two stores of records a window may read or write, handed down from main.cpp.
#pragma once

class ClubFile;
class SettingsStore;

struct RecordStores
{
    SettingsStore& topTimes;
    ClubFile& club;
};
