// Sumdash! starts here: the one place that builds the real collaborators.
#include "app/ApplicationSetup.h"
#include "app/DesktopBrowser.h"
#include "app/MainWindow.h"
#include "app/SplashWindow.h"
#include "app/SystemInfoLauncher.h"
#include "assets/DesignFonts.h"
#include "engine/ClockSeededRandom.h"
#include "engine/GameState.h"
#include "engine/RunClock.h"
#include "records/ClubFile.h"
#include "records/SettingsStore.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    setUpApplication();
    // The splash is on screen before anything else is loaded or built: the game starts at once,
    // and the rest is made ready while the splash shows.
    SplashWindow frmLogo;
    frmLogo.showAtOnce();
    registerDesignFonts();

    GameState basGlobals;
    ClockSeededRandom random;
    SteadyRunClock runClock;
    IniSettingsStore topTimes;
    ClubFile club(ClubFile::defaultPath());
    DesktopBrowser browser;
    PathSystemInfoLauncher systemInfo;
    MainWindow frmMain(basGlobals, random, runClock, RecordStores { topTimes, club },
                       DesktopServices { browser, systemInfo });
    frmMain.Form_Load(frmLogo);
    return QApplication::exec();
}
