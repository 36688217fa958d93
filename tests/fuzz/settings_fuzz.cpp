// The settings file "Default.dat" as the program reads it at start.
#include <cstdint>

#include "app/settings.h"
#include "fuzz_file.h"
#include "model/byte_source.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static qlxfuzz::FuzzFile file;
    qlx::Settings s;
    if (!qlx::LoadSettings(file.Holding(data, size), s))
        return 0;
    for (const std::string* field : {&s.ComPortName, &s.RefDownloadDir, &s.ImpDownloadDir, &s.ImpCurveDir,
                                     &s.RefCurveDir, &s.RefListDir, &s.BmpDir, &s.CsvDir})
        if (field->size() > qlx::kMaxLineBytes || field->find('\n') != std::string::npos)
            qlxfuzz::Violated("a setting longer than a line or holding a line end");
    return 0;
}
