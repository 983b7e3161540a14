// The game as it ships: the real random source, stopwatch, records, browser and system tools.
#pragma once

#include "app/AssembledGame.h"
#include "app/DesktopBrowser.h"
#include "app/SystemInfoLauncher.h"
#include "engine/ClockSeededRandom.h"
#include "engine/RunClock.h"
#include "records/RecordFiles.h"

/// Its records in the user's own places by default, or in a given folder (the benchmarks').
using RealGame = AssembledGame<ClockSeededRandom, SteadyRunClock, RecordFiles, DesktopBrowser,
                               PathSystemInfoLauncher>;
