#include "app/serial_devices.h"

#include <unistd.h>
#include <algorithm>
#include <filesystem>
#include <fstream>

namespace qlx {

namespace fs = std::filesystem;

namespace {

std::string FirstLine(const fs::path& file)
{
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
        line.pop_back();
    return line;
}

// Devices named prefix + number in `dir`, in numeric order.
std::vector<std::string> NumberedNames(const fs::path& dir, const std::string& prefix)
{
    std::vector<std::pair<long, std::string>> found;
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(dir, ec)) {
        const std::string name = e.path().filename().string();
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
            continue;
        const std::string digits = name.substr(prefix.size());
        if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        found.emplace_back(std::stol(digits), name);
    }
    std::sort(found.begin(), found.end());
    std::vector<std::string> names;
    for (auto& f : found)
        names.push_back(std::move(f.second));
    return names;
}

// A platform UART port the kernel found hardware for (type 0 means none).
bool IsRealUart(const fs::path& root, const std::string& name)
{
    const std::string type = FirstLine(root / "sys/class/tty" / name / "type");
    return !type.empty() && type != "0";
}

// Maker and product of the USB device above a tty, from sysfs.
std::string UsbDescription(const fs::path& root, const std::string& ttyName)
{
    std::error_code ec;
    fs::path dir = fs::canonical(root / "sys/class/tty" / ttyName / "device", ec);
    if (ec)
        return {};
    for (int up = 0; up < 4 && !dir.empty(); ++up, dir = dir.parent_path()) {
        const std::string product = FirstLine(dir / "product");
        const std::string maker = FirstLine(dir / "manufacturer");
        if (!product.empty() || !maker.empty())
            return maker.empty() ? product : product.empty() ? maker : maker + " " + product;
        if (dir == dir.parent_path())
            break;
    }
    return {};
}

std::string AsSeenFromRoot(const fs::path& root, const fs::path& path)
{
    return "/" + path.lexically_relative(root).generic_string();
}

}  // namespace

bool CanOpenDevice(const std::string& path) { return ::access(path.c_str(), R_OK | W_OK) == 0; }

std::vector<SerialDevice> ListSerialDevices(const std::string& rootText,
                                            const std::function<bool(const std::string&)>& canOpen)
{
    const fs::path root(rootText.empty() ? "/" : rootText);
    const fs::path dev = root / "dev";
    std::vector<SerialDevice> devices;
    auto add = [&](const fs::path& path, const std::string& ttyName) {
        devices.push_back({AsSeenFromRoot(root, path), UsbDescription(root, ttyName), canOpen(path.string())});
    };
    for (const std::string& name : NumberedNames(dev, "ttyS"))
        if (IsRealUart(root, name))
            add(dev / name, name);
    for (const char* prefix : {"ttyUSB", "ttyACM"})
        for (const std::string& name : NumberedNames(dev, prefix))
            add(dev / name, name);

    std::vector<fs::path> byId;
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(dev / "serial/by-id", ec))
        byId.push_back(e.path());
    std::sort(byId.begin(), byId.end());
    for (const fs::path& link : byId) {
        // The link names the tty it stands for ("../../ttyUSB0").
        std::error_code linkEc;
        const fs::path target = fs::read_symlink(link, linkEc);
        add(link, linkEc ? std::string() : target.filename().string());
    }
    return devices;
}

}  // namespace qlx
