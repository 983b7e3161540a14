// How a fact's state is drawn: a colour and a mark whose shape differs from state to state.
#include "facts/FactMarks.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

QColor stateColour(FactState state)
{
    switch (state) {
    case FactState::KnowIt:
        return QColor(0x7C, 0xC6, 0x7E); // green
    case FactState::GettingThere:
        return QColor(0xF5, 0xCF, 0x4A); // amber
    case FactState::Practise:
        return QColor(0xF3, 0x93, 0x3A); // orange
    case FactState::NotYet:
        break;
    }
    return QColor(0xDD, 0xDD, 0xDD); // grey
}

void paintStateMark(QPainter& painter, const QRectF& box, FactState state)
{
    const qreal side = std::min(box.width(), box.height()) * 0.6;
    const QRectF mark(box.center().x() - side / 2, box.center().y() - side / 2, side, side);
    const QColor ink(0x20, 0x20, 0x20);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(ink, std::max<qreal>(1.5, side / 7), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    switch (state) {
    case FactState::KnowIt: {
        QPainterPath tick;
        tick.moveTo(mark.left(), mark.top() + side * 0.55);
        tick.lineTo(mark.left() + side * 0.38, mark.bottom() - side * 0.05);
        tick.lineTo(mark.right(), mark.top() + side * 0.08);
        painter.drawPath(tick);
        break;
    }
    case FactState::GettingThere: {
        pen.setWidthF(std::max<qreal>(1.0, side / 10));
        painter.setPen(pen);
        painter.drawEllipse(mark);
        painter.setBrush(ink);
        painter.drawPie(mark, 90 * 16, 180 * 16); // the left half filled
        break;
    }
    case FactState::Practise: {
        pen.setWidthF(std::max<qreal>(1.0, side / 10));
        painter.setPen(pen);
        QPainterPath triangle;
        triangle.moveTo(mark.center().x(), mark.top());
        triangle.lineTo(mark.right(), mark.bottom());
        triangle.lineTo(mark.left(), mark.bottom());
        triangle.closeSubpath();
        painter.drawPath(triangle);
        const qreal x = mark.center().x();
        painter.drawLine(QPointF(x, mark.top() + side * 0.35),
                         QPointF(x, mark.top() + side * 0.68));
        painter.setBrush(ink);
        const qreal dot = side * 0.06;
        painter.drawEllipse(QPointF(x, mark.top() + side * 0.84), dot, dot);
        break;
    }
    case FactState::NotYet: {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0x80, 0x80, 0x80));
        const qreal dot = side * 0.1;
        painter.drawEllipse(mark.center(), dot, dot);
        break;
    }
    }
    painter.restore();
}
