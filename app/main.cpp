// Sumdash! starts here: the one place that builds the real collaborators.
#include "app/DesktopBrowser.h"
#include "app/MainWindow.h"
#include "app/SystemInfoLauncher.h"
#include "assets/ArtIcons.h"
#include "assets/DesignFonts.h"
#include "engine/ClockSeededRandom.h"
#include "engine/GameState.h"
#include "engine/RunClock.h"
#include "records/ClubFile.h"
#include "records/SettingsStore.h"

#include <QApplication>
#include <QStyleFactory>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Pellmoor"));
    QApplication::setApplicationName(QStringLiteral("Sumdash"));
    // One style and our own fonts, so the game looks the same on every desktop.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    registerDesignFonts();
    QApplication::setWindowIcon(applicationIcon());

    GameState basGlobals;
    ClockSeededRandom random;
    SteadyRunClock runClock;
    IniSettingsStore topTimes;
    ClubFile club(ClubFile::defaultPath());
    DesktopBrowser browser;
    PathSystemInfoLauncher systemInfo;
    MainWindow frmMain(basGlobals, random, runClock, RecordStores { topTimes, club },
                       DesktopServices { browser, systemInfo });
    frmMain.Form_Load(MainWindow::Splash::Show);
    return QApplication::exec();
}
