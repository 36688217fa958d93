#include "comm/download_fixture.h"

namespace qlx {

namespace {

std::string Padded(std::string bytes)
{
    bytes.resize(kNameBytes, ' ');
    return bytes;
}

CurveLines StoredCurve(const std::string& firstLine, const std::string& nameBytes, int seed)
{
    CurveLines c = qlxsim::SimMemory::EmptySlot();
    c[StampLine] = firstLine;
    c[TerminalLine] = "G";  // NL 8: every channel holds points
    c[FlagsLine] = std::string(1, CodeChar(FlagRangeValid | FlagThresholdsValid));
    c[NameLine] = "[" + Padded(nameBytes) + "]";
    for (int ch = 0; ch < kChannelCount; ++ch)
        for (int j = 0; j < kPointCount; ++j)
            c[PointSlot(ch, j)] = std::to_string(100 + seed * 1000 + ch * 200 + j);
    qlxsim::SimMemory::MakeInstrumentForm(c, false);
    return c;
}

}  // namespace

CurveLines StoredReference(const std::string& nameBytes, int seed)
{
    CurveLines c = StoredCurve("", nameBytes, seed);
    c[StampLine] = c[NameLine];
    return c;
}

CurveLines StoredMeasured(const std::string& stamp, const std::string& nameBytes, int seed)
{
    return StoredCurve("[" + stamp + "]", nameBytes, seed);
}

std::string BlockReply(const CurveLines& slot, int block)
{
    std::string data;
    for (int i = 0; i < kBlockSize; ++i)
        data += (i ? "\n" : "") + slot[kBlockSize * block + i];
    return data;
}

std::string CurveFileImage(const CurveLines& slot)
{
    std::string bytes;
    for (int b = 0; b < kChannelCount; ++b)
        bytes += BlockReply(slot, b) + "\n";
    return bytes;
}

void DownloadTest::SetUp()
{
    ConfigureInstrumentPort(port);
    session.ComPortName = sim.devicePath();
    destination = dir.file("downloads");
    std::filesystem::create_directory(destination);
    request.today = {2024, 12, 8};
    request.shortDateFormat = "yyyy/MM/dd";
}

void DownloadTest::ExpectEndedCleanly()
{
    EXPECT_FALSE(port.opened());
    EXPECT_FALSE(ui.progressShown());
    EXPECT_EQ(session.CommState(), CommIdle);
    EXPECT_FALSE(session.busy());
}

void DownloadTest::ExpectOnlyMessage(MsgDlg dialog, const std::string& text)
{
    const auto messages = ui.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].dialog, dialog);
    EXPECT_EQ(messages[0].text, text);
}

int DownloadTest::ProgressMaximum() const
{
    for (const qlxtest::UiCall& c : ui.calls)
        if (c.kind == qlxtest::UiCall::ProgressOpen)
            return c.maximum;
    return -1;
}

std::vector<std::string> DownloadTest::FolderBrowserShown() const
{
    std::vector<std::string> shown;
    for (const qlxtest::UiCall& c : ui.calls)
        if (c.kind == qlxtest::UiCall::ChooseFolder)
            shown.push_back(c.text);
    return shown;
}

}  // namespace qlx
