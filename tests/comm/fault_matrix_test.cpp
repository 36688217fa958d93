// Every instrument operation against every fault of the line and the user, at
// the exchanges that matter: the status exchange, the first, a middle and the
// last data exchange. Each cell runs the operation on a simulator of its own
// and checks what the user is shown, the commands that went out, that the
// port is closed and the session idle, that the operation's inputs and the
// window's curve and lists are as they were, and which files exist.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <map>
#include <sstream>
#include <thread>

#include "comm/download_fixture.h"
#include "comm/downloads.h"
#include "comm/ref_upload.h"
#include "comm/remote_measurement.h"
#include "model/curve_file.h"
#include "qlx50_sim.h"
#include "support/scripted_ui.h"
#include "support/settled_commands.h"
#include "support/temp_dir.h"
#include "support/upload_fixture.h"

namespace qlx {
namespace {

using qlxtest::ScriptedUi;

enum class Op {
    StatusCheck,
    Measurement,
    RefListing,
    ImpListing,
    RefDownloadAll,
    RefDownloadSelected,
    ImpDownloadAll,
    ImpDownloadSelected,
    SingleUpload,
    ListUpload,
};
constexpr Op kOps[] = {Op::StatusCheck,    Op::Measurement,         Op::RefListing,     Op::ImpListing,
                       Op::RefDownloadAll, Op::RefDownloadSelected, Op::ImpDownloadAll, Op::ImpDownloadSelected,
                       Op::SingleUpload,   Op::ListUpload};

const char* OpName(Op op)
{
    switch (op) {
    case Op::StatusCheck: return "status check";
    case Op::Measurement: return "measurement (NL 8)";
    case Op::RefListing: return "reference listing";
    case Op::ImpListing: return "measured listing";
    case Op::RefDownloadAll: return "ref download, all";
    case Op::RefDownloadSelected: return "ref download, selected";
    case Op::ImpDownloadAll: return "meas download, all";
    case Op::ImpDownloadSelected: return "meas download, selected";
    case Op::SingleUpload: return "upload, one slot";
    case Op::ListUpload: return "upload, list";
    }
    return "";
}

bool IsUpload(Op op) { return op == Op::SingleUpload || op == Op::ListUpload; }
bool IsDownload(Op op)
{
    return op == Op::RefDownloadAll || op == Op::RefDownloadSelected || op == Op::ImpDownloadAll ||
           op == Op::ImpDownloadSelected;
}
bool IsRefDownload(Op op) { return op == Op::RefDownloadAll || op == Op::RefDownloadSelected; }

enum Pos { AtStatus, AtFirst, AtMiddle, AtLast, kPositions };
const char* const kPosNames[kPositions] = {"status", "first", "middle", "last"};

enum class Fault { Silence, WrongFirstByte, CutOff, NoEtx, Garbage, Vanish, Cancel };
constexpr Fault kFaults[] = {Fault::Silence, Fault::WrongFirstByte, Fault::CutOff, Fault::NoEtx,
                             Fault::Garbage, Fault::Vanish,         Fault::Cancel};
const char* FaultName(Fault f)
{
    switch (f) {
    case Fault::Silence: return "silence";
    case Fault::WrongFirstByte: return "1st byte";
    case Fault::CutOff: return "cut off";
    case Fault::NoEtx: return "no ETX";
    case Fault::Garbage: return "garbage";
    case Fault::Vanish: return "vanished";
    case Fault::Cancel: return "cancel";
    }
    return "";
}

// The instrument of the matrix: references No. 1, 32 and 64 and measured
// curves in slots 0, 31 and 63, every other slot empty.
constexpr std::array<int, 3> kStoredSlots{0, 31, 63};
const std::array<std::string, 3> kRefNames{"REF-A", "REF-B", "REF-C"};
const std::array<std::string, 3> kImpNames{"IMP-A", "IMP-B", "IMP-C"};
const std::array<std::string, 3> kStamps{"241208090000", "241208100000", "241208110000"};
// The file names the downloads give them.
const std::array<std::string, 3> kRefFiles{"Ref_No1_REF-A.q5imp", "Ref_No32_REF-B.q5imp", "Ref_No64_REF-C.q5imp"};
const std::array<std::string, 3> kImpFiles{"IMP-A_2024_1208_0900_00.q5imp", "IMP-B_2024_1208_1000_00.q5imp",
                                           "IMP-C_2024_1208_1100_00.q5imp"};
// Selections: reference numbers, and measured rows (row 64 shows slot 0).
const std::vector<int> kRefSelection{1, 32, 64};
const std::vector<int> kImpRows{31, 64, 63};
const std::vector<int> kImpRowSlots{31, 0, 63};
constexpr int kUploadRefNo = 5;
constexpr std::array<int, 3> kListedRefNos{1, 32, 64};

int StoredIndex(int slot)
{
    const auto it = std::find(kStoredSlots.begin(), kStoredSlots.end(), slot);
    return it == kStoredSlots.end() ? -1 : static_cast<int>(it - kStoredSlots.begin());
}

qlxsim::SimMemory MatrixMemory()
{
    qlxsim::SimMemory memory;
    for (int i = 0; i < 3; ++i) {
        memory.ref[kStoredSlots[i]] = StoredReference(kRefNames[i], i + 1);
        memory.meas[kStoredSlots[i]] = StoredMeasured(kStamps[i], kImpNames[i], i + 4);
    }
    return memory;
}

std::string Padded(const std::string& text) { return text + std::string(kNameBytes - text.size(), ' '); }

// The curve the list upload finds for reference No. r.
CurveLines ListedCurve(int r) { return qlxtest::UploadTestCurve(r); }

// The commands of a run that meets no fault and the progress unit each
// belongs to; the command number (from 1, the status command) of each
// position.
struct Plan {
    std::vector<std::string> commands{StatusCmd()};
    std::vector<int> units{-1};
    int lastUnit = -1;
    std::array<int, kPositions> at{1, 0, 0, 0};

    void Add(const std::string& command, int unit)
    {
        commands.push_back(command);
        units.push_back(unit);
        lastUnit = std::max(lastUnit, unit);
    }
    void Add(const std::vector<std::string>& packets, int unit)
    {
        for (const std::string& p : packets)
            Add(p, unit);
    }
    int NumberOf(const std::string& command) const
    {
        return static_cast<int>(std::find(commands.begin(), commands.end(), command) - commands.begin()) + 1;
    }
    int Size() const { return static_cast<int>(commands.size()); }
};

std::string Sweep(char code) { return std::string("RSWP\n") + code + "\n000\n119\x03"; }

// slots in the order fetched; unit of each: its slot (a step per slot or
// number) or its place in the order (a step per selected row).
Plan DownloadPlan(char kind, const std::vector<int>& slots, bool unitIsSlot, int lastUnit, int middleSlot)
{
    Plan p;
    for (size_t i = 0; i < slots.size(); ++i)
        for (int b = 0; b < (StoredIndex(slots[i]) >= 0 ? 4 : 1); ++b)
            p.Add(ReadCmd(kind, slots[i], b, 'A'), unitIsSlot ? slots[i] : static_cast<int>(i));
    p.lastUnit = lastUnit;
    p.at = {1, 2, p.NumberOf(ReadCmd(kind, middleSlot, 1, 'A')), p.Size()};
    return p;
}

std::vector<int> AllSlots()
{
    std::vector<int> all(kStoredCurveSlots);
    for (int s = 0; s < kStoredCurveSlots; ++s)
        all[s] = s;
    return all;
}

Plan PlanOf(Op op)
{
    Plan p;
    switch (op) {
    case Op::StatusCheck: break;
    case Op::Measurement:
        for (char code : {'7', '8', '9', ':'})
            p.Add(Sweep(code), code - '7');
        p.at = {1, 2, 3, 5};
        break;
    case Op::RefListing:
        for (int s = 0; s < kStoredCurveSlots; ++s)
            p.Add(ReadCmd('R', s, 0, 'H'), s);
        p.at = {1, 2, 33, p.Size()};
        break;
    case Op::ImpListing:
        for (int s = 0; s < kStoredCurveSlots; ++s) {
            p.Add(ReadCmd('M', s, 0, 'H'), s);
            p.Add(ReadCmd('M', s, 3, 'H'), s);
        }
        p.at = {1, 2, p.NumberOf(ReadCmd('M', 32, 0, 'H')), p.Size()};
        break;
    case Op::RefDownloadAll: return DownloadPlan('R', AllSlots(), true, 63, 31);
    case Op::RefDownloadSelected: return DownloadPlan('R', {0, 31, 63}, true, 63, 31);
    case Op::ImpDownloadAll: return DownloadPlan('M', AllSlots(), true, 63, 31);
    case Op::ImpDownloadSelected: return DownloadPlan('M', kImpRowSlots, false, 2, 0);
    case Op::SingleUpload:
        p.Add(qlxtest::ExpectedSlot(SlotChar(kUploadRefNo - 1), qlxtest::UploadTestCurve(0)), 0);
        p.at = {1, 2, 33, p.Size()};
        break;
    case Op::ListUpload: {
        int no32 = 0;
        for (int r = 1; r <= kRefListRows; ++r) {
            if (r == 32)
                no32 = p.Size() + 1;
            const bool listed = std::find(kListedRefNos.begin(), kListedRefNos.end(), r) != kListedRefNos.end();
            p.Add(listed ? qlxtest::ExpectedSlot(SlotChar(r - 1), ListedCurve(r))
                         : qlxtest::ExpectedEmptySlot(SlotChar(r - 1)),
                  r - 1);
        }
        p.at = {1, 2, no32 + 16, p.Size()};  // middle: block 1's header of No. 32
        break;
    }
    }
    return p;
}

// How a cell must end: the outcome, how many commands of the plan went out,
// and whether the stop command followed them.
struct End {
    Outcome outcome = Outcome::Failed;
    int commands = 0;
    bool stopCommand = false;
};

// From the protocol's rules: any failure of a reply ends the operation at
// that exchange. A cancel is seen at the next progress step, so the unit
// under way completes, and a cancel during the last unit comes too late;
// the measurement sees it inside its sweep wait and stops the sweep. An
// upload packet's answer is ACK and one byte that may be missing, without
// ETX, so neither a cut after the ACK nor a missing ETX fails it; garbage
// after that answer is what the next packet's answer begins with.
End ExpectedEnd(Op op, const Plan& plan, Fault fault, int k)
{
    const int all = plan.Size();
    if (fault == Fault::Cancel) {
        if (op == Op::Measurement)
            return {Outcome::Cancelled, k, true};
        const int unit = plan.units[k - 1];
        if (unit == plan.lastUnit)
            return {Outcome::Done, all, false};
        int last = k;
        while (last < all && plan.units[last] == unit)
            ++last;
        return {Outcome::Cancelled, last, false};
    }
    if (IsUpload(op) && k > 1) {
        if (fault == Fault::CutOff || fault == Fault::NoEtx)
            return {Outcome::Done, all, false};
        if (fault == Fault::Garbage)
            return k == all ? End{Outcome::Done, all, false} : End{Outcome::Failed, k + 1, false};
    }
    return {Outcome::Failed, k, false};
}

// What the window holds besides the operation: the measured curve and both
// shown lists. An operation changes them only through its result.
struct WindowState {
    CurveState curves;
    RefNames refNames;
    ImpEntries impEntries;
    bool operator==(const WindowState& o) const
    {
        return curves.ImpLines == o.curves.ImpLines && curves.ImpFilePath == o.curves.ImpFilePath &&
               curves.ImpLoaded == o.curves.ImpLoaded && refNames == o.refNames && impEntries == o.impEntries;
    }
};

// Every entry below root: relative path -> content ("<folder>" for folders).
std::map<std::string, std::string> Snapshot(const std::filesystem::path& root)
{
    std::map<std::string, std::string> entries;
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(root, ec);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        const std::string rel = std::filesystem::relative(it->path(), root).string();
        entries[rel] = it->is_directory() ? "<folder>" : qlxtest::ReadAll(it->path().string());
    }
    return entries;
}

std::string ListEntry(int slot, const std::string& path)
{
    return "[" + Padded(kRefNames[StoredIndex(slot)]) + "]\n" + path + "\n";
}

// The files a download leaves (relative to the cell's folder) when it ends
// as `end` says: what each completed reply gave, a curve cut short by a
// failure as far as it came, nothing of a cancelled run.
std::map<std::string, std::string> ExpectedDownloadFiles(Op op, const End& end, const qlxsim::SimMemory& memory,
                                                         const std::string& cellFolder)
{
    std::map<std::string, std::string> files;
    // Commands whose replies arrived whole; the run folder is made after the
    // first data reply.
    const int received = end.outcome == Outcome::Failed ? end.commands - 1 : end.commands;
    if (end.outcome == Outcome::Cancelled || received < 2)
        return files;
    const bool refs = IsRefDownload(op);
    const std::string runRel = std::string("downloads/") + (refs ? "Ref_20241208" : "Imp_20241208");
    const std::string run = cellFolder + "/" + runRel;
    files[runRel] = "<folder>";
    int command = 1;  // the status command
    bool stopped = false;
    if (refs) {
        std::string list;
        for (int n = 1; n <= kStoredCurveSlots && !stopped; ++n) {
            const int slot = n - 1;
            const bool wanted = op == Op::RefDownloadAll ||
                                std::find(kRefSelection.begin(), kRefSelection.end(), n) != kRefSelection.end();
            if (!wanted) {
                list += ",\n,\n";
                continue;
            }
            const int stored = StoredIndex(slot);
            std::string curve;
            for (int b = 0; b < (stored >= 0 ? 4 : 1); ++b) {
                if (++command > received) {
                    stopped = true;
                    break;
                }
                if (stored < 0)
                    list += ",\n,\n";
                else if (b == 0)
                    list += ListEntry(slot, run + "/" + kRefFiles[stored]);
                curve += BlockReply(memory.ref[slot], b) + "\n";
            }
            if (stored >= 0 && !curve.empty())
                files[runRel + "/" + kRefFiles[stored]] = curve;
        }
        files[runRel + "/Ref_20241208.q5lst"] = list;
        return files;
    }
    const std::vector<int> slots = op == Op::ImpDownloadAll ? AllSlots() : kImpRowSlots;
    for (size_t i = 0; i < slots.size() && !stopped; ++i) {
        const int stored = StoredIndex(slots[i]);
        std::string curve;
        int blocks = 0;
        for (int b = 0; b < (stored >= 0 ? 4 : 1); ++b) {
            if (++command > received) {
                stopped = true;
                break;
            }
            curve += BlockReply(memory.meas[slots[i]], b) + "\n";
            ++blocks;
        }
        if (stored >= 0 && blocks > 0)
            files[runRel + "/" + (blocks == 4 ? kImpFiles[stored] : "temp.q5imp")] = curve;
    }
    return files;
}

constexpr int kQuickRxMs = 300;       // the read limit of the exchange that meets the fault
constexpr int kSweepRxMs = 500;       // the sweeps' read limit; a simulated sweep takes 20 ms
constexpr int kNeverMs = 10 * 60000;  // for a vanished device: only the hang-up can end a read
constexpr int kGarbageBytes = 300;    // fewer than a reply can hold, more than a status reply

// One cell: an operation on a simulated instrument of its own with one fault.
class MatrixCell {
public:
    MatrixCell(Op op, Fault fault, int k) : op_(op), fault_(fault), k_(k), plan_(PlanOf(op))
    {
        ConfigureInstrumentPort(port_);
        session_.ComPortName = sim_.devicePath();
        sim_.SetFaults(FaultsAt());
        if (fault_ == Fault::Vanish) {
            port_.rxtimeout = kNeverMs;
            port_.txtimeout = kNeverMs;
        } else if (k_ == 1 && fault_ != Fault::Cancel) {
            port_.rxtimeout = kQuickRxMs;
        }
        rxAtStart_ = port_.rxtimeout;
        // Every data command and packet follows one pause; the exchange that
        // meets the fault gets the short read limit (the measurement's sweeps
        // have their own).
        session_.Pause = [this](int ms) {
            pauses_.push_back(ms);
            if (static_cast<int>(pauses_.size()) == k_ - 1 && fault_ != Fault::Vanish && fault_ != Fault::Cancel &&
                op_ != Op::Measurement)
                port_.rxtimeout = kQuickRxMs;
        };
        if (fault_ == Fault::Cancel)
            ui_.onProcessEvents = [this] {
                // The user presses cancel while exchange k is under way.
                if (!cancelPressed_ && sim_.CommandCount() >= static_cast<size_t>(k_)) {
                    cancelPressed_ = true;
                    ui_.cancelAtStep = ui_.steps() + 1;
                }
            };
        destination_ = dir_.file("downloads");
        std::filesystem::create_directory(destination_);
        PrepareInputs();
        filesBefore_ = Snapshot(dir_.path());
        windowBefore_ = window_;
    }

    void RunAndCheck()
    {
        const Outcome outcome = Run();
        const End expected = ExpectedEnd(op_, plan_, fault_, k_);
        EXPECT_EQ(static_cast<int>(outcome), static_cast<int>(expected.outcome)) << "0 done, 1 cancelled, 2 failed";
        CheckMessages(expected);
        CheckCommands(expected);
        EXPECT_FALSE(port_.opened()) << "port left open";
        EXPECT_EQ(session_.CommState(), CommIdle);
        EXPECT_FALSE(session_.busy());
        EXPECT_FALSE(ui_.progressShown()) << "progress dialog left open";
        EXPECT_EQ(port_.rxtimeout, rxAtStart_) << "read limit not restored";
        CheckInputsAndWindow(expected);
        CheckFiles(expected);
    }

private:
    qlxsim::SimFaults FaultsAt() const
    {
        qlxsim::SimFaults f;
        const bool packet = IsUpload(op_) && k_ > 1;
        switch (fault_) {
        case Fault::Silence: f.silenceAfterCommands = k_ - 1; break;
        case Fault::WrongFirstByte:
            // The status reply has no ACK: its first byte is the model string's.
            if (k_ == 1)
                f.statusReply = "\x15" + sim_.StatusText().substr(1) + "\x03";
            else
                f.wrongFirstByte = 0x15;
            break;
        case Fault::CutOff: f.cutReplyAfter = packet ? 1 : 12; break;
        case Fault::NoEtx: f.dropEtx = true; break;
        case Fault::Garbage: f.garbageBytes = kGarbageBytes; break;
        case Fault::Vanish: f.vanishAtCommand = k_; break;
        case Fault::Cancel: break;
        }
        if (fault_ != Fault::Silence && fault_ != Fault::Vanish)
            f.onlyReplyTo = k_;
        return f;
    }

    void PrepareInputs()
    {
        window_.curves.FillDefaultLines();
        window_.curves.ImpLines = qlxtest::UploadTestCurve(7);
        window_.curves.ImpFilePath = dir_.file("previous.q5imp");
        window_.curves.ImpLoaded = true;
        for (int i = 0; i < kStoredCurveSlots; ++i)
            window_.refNames[i] = "OLD REF " + std::to_string(i);
        for (int i = 0; i < kImpListEntries; ++i)
            window_.impEntries[i] = "OLD ENTRY " + std::to_string(i);
        source_.RefLines = qlxtest::UploadTestCurve(0);
        if (op_ == Op::ListUpload) {
            const std::string folder = dir_.file("list");
            std::filesystem::create_directory(folder);
            RefList list;
            for (int r : kListedRefNos) {
                const std::string name = "No" + std::to_string(r);
                ASSERT_TRUE(WriteCurveFile(folder + "/" + name + ".q5imp", ListedCurve(r)));
                list.Row(r) = {"LISTED", name, folder, false};
            }
            source_.ListLines = BuildRefListLines(list);
            source_.RefListDir = folder;
        }
        sourceBefore_ = source_;
    }

    Outcome Run()
    {
        DownloadRequest request;
        request.today = {2024, 12, 8};
        request.shortDateFormat = "yyyy/MM/dd";
        if (IsDownload(op_))
            ui_.folderAnswers.push_back(destination_);
        if (IsUpload(op_))
            ui_.messageAnswers.push_back(mrYes);
        switch (op_) {
        case Op::StatusCheck: {
            InstrumentSession::Operation frame(session_);
            return session_.StatusCheck().outcome();
        }
        case Op::Measurement: {
            RemoteMeasurementInput in;
            in.TerminalIndex = 2;
            in.SweepRxTimeoutMs = fault_ == Fault::Vanish ? kNeverMs : kSweepRxMs;
            OpResult<CurveLines> points = MeasureRemotely(session_, in);
            if (points)
                TakeMeasuredCurve(window_.curves, points.value());
            return points.outcome();
        }
        case Op::RefListing: {
            OpResult<RefNames> names = ListReferences(session_);
            if (names)
                window_.refNames = names.value();
            return names.outcome();
        }
        case Op::ImpListing: {
            OpResult<ImpEntries> entries = ListMeasured(session_);
            if (entries)
                window_.impEntries = entries.value();
            return entries.outcome();
        }
        case Op::RefDownloadAll: return DownloadReferences(session_, request, record_).outcome();
        case Op::RefDownloadSelected:
            request.selection = kRefSelection;
            return DownloadReferences(session_, request, record_).outcome();
        case Op::ImpDownloadAll: return DownloadMeasured(session_, request, record_).outcome();
        case Op::ImpDownloadSelected:
            request.selection = kImpRows;
            return DownloadMeasured(session_, request, record_).outcome();
        case Op::SingleUpload: return ConfirmAndUploadRefCurves(session_, kUploadRefNo, source_).outcome();
        case Op::ListUpload: return ConfirmAndUploadRefCurves(session_, 0, source_).outcome();
        }
        return Outcome::Busy;
    }

    void CheckMessages(const End& expected) const
    {
        std::vector<std::pair<MsgDlg, std::string>> want;
        if (IsUpload(op_))
            want.emplace_back(MsgDlg::UpLoad, kUploadQuestionText);
        if (expected.outcome == Outcome::Failed)
            want.emplace_back(MsgDlg::Rs232cErr, kCannotCommunicateText);
        if (expected.outcome == Outcome::Done) {
            if (IsUpload(op_))
                want.emplace_back(MsgDlg::UpDownloadEnd, kUploadEndText);
            else if (IsDownload(op_))
                want.emplace_back(MsgDlg::UpDownloadEnd,
                                  IsRefDownload(op_) ? kRefDownloadEndText : kImpDownloadEndText);
        }
        std::vector<std::pair<MsgDlg, std::string>> shown;
        for (const qlxtest::UiCall& c : ui_.Messages())
            shown.emplace_back(c.dialog, c.text);
        EXPECT_EQ(shown, want) << "messages shown";
    }

    void CheckCommands(const End& expected)
    {
        std::vector<std::string> want(plan_.commands.begin(), plan_.commands.begin() + expected.commands);
        if (expected.stopCommand)
            want.push_back("RSTP\x03");
        // A vanished device has no line left to settle; it logged what it got.
        const std::vector<std::string> sent =
            fault_ == Fault::Vanish ? sim_.Commands() : qlxtest::SettledCommands(sim_);
        EXPECT_EQ(sent.size(), want.size()) << "commands sent";
        EXPECT_TRUE(sent == want) << "commands differ from the first " << want.size() << " of a sound run";
        EXPECT_EQ(sim_.Vanished(), fault_ == Fault::Vanish);
        if (op_ == Op::Measurement)
            return;  // its pauses are the sweep wait's as well
        // One pause before every data command or packet: 100 ms before an
        // upload's header, 25 ms before anything else.
        std::vector<int> wantPauses;
        for (int i = 1; i < expected.commands; ++i)
            wantPauses.push_back(plan_.commands[i].rfind("WIMP", 0) == 0 ? 100 : kDataPauseMs);
        EXPECT_EQ(pauses_, wantPauses) << "pauses before the commands";
    }

    void CheckInputsAndWindow(const End& expected) const
    {
        EXPECT_TRUE(source_.RefLines == sourceBefore_.RefLines && source_.ListLines == sourceBefore_.ListLines &&
                    source_.RefListDir == sourceBefore_.RefListDir)
            << "the upload's source changed";
        const bool listingDone = expected.outcome == Outcome::Done && (op_ == Op::RefListing || op_ == Op::ImpListing);
        if (!listingDone) {
            EXPECT_TRUE(window_ == windowBefore_) << "the window's curve or lists changed";
            return;
        }
        // A listing that ran to its end (a cancel too late) replaces its list.
        WindowState want = windowBefore_;
        if (op_ == Op::RefListing) {
            want.refNames.fill("");
            for (int i = 0; i < 3; ++i)
                want.refNames[kStoredSlots[i]] = Padded(kRefNames[i]);
        } else {
            want.impEntries.fill("");
            for (int i = 0; i < 3; ++i) {
                want.impEntries[2 * kStoredSlots[i]] = kStamps[i];
                want.impEntries[2 * kStoredSlots[i] + 1] = Padded(kImpNames[i]);
            }
        }
        EXPECT_TRUE(window_ == want) << "the listing's result";
    }

    void CheckFiles(const End& expected) const
    {
        std::map<std::string, std::string> want = filesBefore_;
        if (IsDownload(op_)) {
            for (const auto& [path, bytes] : ExpectedDownloadFiles(op_, expected, sim_.Memory(), dir_.path().string()))
                want[path] = bytes;
            EXPECT_EQ(record_.runFolderRemoved, expected.outcome == Outcome::Cancelled) << "run folder removed";
            if (expected.outcome != Outcome::Done) {
                EXPECT_EQ(ui_.Count(qlxtest::UiCall::ChooseFolder), k_ > 1 ? 1 : 0) << "folder browser";
            }
        }
        const std::map<std::string, std::string> found = Snapshot(dir_.path());
        for (const auto& [path, bytes] : want) {
            const auto it = found.find(path);
            if (it == found.end()) {
                ADD_FAILURE() << "missing: " << path;
            } else if (it->second != bytes) {
                ADD_FAILURE() << "content differs: " << path << " (" << it->second.size() << " bytes, " << bytes.size()
                              << " expected)";
            }
        }
        for (const auto& [path, bytes] : found) {
            if (!want.count(path))
                ADD_FAILURE() << "left behind: " << path;
        }
    }

    Op op_;
    Fault fault_;
    int k_;
    Plan plan_;
    qlxsim::Qlx50Sim sim_{qlxsim::SimConfig{true, 20, false, 1, MatrixMemory(), {}}};
    Trs232c port_;
    ScriptedUi ui_;
    InstrumentSession session_{port_, ui_};
    qlxtest::TempDir dir_;
    std::string destination_;
    WindowState window_;
    WindowState windowBefore_;
    RefUploadSource source_;
    RefUploadSource sourceBefore_;
    DownloadRecord record_;
    std::map<std::string, std::string> filesBefore_;
    int rxAtStart_ = 0;
    std::vector<int> pauses_;  // recorded instead of waited
    bool cancelPressed_ = false;
};

struct CellReport {
    Op op = Op::StatusCheck;
    Pos pos = AtStatus;
    Fault fault = Fault::Silence;
    bool applicable = true;
    End expected;
    std::vector<std::string> failures;
};

// Runs a cell with its failures collected instead of reported, so that cells
// can run side by side and each failure is reported with its cell's name.
void RunCell(CellReport& cell)
{
    const Plan plan = PlanOf(cell.op);
    const int k = plan.at[cell.pos];
    // Nothing can be cancelled before the progress dialog opens.
    cell.applicable = k > 0 && !(cell.fault == Fault::Cancel && k == 1);
    if (!cell.applicable)
        return;
    cell.expected = ExpectedEnd(cell.op, plan, cell.fault, k);
    ::testing::TestPartResultArray results;
    {
        ::testing::ScopedFakeTestPartResultReporter reporter(
            ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &results);
        MatrixCell matrixCell(cell.op, cell.fault, k);
        matrixCell.RunAndCheck();
    }
    for (int i = 0; i < results.size(); ++i)
        cell.failures.push_back(results.GetTestPartResult(i).message());
}

std::string EndText(const End& end)
{
    switch (end.outcome) {
    case Outcome::Done: return "done";
    case Outcome::Cancelled: return "cncl";
    case Outcome::Failed: return "fail";
    case Outcome::Busy: return "busy";
    }
    return "";
}

void PrintMatrix(const std::vector<CellReport>& cells)
{
    constexpr int kRowWidth = 40;
    constexpr int kCellWidth = 10;
    std::ostringstream out;
    out << std::left << std::setw(kRowWidth) << "operation / exchange";
    for (Fault f : kFaults)
        out << std::setw(kCellWidth) << FaultName(f);
    out << "\n";
    int rows = 0, applicable = 0, hold = 0;
    for (Op op : kOps)
        for (int pos = 0; pos < kPositions; ++pos) {
            const Plan plan = PlanOf(op);
            if (plan.at[pos] == 0)
                continue;
            ++rows;
            std::ostringstream row;
            row << OpName(op) << " / " << kPosNames[pos] << " #" << plan.at[pos];
            out << std::setw(kRowWidth) << row.str();
            for (const CellReport& c : cells) {
                if (c.op != op || c.pos != pos)
                    continue;
                std::string text = "n/a";
                if (c.applicable) {
                    ++applicable;
                    hold += c.failures.empty() ? 1 : 0;
                    text = EndText(c.expected) + (c.failures.empty() ? " ok" : " BAD");
                }
                out << std::setw(kCellWidth) << text;
            }
            out << "\n";
        }
    const int columns = static_cast<int>(std::size(kFaults));
    out << "\n"
        << rows << " rows x " << columns << " columns = " << rows * columns << " cells, " << applicable
        << " applicable, " << hold << " hold\n"
        << "#n: the command number of the exchange (1 = status); done/cncl/fail: the specified end of the cell\n"
        << "(message and files of that end checked); n/a: no cancel before the progress dialog exists.\n";
    std::cout << out.str() << std::flush;
    ::testing::Test::RecordProperty("cells", rows * columns);
    ::testing::Test::RecordProperty("applicable", applicable);
    ::testing::Test::RecordProperty("hold", hold);
}

TEST(FaultMatrix, EveryOperationSurvivesEveryFaultAtEveryExchange)
{
    std::vector<CellReport> cells;
    for (Op op : kOps)
        for (int pos = 0; pos < kPositions; ++pos)
            for (Fault f : kFaults) {
                CellReport cell;
                cell.op = op;
                cell.pos = static_cast<Pos>(pos);
                cell.fault = f;
                cells.push_back(cell);
            }
    // Cells wait out read limits on purpose; side by side they take less time.
    std::atomic<size_t> next{0};
    std::vector<std::thread> workers;
    for (int w = 0; w < 4; ++w)
        workers.emplace_back([&] {
            for (size_t i; (i = next++) < cells.size();)
                RunCell(cells[i]);
        });
    for (std::thread& t : workers)
        t.join();

    PrintMatrix(cells);
    for (const CellReport& c : cells)
        for (const std::string& failure : c.failures)
            ADD_FAILURE() << OpName(c.op) << " / " << kPosNames[c.pos] << " / " << FaultName(c.fault) << ":\n"
                          << failure;
}

}  // namespace
}  // namespace qlx
