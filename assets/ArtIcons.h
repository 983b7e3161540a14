// Icons drawn from the game's SVG pictures, sharp at every size and screen scale.
#pragma once

#include <QIcon>
#include <QString>

/// A toolbar image by its key ("dash", "practice", "stop", "club", "toptime", "web"): the
/// normal picture, a greyscale one while disabled and a brighter one under the mouse.
QIcon toolbarIcon(const QString& key);

/// A picture of the assets as an icon, drawn afresh at each requested size.
QIcon artIcon(const QString& resourcePath);

/// The application's icon.
QIcon applicationIcon();
