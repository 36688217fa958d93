#pragma once

#include <QDialog>

#include "results/results_settings.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace qlx {

// "測定履歴の設定": whether the log is kept, where the station's file lies,
// and the line's PostgreSQL database. Shows the settings it is given; OK
// accepts, and Settings() is what the fields say.
class ResultsSettingsDialog : public QDialog {
    Q_OBJECT
public:
    ResultsSettingsDialog(const ResultsSettings& settings, QWidget* parent = nullptr);

    ResultsSettings Settings() const;

    QCheckBox* LogOnCheck = nullptr;
    QLineEdit* DatabasePathEdit = nullptr;
    QGroupBox* LineGroup = nullptr;  // checkable: the line database on or off
    QLineEdit* HostEdit = nullptr;
    QSpinBox* PortSpin = nullptr;
    QLineEdit* DatabaseEdit = nullptr;
    QLineEdit* UserEdit = nullptr;
    QLineEdit* PasswordEdit = nullptr;
    QLineEdit* OptionsEdit = nullptr;
    QPushButton* OkButton = nullptr;
    QPushButton* CancelButton = nullptr;
};

}  // namespace qlx
