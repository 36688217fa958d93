#pragma once

#include <cstddef>
#include <functional>

namespace qlxtest {

// Whether a limit on the address space can be set for a test: under
// AddressSanitizer the process reserves terabytes of it up front.
bool MemoryLimitUsable();

// Runs `body` in a child process whose address space may grow by at most
// `headroomBytes`, and returns the child's wait status. The child ends with
// body's return value; an uncaught exception (std::bad_alloc) ends it with
// a signal (abort).
int RunWithMemoryLimit(std::size_t headroomBytes, const std::function<int()>& body);

}  // namespace qlxtest
