#pragma once

namespace qlx {

// What the program sets on the application object before its window exists:
// its name, the toolkit's Japanese texts, the font and the window icon.
// Also used by the tools that show the program's windows.
void SetUpApplication();

}  // namespace qlx
