// A reference list file as the list page opens it, then written, exported
// and turned into the upload's lines as the page would.
#include <cstdint>

#include "fuzz_file.h"
#include "model/ref_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static qlxfuzz::FuzzFile file;
    qlx::RefList list;
    int odd = 0;
    if (!qlx::ReadRefListFile(file.Holding(data, size), "/nonexistent-list-folder", list, odd))
        return 0;
    for (const qlx::RefListRow& row : list.Rows)
        if (row.name.size() > qlx::kMaxLineBytes || row.fileName.size() > qlx::kMaxLineBytes ||
            row.folder.size() > qlx::kMaxLineBytes)
            qlxfuzz::Violated("a row holds more than a line");
    (void)qlx::BuildRefListLines(list);
    (void)qlx::RefListFileBytes(list);
    (void)qlx::RefListCsvBytes(list);
    return 0;
}
