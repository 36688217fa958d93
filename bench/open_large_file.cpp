// Opens one file the way the open commands do, as a curve or as a reference
// list, and prints how long that took and what came of it. Run it under
// `/usr/bin/time -v` for the peak memory:
//
//   open_large_file curve|list PATH
#include <chrono>
#include <cstdio>
#include <string>

#include "model/curve_file.h"
#include "model/curve_lines.h"
#include "model/ref_list_editor.h"

namespace {

// Opens without dialogs and counts the warnings.
class SilentListUi : public qlx::RefListUi {
public:
    int warnings = 0;
    qlx::SaveAnswer AskChangeSave() override { return qlx::SaveAnswer::No; }
    bool ConfirmRowInsert() override { return false; }
    std::optional<std::string> ChooseListToOpen(const std::string&) override { return std::nullopt; }
    std::optional<std::string> ChooseListToSave(const std::string&, const std::string&) override
    {
        return std::nullopt;
    }
    std::optional<std::string> ChooseCurveToRegister(const std::string&) override { return std::nullopt; }
    std::optional<std::string> ChooseCsvToSave(const std::string&) override { return std::nullopt; }
    void FileError(const std::string&) override { ++warnings; }
    void ShowUploadPage() override {}
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3 || (std::string(argv[1]) != "curve" && std::string(argv[1]) != "list")) {
        std::fprintf(stderr, "usage: %s curve|list PATH\n", argv[0]);
        return 2;
    }
    const std::string kind = argv[1];
    const std::string path = argv[2];
    const auto start = std::chrono::steady_clock::now();
    std::string outcome;
    if (kind == "curve") {
        qlx::CurveLines lines{};
        qlx::FillDefaults(lines);
        const qlx::IoResult r = qlx::ReadCurveFile(path, lines);
        outcome = r ? "read, memo " + std::to_string(lines[qlx::MemoSlot].size()) + " bytes" : "refused: " + r.error;
    } else {
        std::string listDir, curveDir, csvDir;
        SilentListUi ui;
        qlx::RefListEditor editor({listDir, curveDir, csvDir}, ui);
        editor.Open(path);
        std::size_t held = 0;
        for (const qlx::RefListRow& row : editor.List.Rows)
            held += row.name.size() + row.fileName.size() + row.folder.size();
        outcome = std::to_string(ui.warnings) + " warning(s), rows hold " + std::to_string(held) + " bytes";
    }
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("%s %s: %.1f ms, %s\n", kind.c_str(), path.c_str(), ms, outcome.c_str());
    return 0;
}
