// Remote measurement: "測定開始" and its menu item F9.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

#include "app/mainform.h"
#include "app/results_recorder.h"
#include "comm/remote_measurement.h"

namespace qlx {

void TMainForm::ConnectMeasurement()
{
    ConfigureInstrumentPort(Rs232c);
    connect(ui.imp.MeasStartButton, &QPushButton::clicked, this,
            [this] { MeasStartButton2Click(ui.imp.MeasStartButton); });
    connect(ui.menus.RemoteMeasureMenu, &QAction::triggered, this,
            [this] { MeasStartButton2Click(ui.menus.RemoteMeasureMenu); });
}

void TMainForm::MeasStartButton2Click(QObject* sender)
{
    if (sender != ui.menus.RemoteMeasureMenu && !ui.imp.MeasStartButton->hasFocus())
        return;
    Instrument.ComPortName = settings.ComPortName;

    RemoteMeasurementInput in;
    in.TerminalIndex = ui.imp.RefTerminalBox->currentIndex();
    in.SelectedChannel = curves.SelectedChannel;
    in.SelChOnly = ui.imp.SelChOnlyCheckBox->isChecked();
    in.RefMinFreq = curves.RefMinFreq;
    in.RefMaxFreq = curves.RefMaxFreq;
    // Nothing of the measured curve changes unless every channel was read.
    const OpResult<CurveLines> points = MeasureRemotely(Instrument, in);
    if (points) {
        TakeMeasuredCurve(curves, points.value());
        CurveReplaced(Curve(CurveKind::Measured));
        PaintVerdictNow();
    }
    // The record is made and written on the event loop's next turn, off the
    // measurement's path.
    resultsRecorder->MeasurementEnded(curves, in, points.outcome());
}

}  // namespace qlx
