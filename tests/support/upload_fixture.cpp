#include "support/upload_fixture.h"

namespace qlxtest {

const char* const kNeverSent[4] = {"STAMP", "RSV", "MEMO", "\x83\x81"};

qlx::CurveLines UploadTestCurve(int seed)
{
    qlx::CurveLines c;
    for (int ch = 0; ch < 4; ++ch)
        for (int j = 0; j < 120; ++j)
            c[qlx::PointSlot(ch, j)] = std::to_string(1000 * (ch + 1) + j + seed);
    c[qlx::StampLine] = "[STAMP" + std::to_string(seed) + "      ]";
    c[qlx::TerminalLine] = "G";
    c[qlx::FlagsLine] = "G";  // range, thresholds, protect
    // Ranges 0..119 (0x40, 0xB7) and 10..20, thresholds 99 (0xA3) and 5.
    c[qlx::FreqRangeLine] = "[@\xB7JT@\xB7JT    ]";
    c[qlx::ThresholdLine] = "[\xA3\xA3\x45\x45YYYYffff]";
    // "ソーハー１２": 83 5C, 81 5B, 83 6E, 81 5B, 82 50, 82 51.
    c[qlx::NameLine] = "[\x83\x5C\x81\x5B\x83\x6E\x81\x5B\x82\x50\x82\x51]";
    for (int slot : {124, 125, 247, 248, 370, 371})
        c[slot] = "RSV" + std::to_string(slot);
    c[qlx::MemoSlot] = "MEMO \x83\x81\x83\x82";  // メモ
    return c;
}

std::vector<std::string> ExpectedSlot(char slot, const qlx::CurveLines& lines, int blocks)
{
    const int fields[4] = {369, 123, 246, 369};
    std::vector<std::string> out;
    for (int b = 0; b < blocks; ++b) {
        out.push_back(std::string("WIMP\nR\n") + slot + "\n" + char('0' + b) + "\n" + lines[fields[b]] + "\n" +
                      lines[1] + "\n" + lines[2] + "\x03");
        for (int k = 0; k < 15; ++k) {
            std::string packet;
            for (int i = 0; i < 8; ++i)
                packet += (i ? "\n" : "") + lines[123 * b + 3 + 8 * k + i];
            out.push_back(packet + "\x03");
        }
    }
    return out;
}

std::vector<std::string> ExpectedEmptySlot(char slot)
{
    std::vector<std::string> out{std::string("WIMP\nR\n") + slot + "\n0\n[            ]\n@\n@\x03"};
    out.insert(out.end(), 15, "0\n0\n0\n0\n0\n0\n0\n0\x03");
    return out;
}

}  // namespace qlxtest
