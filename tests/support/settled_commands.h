#pragma once

#include <string>
#include <vector>

#include "qlx50_sim.h"

namespace qlxtest {

// Every command the simulator has received from an operation that has ended
// (its port closed). A marker command is sent through the line after it and
// awaited: the line keeps the order of bytes, so once the marker is logged
// nothing the operation wrote can still be on its way. This shows that
// nothing more was sent without waiting out a time limit.
std::vector<std::string> SettledCommands(const qlxsim::Qlx50Sim& sim);

}  // namespace qlxtest
