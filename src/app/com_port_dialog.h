#pragma once

#include <string>
#include <vector>

#include <QDialog>

#include "app/serial_devices.h"

class QComboBox;
class QPushButton;

namespace qlx {

// "COMポート番号の設定": chooses the serial port of the instrument. Created
// once, hidden, and shown modelessly on top; it keeps its selection between
// showings and only OK copies it into the setting.
class TComPortNoDialog : public QDialog {
    Q_OBJECT
public:
    TComPortNoDialog(std::string& comPortName, const std::vector<SerialDevice>& devices, QWidget* parent = nullptr);

    // Shows the dialog without blocking the main window.
    void ShowModeless();
    // Offers the devices present now (an adapter may have been plugged in
    // since), keeping the entry the user had selected.
    void RefreshDevices(const std::vector<SerialDevice>& devices);

    QComboBox* ComNo = nullptr;
    QPushButton* OkButton = nullptr;
    QPushButton* CancelButton = nullptr;

private:
    void OkButtonClick();
    void FillList(const std::string& selectedValue, const std::vector<SerialDevice>& devices);

    std::string& comPortName_;
};

}  // namespace qlx
