#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/scratch_volume.h"

namespace qlxtest {

// Places where writing a file must fail.
enum class BadPlace {
    ReadOnlyVolume,  // a file on a file system mounted read-only
    ReadOnlyFolder,  // a new file in a folder the user may not write into
    FullVolume,      // a file on a file system without room left
    FullDevice,      // the full device (a node of /dev/full's device in the test's folder)
    Pipe,            // a named pipe
    MissingFolder,   // a file in a folder that does not exist
};
extern const BadPlace kBadPlaces[6];
const char* BadPlaceName(BadPlace place);

struct BadDestination {
    std::string path;                     // the file to write
    std::string reason;                   // the last line of the file layer's message
    std::optional<std::string> oldBytes;  // what the file held before, which must survive
    bool asOrdinaryUser = false;          // only an ordinary user meets the refusal: write in RunAsOrdinaryUser
};

// Makes bad places in folders of their own below `root`, which it makes
// reachable for an ordinary user. The file systems it mounts (in a mount
// namespace of the calling thread) stay until it is destroyed.
class BadDestinations {
public:
    explicit BadDestinations(std::string root);

    // The place with a file `fileName` in it; no value, and `why`, where the
    // place cannot be made here (no privilege for a mount or a device node).
    std::optional<BadDestination> Make(BadPlace place, const std::string& fileName, std::string& why);

private:
    std::string root_;
    std::vector<std::unique_ptr<ScratchVolume>> volumes_;
};

}  // namespace qlxtest
