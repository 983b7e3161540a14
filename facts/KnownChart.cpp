// A small chart of how many facts were known at the end of each day played.
#include "facts/KnownChart.h"

#include "facts/FactMarks.h"

#include <QDate>
#include <QLocale>
#include <QPainter>
#include <algorithm>

namespace {

QDate dateOf(std::int64_t day)
{
    return QDate(1970, 1, 1).addDays(day);
}

} // namespace

KnownChart::KnownChart(QWidget* parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::TabFocus); // so that a screen reader user can reach what it says
}

QSize KnownChart::sizeHint() const
{
    return QSize(fontMetrics().averageCharWidth() * 48, fontMetrics().height() * 6);
}

void KnownChart::showDays(std::vector<DayKnown> days, int total)
{
    if (days.size() > static_cast<std::size_t>(DaysShown)) {
        days.erase(days.begin(), days.end() - DaysShown);
    }
    m_days = std::move(days);
    m_total = std::max(total, 1);
    const QLocale locale;
    if (m_days.empty()) {
        setAccessibleName(tr("Facts known by day: no days played yet"));
    } else {
        QStringList said;
        for (const DayKnown& day : m_days) {
            said << tr("%1 on %2")
                        .arg(day.known)
                        .arg(locale.toString(dateOf(day.day), QLocale::ShortFormat));
        }
        setAccessibleName(tr("Facts known by day: %1").arg(said.join(QStringLiteral(", "))));
        setToolTip(said.join(QLatin1Char('\n')));
    }
    update();
}

void KnownChart::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics metrics = fontMetrics();
    const int labelHeight = metrics.height();
    const QRectF plot
        = QRectF(rect()).adjusted(metrics.averageCharWidth() * 4, 4, -4, -labelHeight - 2);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawText(QRectF(0, plot.top() - 2, plot.left() - 4, labelHeight),
                     Qt::AlignRight | Qt::AlignTop, QString::number(m_total));
    painter.drawText(QRectF(0, plot.bottom() - labelHeight, plot.left() - 4, labelHeight),
                     Qt::AlignRight | Qt::AlignBottom, QStringLiteral("0"));
    if (m_days.empty()) {
        painter.drawText(plot, Qt::AlignCenter, tr("The chart fills in as days are played."));
        return;
    }
    const qreal slot = plot.width() / DaysShown;
    for (std::size_t index = 0; index < m_days.size(); ++index) {
        const DayKnown& day = m_days[index];
        const qreal height = plot.height() * std::clamp(day.known, 0, m_total) / m_total;
        const QRectF bar(plot.left() + slot * static_cast<qreal>(index) + slot * 0.15,
                         plot.bottom() - height, slot * 0.7, height);
        painter.fillRect(bar, stateColour(FactState::KnowIt));
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawRect(bar);
        // The day of the month alone fits under a bar; the full dates are in the tool tip and
        // in what a screen reader hears.
        const QString label = QString::number(dateOf(day.day).day());
        painter.drawText(QRectF(bar.center().x() - slot, plot.bottom() + 1, slot * 2, labelHeight),
                         Qt::AlignHCenter | Qt::AlignTop, label);
    }
}
