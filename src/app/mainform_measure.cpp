// Remote measurement: "測定開始" and its menu item F9.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

#include "app/mainform.h"
#include "comm/remote_measurement.h"

namespace qlx {

void TMainForm::ConnectMeasurement()
{
    ConfigureInstrumentPort(Rs232c);
    connect(MeasStartButton, &QPushButton::clicked, this, [this] { MeasStartButton2Click(MeasStartButton); });
    connect(RemoteMeasureMenu, &QAction::triggered, this, [this] { MeasStartButton2Click(RemoteMeasureMenu); });
}

void TMainForm::MeasStartButton2Click(QObject* sender)
{
    if (sender != RemoteMeasureMenu && !MeasStartButton->hasFocus())
        return;
    Instrument.ComPortName = settings.ComPortName;

    RemoteMeasurementInput in;
    in.TerminalIndex = RefTerminalBox->currentIndex();
    in.SelectedChannel = curves.SelectedChannel;
    in.SelChOnly = SelChOnlyCheckBox->isChecked();
    in.RefMinFreq = curves.RefMinFreq;
    in.RefMaxFreq = curves.RefMaxFreq;
    // Nothing of the measured curve changes unless every channel was read.
    const OpResult<CurveLines> points = MeasureRemotely(Instrument, in);
    if (!points)
        return;

    TakeMeasuredCurve(curves, points.value());
    ImpFileSaveMenu->setEnabled(true);
    ImpFileSaveAsMenu->setEnabled(true);
    FileImpCsvSaveMenu->setEnabled(true);
    ShowCurveFields(CurveKind::Measured);
    CurveLoaded(CurveKind::Measured);
    EnableCursorReadouts();
}

}  // namespace qlx
