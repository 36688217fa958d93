#include "app/com_port_choices.h"

namespace qlx {

namespace {

constexpr int kListedComPorts = 9;
constexpr int kKnownComPorts = 16;

std::string DeviceLabel(const SerialDevice& d)
{
    std::string label = d.Path;
    if (!d.Description.empty())
        label += " (" + d.Description + ")";
    if (!d.Accessible)
        label += " [権限なし: dialout グループ]";
    return label;
}

}  // namespace

ComPortChoices BuildComPortChoices(const std::string& comPortName, const std::vector<SerialDevice>& devices)
{
    ComPortChoices choices;
    for (int n = 1; n <= kListedComPorts; ++n)
        choices.Items.push_back({"COM " + std::to_string(n), "COM" + std::to_string(n)});
    for (const SerialDevice& d : devices)
        choices.Items.push_back({DeviceLabel(d), d.Path});

    for (size_t i = 0; i < choices.Items.size(); ++i) {
        if (choices.Items[i].Value == comPortName) {
            choices.Selected = static_cast<int>(i);
            return choices;
        }
    }
    for (int n = kListedComPorts + 1; n <= kKnownComPorts; ++n) {
        if (comPortName == "COM" + std::to_string(n)) {
            choices.Items.insert(choices.Items.begin() + kListedComPorts, {"COM " + std::to_string(n), comPortName});
            choices.Selected = kListedComPorts;
            return choices;
        }
    }
    if (comPortName.find('/') != std::string::npos) {
        choices.Items.push_back({comPortName + " [見つかりません]", comPortName});
        choices.Selected = static_cast<int>(choices.Items.size()) - 1;
    }
    return choices;
}

}  // namespace qlx
