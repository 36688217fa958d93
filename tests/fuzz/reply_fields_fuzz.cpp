// What the listings and downloads take from a stored-curve reply: its flags
// byte and first-line characters, the file names made of them (which must
// stay inside the run folder) and the listed date text of a time stamp.
#include <cstdint>
#include <string_view>

#include "comm/download_lists.h"
#include "comm/download_names.h"
#include "comm/instrument_session.h"
#include "fuzz_file.h"

namespace {

void CheckFileName(const std::string& name)
{
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos ||
        name.find('\0') != std::string::npos)
        qlxfuzz::Violated("a file name that leaves the run folder or names nothing");
    for (unsigned char ch : name)
        if (ch < 0x20)
            qlxfuzz::Violated("a control character in a file name");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view reply(reinterpret_cast<const char*>(data), size);
    const bool stored = qlx::StoredCurveMarked(reply);
    if (stored && reply.size() <= 17)
        qlxfuzz::Violated("a curve marked by a byte the reply does not hold");
    const std::string field = qlx::FieldTextOf(reply);
    if (field.size() > 12 || reply.substr(field.empty() ? 0 : 1, field.size()) != field)
        qlxfuzz::Violated("the field text is not reply bytes 1..12");

    const int number = 1 + (size ? data[0] % 64 : 0);
    const std::string refName = qlx::RefCurveFileName(number, field);
    CheckFileName(refName);
    if (refName.rfind("Ref_No" + std::to_string(number) + "_", 0) != 0)
        qlxfuzz::Violated("a reference file name without its number");
    // The reply's first line as the stamp line, the rest as the name line.
    const std::size_t half = reply.size() / 2;
    const std::string impName =
        qlx::ImpCurveFileName(std::string(reply.substr(0, half)), std::string(reply.substr(half)));
    CheckFileName(impName);
    if (impName.front() == '.')
        qlxfuzz::Violated("a hidden measured file name");
    (void)qlx::StampDateText(field);
    (void)qlx::RunFolderDate({2024, 12, 8}, std::string(reply));
    return 0;
}
