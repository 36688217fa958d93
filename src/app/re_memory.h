#pragma once

#include <optional>
#include <string>

class QSettings;

namespace qlx {

// The voice-coil resistance Re (ohm, an ohmmeter reading) the user gave for a
// reference curve file, remembered per file in the program's own
// configuration (never in "Default.dat"). The resonance dialog sets it; the
// resonance figures of the dialog and the results log use it. Nothing stands
// in for an Re the user has not given.
class ReMemory {
public:
    explicit ReMemory(QSettings& file) : file_(file) {}

    // No value for a file without one, an empty path, or a stored value that
    // is no positive number.
    std::optional<double> Get(const std::string& refFilePath) const;
    // Stores re (> 0) for the file; an empty path stores nothing. No value
    // forgets the file's Re.
    void Set(const std::string& refFilePath, std::optional<double> re);

private:
    QSettings& file_;
};

}  // namespace qlx
