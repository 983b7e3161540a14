// Starting the system's own system-information program from the about box.
#pragma once

#include <QString>
#include <QStringList>

/// One launcher per platform; this machine's looks on the PATH. A launcher that reads where
/// another platform records its tool belongs beside this one, behind the same interface.
class SystemInfoLauncher
{
public:
    virtual ~SystemInfoLauncher() = default;
    /// Starts the tool as a separate program and returns at once; false when there is none or
    /// it could not be started.
    virtual bool start() = 0;
};

/// The first of the usual Linux system-information programs found on the PATH, started
/// detached: "kinfocenter", "hardinfo", "lshw-gtk", "gnome-system-monitor".
class PathSystemInfoLauncher final : public SystemInfoLauncher
{
public:
    static const QStringList& candidates();

    /// The full path of the program that would be started, or an empty text.
    static QString findProgram();

    bool start() override;
};
