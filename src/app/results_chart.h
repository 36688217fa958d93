#pragma once

#include <QWidget>

#include <optional>
#include <vector>

#include "results/results_queries.h"

namespace qlx {

// The results window's chart of the last units, oldest left, newest right:
// a strip of one cell per unit in its verdict's colour (blue OK, red NG,
// grey without reference), and below it each unit's f0 as a deviation from
// its reference's f0, with the mean of the last units as a line, so that a
// batch drifting away from the reference shows at once.
class ResultsChart : public QWidget {
    Q_OBJECT
public:
    explicit ResultsChart(QWidget* parent = nullptr);

    void SetUnits(std::vector<RecentUnit> units);
    const std::vector<RecentUnit>& units() const { return units_; }

    // Where unit i (0 the oldest shown) has its verdict cell, and where a
    // deviation in percent lies on the f0 axis.
    QRect CellRect(int i) const;
    int UnitX(int i) const;
    int DeviationY(double percent) const;
    double range() const { return range_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect StripRect() const;
    QRect PlotRect() const;

    std::vector<RecentUnit> units_;
    std::vector<std::optional<double>> deviations_;
    std::vector<std::optional<double>> drift_;
    double range_ = 5.0;
};

}  // namespace qlx
