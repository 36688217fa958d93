#include "app/com_port_choices.h"

namespace qlx {

namespace {

constexpr int kListedComPorts = 9;
constexpr int kKnownComPorts = 16;

std::string DeviceLabel(const SerialDevice& d)
{
    std::string label = d.path;
    if (!d.description.empty())
        label += " (" + d.description + ")";
    if (!d.accessible)
        label += " [権限なし: dialout グループ]";
    return label;
}

}  // namespace

ComPortChoices BuildComPortChoices(const std::string& comPortName, const std::vector<SerialDevice>& devices)
{
    ComPortChoices choices;
    for (int n = 1; n <= kListedComPorts; ++n)
        choices.items.push_back({"COM " + std::to_string(n), "COM" + std::to_string(n)});
    for (const SerialDevice& d : devices)
        choices.items.push_back({DeviceLabel(d), d.path});

    for (size_t i = 0; i < choices.items.size(); ++i) {
        if (choices.items[i].value == comPortName) {
            choices.selected = static_cast<int>(i);
            return choices;
        }
    }
    for (int n = kListedComPorts + 1; n <= kKnownComPorts; ++n) {
        if (comPortName == "COM" + std::to_string(n)) {
            choices.items.insert(choices.items.begin() + kListedComPorts, {"COM " + std::to_string(n), comPortName});
            choices.selected = kListedComPorts;
            return choices;
        }
    }
    if (comPortName.find('/') != std::string::npos) {
        choices.items.push_back({comPortName + " [見つかりません]", comPortName});
        choices.selected = static_cast<int>(choices.items.size()) - 1;
    }
    return choices;
}

}  // namespace qlx
