// How the game sets up its application object: names, style and icon.
#pragma once

/// Call once, right after the QApplication is made. The fonts are a step of their own
/// (registerDesignFonts()), taken once the splash is on screen: the splash needs none.
void setUpApplication();
