#pragma once

#include <optional>
#include <string>

#include "analysis/zma_writer.h"
#include "model/curve_state.h"

namespace qlx {

class FileDialogs;
struct Settings;

// The points of the measured curve's selected channel that go into a ZMA
// file: those within the channel's valid range that hold a measurement.
ChannelPoints ZmaPointsOf(const CurveState& curves);

// The ZMA file of the measured curve's selected channel: the curve name as
// text, the channel as the user counts it, the date, and the minimum-phase
// estimate (from the analysis with the user's Re, if any) or phase 0.
std::string MeasuredZmaBytes(const CurveState& curves, std::optional<double> reOhm, CalendarDate today, bool zeroPhase);

// "測定カーブをZMA形式で保存(&Z)...": proposes a file name in the text
// exports' folder (CsvDir), asks for the file with a check box for phase 0
// (remembered for the session), writes it through the file layer and shows
// its message on failure.
class ZmaExport {
public:
    ZmaExport(const CurveState& curves, Settings& settings, FileDialogs& dialogs)
        : curves_(curves), settings_(settings), dialogs_(dialogs)
    {}

    // Does nothing while no measured curve is present.
    void Run(std::optional<double> reOhm);

private:
    const CurveState& curves_;
    Settings& settings_;
    FileDialogs& dialogs_;
    bool zeroPhase_ = false;
};

}  // namespace qlx
