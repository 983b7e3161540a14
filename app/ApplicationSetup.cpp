// How the game sets up its application object: names, style and icon.
#include "app/ApplicationSetup.h"

#include "assets/ArtIcons.h"

#include <QApplication>
#include <QStyleFactory>

void setUpApplication()
{
    QApplication::setOrganizationName(QStringLiteral("Pellmoor"));
    QApplication::setApplicationName(QStringLiteral("Sumdash"));
    // One style, so the game looks the same on every desktop.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setWindowIcon(applicationIcon());
}
