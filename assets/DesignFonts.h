// The three type faces the windows name, mapped onto the free fonts shipped with the game.
#pragma once

#include <QFont>
#include <QString>

/// Registers the shipped fonts with Qt; call once before the first window is built. Safe to
/// call again. Returns false when a font could not be loaded from the program's resources.
bool registerDesignFonts();

/// The font a window names, "PellmoorFont", "Impact" or "MS Sans Serif", at a size in points
/// of a 96 dpi screen. Sizes become pixels, so text keeps its place in the twip layout on every
/// screen; Qt's scaling enlarges both together on denser screens. Text is antialiased.
QFont designFont(const QString& designName, double pointSize, QFont::Weight weight = QFont::Normal,
                 QFont::Style style = QFont::StyleNormal);
