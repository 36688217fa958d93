// The results log: the recorder of every remote measurement and the
// results window of menu item "測定履歴(&H)...".
#include <QAction>
#include <QTimer>

#include "app/mainform.h"
#include "app/results_recorder.h"
#include "app/results_window.h"

namespace qlx {

void TMainForm::ConnectResults()
{
    resultsRecorder = std::make_unique<ResultsRecorder>(CheckSqlDrivers());
    // The driver check speaks once the window is up.
    QTimer::singleShot(0, resultsRecorder.get(), [this] { resultsRecorder->CheckDrivers(); });
    connect(ui.menus.ResultsHistoryMenu, &QAction::triggered, this, &TMainForm::ShowResultsWindow);
}

void TMainForm::ShowResultsWindow()
{
    if (!resultsWindow)
        resultsWindow = new ResultsWindow(*resultsRecorder, settings, dialogs_, this);
    resultsWindow->ShowModeless();
}

}  // namespace qlx
