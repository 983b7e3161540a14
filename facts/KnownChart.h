// A small chart of how many facts of an operation were known at the end of each day played.
#pragma once

#include "facts/FactSummary.h"

#include <QWidget>
#include <vector>

class KnownChart : public QWidget
{
    Q_OBJECT

public:
    /// The most recent days played that the chart shows.
    static constexpr int DaysShown = 14;

    explicit KnownChart(QWidget* parent = nullptr);

    /// The days, oldest first, out of `total` facts; a screen reader hears them as a sentence.
    void showDays(std::vector<DayKnown> days, int total);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<DayKnown> m_days;
    int m_total = 1;
};
