#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "comm/downloads.h"
#include "qlx50_sim.h"
#include "support/download_commands.h"
#include "support/scripted_ui.h"
#include "support/settled_commands.h"
#include "support/temp_dir.h"

namespace qlx {

// A stored reference in the instrument's form: the name (Shift-JIS bytes,
// padded to 12) in blocks 0 and 3, points that differ per curve and channel.
CurveLines StoredReference(const std::string& nameBytes, int seed);
// A stored measured curve: the stamp line in block 0, the name in block 3.
CurveLines StoredMeasured(const std::string& stamp, const std::string& nameBytes, int seed);

// The bytes a downloaded curve file must hold: the four channel blocks as
// the instrument sends them, each line ended by LF.
std::string CurveFileImage(const CurveLines& slot);
// Data bytes of the instrument's reply to a curve read of one block.
std::string BlockReply(const CurveLines& slot, int block);

using qlxtest::EntriesOf;
using qlxtest::LinesOf;
using qlxtest::ReadCmd;
using qlxtest::StatusCmd;

// A download against a simulated QLX-50 whose memory the test fills, with
// the folder browser answered by the script and a destination of its own.
class DownloadTest : public ::testing::Test {
protected:
    qlxsim::Qlx50Sim sim{qlxsim::SimConfig{true, 100, false, 1, qlxsim::SimMemory{}, {}}};
    Trs232c port;
    qlxtest::ScriptedUi ui;
    InstrumentSession session{port, ui};
    qlxtest::TempDir dir;
    std::string destination;  // the folder the user picks
    DownloadRequest request;
    DownloadRecord record;

    void SetUp() override;

    void Store(const qlxsim::SimMemory& memory) { sim.SetMemory(memory); }
    // The folder browser's answer for the next run.
    void PickDestination() { ui.folderAnswers.push_back(destination); }
    // Ends of every run: port closed, no progress dialog, idle session.
    void ExpectEndedCleanly();
    // The one message of the run, its dialog and text.
    void ExpectOnlyMessage(MsgDlg dialog, const std::string& text);
    int ProgressMaximum() const;
    // Every showing of the folder browser: "title|status|start folder".
    std::vector<std::string> FolderBrowserShown() const;
    // Commands once the operation has ended, without waiting out a limit.
    std::vector<std::string> Settled() { return qlxtest::SettledCommands(sim); }
    // Shortens the per-byte limit where a test waits for silence on purpose.
    void QuickTimeout() { port.rxtimeout = 300; }
};

}  // namespace qlx
