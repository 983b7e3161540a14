// Copying a kept picture onto the screen in bands, for the few small parts a keystroke repaints.
#pragma once

class QPainter;
class QPixmap;
class QRegion;

/// Draws the parts of the pixmap (placed at the widget's top-left) that fall in the dirty
/// region. Qt's raster painter hands any drawing taller than about 96 device rows to its
/// thread pool; waking a worker thread, which a busy machine may not schedule at once, costs
/// far more than copying a few rows, so the copy goes in bands lower than that.
void drawPixmapInBands(QPainter& painter, const QRegion& dirty, const QPixmap& pixmap);
