// How the game sets up its application object: names, style, fonts and icon.
#include "app/ApplicationSetup.h"

#include "assets/ArtIcons.h"
#include "assets/DesignFonts.h"

#include <QApplication>
#include <QStyleFactory>

bool setUpApplication()
{
    QApplication::setOrganizationName(QStringLiteral("Pellmoor"));
    QApplication::setApplicationName(QStringLiteral("Sumdash"));
    // One style and our own fonts, so the game looks the same on every desktop.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    const bool fonts = registerDesignFonts();
    QApplication::setWindowIcon(applicationIcon());
    return fonts;
}
