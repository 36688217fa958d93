#pragma once

#include <QDialog>
#include <memory>
#include <optional>
#include <string>

#include "app/re_memory.h"
#include "app/resonance_table.h"
#include "model/curve_state.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QSettings;
class QTableWidget;

namespace qlx {

struct ResonanceDialogUi {
    QLabel* channelLabel = nullptr;
    QLabel* measuredNameLabel = nullptr;
    QLabel* referenceNameLabel = nullptr;
    QLineEdit* reEdit = nullptr;
    // Row 0 the method of each curve, then one row per ResonanceQuantity;
    // columns measured, reference, deviation in percent.
    QTableWidget* valueTable = nullptr;
    QLabel* methodLabel = nullptr;
    QLabel* reNoteLabel = nullptr;
    QLabel* legendLabel = nullptr;
    QLabel* systemNoteLabel = nullptr;
    QPushButton* closeButton = nullptr;
};

// The resonance of the selected channel, measured beside reference, with
// the deviation; modeless, on top of the window. It reads the window's
// curves itself and is told when they or the channel changed (Refresh), as
// the window has no notifications. The Re field is remembered per reference
// curve file in the program's own configuration.
class ResonanceDialog : public QDialog {
    Q_OBJECT
public:
    // `programFile` is the program's configuration (OpenProgramSettings()).
    ResonanceDialog(const CurveState& curves, std::unique_ptr<QSettings> programFile, QWidget* parent = nullptr);
    ~ResonanceDialog() override;

    void ShowModeless();
    // A curve, the selected channel or the reference curve's file changed:
    // the Re field shows the Re remembered for the reference file (when that
    // changed) and the table is analysed afresh.
    void Refresh();
    // The user's Re; none while the field is empty or holds no valid number.
    std::optional<double> CurrentRe() const;
    const ResonanceTable& Table() const { return table_; }

    ResonanceDialogUi ui;

private:
    void Build();
    void ReEdited();
    void ShowTable();

    const CurveState& curves_;
    std::unique_ptr<QSettings> programFile_;
    ReMemory memory_;
    std::string refFile_;  // the reference file the Re field belongs to
    ResonanceTable table_;
};

}  // namespace qlx
