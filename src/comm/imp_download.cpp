#include <vector>

#include "comm/download_run.h"
#include "model/curve_file.h"
#include "model/freq_table.h"

namespace qlx {

namespace {

constexpr const char* kTempFileName = "temp.q5imp";

// The slots to fetch, in order: all 64 from slot 0, or the slot each
// selected row shows.
std::vector<int> SlotsToFetch(const DownloadRequest& request)
{
    std::vector<int> slots;
    if (!request.selection) {
        for (int s = 0; s < kStoredCurveSlots; ++s)
            slots.push_back(s);
        return slots;
    }
    for (int row : *request.selection)
        if (row >= 1 && row <= kStoredCurveSlots)
            slots.push_back(ImpRowSlot(row));
    return slots;
}

// The received curve file read back as a curve, and renamed after its
// stamp and name to a name no file of the run folder has.
StepResult GiveFinalName(DownloadRun& run, DownloadRecord& record)
{
    const std::string temp = run.PathOf(kTempFileName);
    CurveLines lines{};
    if (IoResult io = ReadCurveFile(temp, lines); !io)
        return run.FileFailure(io);
    const std::string path = run.PathOf(run.FreeFileName(ImpCurveFileName(lines[StampLine], lines[NameLine])));
    if (IoResult io = RenameFile(temp, path); !io)
        return run.FileFailure(io);
    record.files.back() = path;
    return Outcome::Done;
}

// One slot: its four channel blocks into "temp.q5imp", which then gets its
// final name; nothing for an empty slot. The run folder is made on the
// first slot of the run.
StepResult DownloadSlot(InstrumentSession& session, DownloadRun& run, DownloadRecord& record,
                        const DownloadRequest& request, int slot, bool first)
{
    for (int c = 0; c < kChannelCount; ++c) {
        const CommandBuffer command = ReadCommand(CurveStore::Measured, ReadPart::Curve, slot, c);
        if (auto r = session.DataExchange(command, InstrumentSession::ByteEvents::LetWindowRun); !r)
            return r;
        if (first && c == 0)
            if (auto r = run.MakeFolder("Imp_", request); !r)
                return r;
        if (c == 0) {
            if (!session.ReplyHoldsCurve())
                return Outcome::Done;
            if (auto r = run.Create(run.curveFile, run.PathOf(kTempFileName)); !r)
                return r;
        }
        if (auto r = run.Append(run.curveFile, std::string(session.ReplyData()) + "\n"); !r)
            return r;
    }
    if (auto r = run.Close(run.curveFile); !r)
        return r;
    return GiveFinalName(run, record);
}

}  // namespace

OpResult<> DownloadMeasured(InstrumentSession& session, const DownloadRequest& request, DownloadRecord& record)
{
    record = DownloadRecord{};
    InstrumentSession::Operation op(session);
    if (!op.started())
        return Outcome::Busy;
    const std::vector<int> slots = SlotsToFetch(request);
    if (slots.empty())
        return Outcome::Cancelled;
    if (auto r = session.StatusCheck(); !r)
        return r.outcome();
    DownloadRun run(session, record);
    if (auto r = run.ChooseParent(kImpFolderTitle, request.rememberedFolder); !r)
        return r.outcome();
    session.OpenProgress(static_cast<int>(slots.size()));
    for (size_t i = 0; i < slots.size(); ++i) {
        if (auto r = session.AdvanceProgress(); !r)
            return run.Cancel().outcome();
        if (auto r = DownloadSlot(session, run, record, request, slots[i], i == 0); !r)
            return r.outcome();
    }
    return run.Complete(kImpDownloadEndText).outcome();
}

}  // namespace qlx
