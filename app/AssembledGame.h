// The one place the game is put together: its state, its collaborators and the main window.
#pragma once

#include "app/GameFacts.h"
#include "app/MainWindow.h"
#include "engine/GameState.h"
#include "web/SiteAddress.h"

#include <utility>

/// Everything the game is made of, owned together, with the main window built over the rest.
/// The game itself takes the real collaborators (see RealGame in main.cpp); tests and benchmarks
/// choose their own random source, stopwatch, records and desktop, and build it the same way.
/// The arguments given go to the records. The maker's site is read from the records' settings
/// once, as the game is built: the built-in address unless they name another the game takes.
template<typename Random, typename Stopwatch, typename Records, typename Browser,
         typename SystemInfo>
struct AssembledGame
{
    template<typename... RecordsArguments>
    explicit AssembledGame(RecordsArguments&&... recordsArguments)
        : records(std::forward<RecordsArguments>(recordsArguments)...)
    {
    }

    GameState basGlobals;
    Random random;
    Stopwatch runClock;
    Records records;
    Browser browser;
    SystemInfo systemInfo;
    GameFacts facts { records.topTimes, records.folder() };
    const WebSite site { chooseSiteAddress(
                             records.topTimes.readWithSystemFallback(SiteAddressKey, QString())),
                         browser };
    MainWindow frmMain { basGlobals,       random,        runClock,
                         records.stores(), facts.history, DesktopServices { site, systemInfo } };
};
