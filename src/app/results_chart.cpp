#include "app/results_chart.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

#include "app/results_chart_data.h"
#include "judge/judge_display.h"

namespace qlx {

namespace {

constexpr int kLeft = 64;  // room for the axis captions
constexpr int kRight = 8;
constexpr int kTop = 4;
constexpr int kStripHeight = 16;
constexpr int kGap = 18;  // between the strip and the plot, holds the plot's title
constexpr int kBottom = 6;

QColor MarkColour(UnitMark mark)
{
    switch (mark) {
    case UnitMark::Ok: return QColor::fromRgb(BadgeColour(0));
    case UnitMark::Ng: return QColor::fromRgb(BadgeColour(1));
    case UnitMark::NoReference: return QColor(0x90, 0x90, 0x90);
    }
    return Qt::gray;
}

const QColor kDriftColour(0xE0, 0x80, 0x00);

QString PercentText(double v) { return QStringLiteral("%1%2%").arg(v > 0 ? "+" : "").arg(v, 0, 'f', 0); }

}  // namespace

ResultsChart::ResultsChart(QWidget* parent) : QWidget(parent)
{
    setMinimumHeight(150);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
}

QSize ResultsChart::sizeHint() const { return {600, 170}; }

void ResultsChart::SetUnits(std::vector<RecentUnit> units)
{
    if (units.size() > static_cast<std::size_t>(kChartUnits))
        units.erase(units.begin(), units.end() - kChartUnits);
    units_ = std::move(units);
    deviations_ = F0Deviations(units_);
    drift_ = DriftLine(deviations_, kDriftWindow);
    range_ = DeviationRange(deviations_);
    update();
}

QRect ResultsChart::StripRect() const { return {kLeft, kTop, width() - kLeft - kRight, kStripHeight}; }

QRect ResultsChart::PlotRect() const
{
    const int top = kTop + kStripHeight + kGap;
    return {kLeft, top, width() - kLeft - kRight, std::max(10, height() - top - kBottom)};
}

// Slots of kChartUnits across the width; the newest unit takes the last.
QRect ResultsChart::CellRect(int i) const
{
    const QRect strip = StripRect();
    const int slot = kChartUnits - static_cast<int>(units_.size()) + i;
    const int x0 = strip.left() + strip.width() * slot / kChartUnits;
    const int x1 = strip.left() + strip.width() * (slot + 1) / kChartUnits;
    return {x0, strip.top(), std::max(1, x1 - x0 - 1), strip.height()};
}

int ResultsChart::UnitX(int i) const
{
    const QRect cell = CellRect(i);
    return cell.left() + cell.width() / 2;
}

int ResultsChart::DeviationY(double percent) const
{
    const QRect plot = PlotRect();
    const double clamped = std::clamp(percent, -range_, range_);
    const double mid = plot.top() + (plot.height() - 1) / 2.0;
    return static_cast<int>(std::lround(mid - clamped / range_ * ((plot.height() - 1) / 2.0)));
}

void ResultsChart::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect strip = StripRect();
    const QRect plot = PlotRect();
    p.setPen(Qt::black);
    p.drawText(QRect(0, strip.top(), kLeft - 6, strip.height()), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("判定"));
    for (int i = 0; i < static_cast<int>(units_.size()); ++i)
        p.fillRect(CellRect(i), MarkColour(MarkOf(units_[static_cast<std::size_t>(i)].verdict)));
    p.setPen(QColor(0xC0, 0xC0, 0xC0));
    p.drawRect(strip.adjusted(0, 0, -1, -1));

    // Axis: the reference's f0 in the middle, ±range at the edges.
    p.setPen(Qt::black);
    p.drawText(QRect(kLeft, strip.bottom() + 2, plot.width(), kGap - 2), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("f0 のリファレンス f0 からの偏差 (点: 各台、線: 直近 %1 台の平均)").arg(kDriftWindow));
    p.setPen(QColor(0xC0, 0xC0, 0xC0));
    p.drawRect(plot.adjusted(0, 0, -1, -1));
    const int zero = DeviationY(0);
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1, Qt::DashLine));
    p.drawLine(plot.left(), zero, plot.right(), zero);
    p.setPen(Qt::black);
    const auto axisCaption = [&](int y, const QString& text) {
        p.drawText(QRect(0, y - 8, kLeft - 6, 16), Qt::AlignRight | Qt::AlignVCenter, text);
    };
    axisCaption(DeviationY(range_), PercentText(range_));
    axisCaption(zero, QStringLiteral("基準 f0"));
    axisCaption(DeviationY(-range_), PercentText(-range_));

    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    for (std::size_t i = 0; i < deviations_.size(); ++i) {
        if (!deviations_[i])
            continue;
        p.setBrush(MarkColour(MarkOf(units_[i].verdict)));
        p.drawEllipse(QPointF(UnitX(static_cast<int>(i)), DeviationY(*deviations_[i])), 2.5, 2.5);
    }
    QPainterPath line;
    bool drawing = false;
    for (std::size_t i = 0; i < drift_.size(); ++i) {
        if (!drift_[i]) {
            drawing = false;
            continue;
        }
        const QPointF at(UnitX(static_cast<int>(i)), DeviationY(*drift_[i]));
        drawing ? line.lineTo(at) : line.moveTo(at);
        drawing = true;
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kDriftColour, 2));
    p.drawPath(line);
}

}  // namespace qlx
