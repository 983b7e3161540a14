// Sumdash! starts here: the splash first, then the game as it ships.
#include "app/ApplicationSetup.h"
#include "app/RealGame.h"
#include "app/SplashWindow.h"
#include "assets/DesignFonts.h"

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

    RealGame game;
    game.frmMain.Form_Load(frmLogo);
    return QApplication::exec();
}
