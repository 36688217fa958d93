#pragma once

#include <functional>
#include <optional>
#include <string>

namespace qlxtest {

// Runs `body` in a child process as an ordinary user and returns what it
// returned: as the user nobody when the tests run as root (who ignores file
// permissions), else as the test's own user. No value when the child could
// not drop its privileges or did not end normally.
std::optional<std::string> RunAsOrdinaryUser(const std::function<std::string()>& body);

}  // namespace qlxtest
