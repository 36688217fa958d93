#include "app/com_port_dialog.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QPushButton>

#include "app/com_port_choices.h"
#include "ui/app_font.h"
#include "ui/place_window.h"

namespace qlx {

TComPortNoDialog::TComPortNoDialog(std::string& comPortName, const std::vector<SerialDevice>& devices, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      comPortName_(comPortName)
{
    setWindowTitle(QStringLiteral("COMポート番号の設定"));
    setFont(AppFont(12));
    setFixedSize(242, 98);

    ComNo = new QComboBox(this);
    ComNo->setObjectName(QStringLiteral("ComNo"));
    ComNo->setGeometry(40, 18, 162, 22);
    FillList(comPortName, devices);

    OkButton = new QPushButton(QStringLiteral("OK"), this);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    OkButton->setGeometry(40, 60, 75, 25);
    OkButton->setAutoDefault(false);
    CancelButton = new QPushButton(QStringLiteral("キャンセル"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setGeometry(127, 60, 75, 25);
    // Enter and Esc both cancel.
    CancelButton->setDefault(true);

    connect(OkButton, &QPushButton::clicked, this, &TComPortNoDialog::OkButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TComPortNoDialog::FillList(const std::string& selectedValue, const std::vector<SerialDevice>& devices)
{
    ComNo->clear();
    const ComPortChoices choices = BuildComPortChoices(selectedValue, devices);
    for (const ComPortChoice& c : choices.items)
        ComNo->addItem(QString::fromStdString(c.label), QString::fromStdString(c.value));
    ComNo->setCurrentIndex(choices.selected);
    // Device entries are long; the open list may be wider than the box.
    ComNo->view()->setMinimumWidth(ComNo->view()->sizeHintForColumn(0) + 24);
}

void TComPortNoDialog::RefreshDevices(const std::vector<SerialDevice>& devices)
{
    FillList(ComNo->currentData().toString().toStdString(), devices);
}

void TComPortNoDialog::ShowModeless() { ShowModelessCentred(*this); }

void TComPortNoDialog::OkButtonClick()
{
    comPortName_ = ComNo->currentData().toString().toStdString();
    accept();
}

}  // namespace qlx
