#include "graph/graph_level.h"

#include <algorithm>
#include <cmath>

namespace qlx {

namespace {

struct ZoomSetting {
    float zoom;
    int minimum;
    int step;
};
constexpr std::array<ZoomSetting, 4> kZoomSettings{
    {{1.0f, 500, 100}, {2.0f, 500, 100}, {4.0f, 250, 50}, {10.0f, 100, 20}}};

}  // namespace

void GraphLevel::ApplyZoomSetting()
{
    for (const ZoomSetting& s : kZoomSettings) {
        if (s.zoom != GraphZoom)
            continue;
        Minimum = s.minimum;
        ScrollStep = s.step;
    }
    Visible = GraphZoom > 1.0f;
    Position = Visible ? std::max(Position, Minimum) : Maximum;
}

bool GraphLevel::ZoomIn()
{
    if (GraphZoom >= 10.0f)
        return false;
    GraphZoom = GraphZoom == 4.0f ? 10.0f : GraphZoom * 2.0f;
    ApplyZoomSetting();
    return true;
}

bool GraphLevel::ZoomOut()
{
    if (GraphZoom <= 1.0f)
        return false;
    GraphZoom = GraphZoom == 10.0f ? 4.0f : GraphZoom / 2.0f;
    ApplyZoomSetting();
    return true;
}

void GraphLevel::ZoomReset()
{
    GraphZoom = 1.0f;
    ApplyZoomSetting();
}

bool GraphLevel::SetPosition(int position)
{
    const int clamped = std::clamp(position, Minimum, Maximum);
    const bool changed = clamped != Position;
    Position = clamped;
    return changed;
}

std::string WholeNumberText(double value, bool showZero)
{
    const long long whole = std::llround(value);
    if (whole == 0 && !showZero)
        return "";
    return std::to_string(whole);
}

std::array<std::string, 6> GraphLevel::Labels() const
{
    const double g = GraphZoom;
    const double o = LevelOffset() / 10.0;
    std::array<std::string, 6> labels;
    labels[0] = WholeNumberText(o, true);
    for (int i = 1; i < 6; ++i)
        labels[i] = WholeNumberText(20.0 * i / g + o, false);
    return labels;
}

}  // namespace qlx
