// How the game sets up its application object: names, style, fonts and icon.
#pragma once

/// Call once, right after the QApplication is made. Returns false when the shipped fonts could
/// not be loaded.
bool setUpApplication();
