// How a fact's state is drawn: a colour and, so that colour never stands alone, a mark whose
// shape differs from state to state.
#pragma once

#include "facts/FactVerdict.h"

#include <QColor>
#include <QRectF>

class QPainter;

QColor stateColour(FactState state);

/// Draws the state's mark centred in the box: a tick for know it, a half-filled circle for
/// getting there, an exclamation mark in a triangle for practise, a small dot for not yet.
/// Drawn as shapes, not glyphs, so they look the same with any font and stay sharp at any scale.
void paintStateMark(QPainter& painter, const QRectF& box, FactState state);
