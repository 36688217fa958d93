#include <algorithm>
#include <array>

#include "comm/download_run.h"
#include "model/freq_table.h"
#include "model/ref_list.h"

namespace qlx {

namespace {

constexpr const char* kEmptyListEntry = ",\n,\n";
constexpr size_t kNameLineBytes = 14;  // "[" + 12 characters + "]"

// The list file's name line of a stored reference: reply bytes 0..13 as
// received, except that a control byte (which no Shift-JIS character holds)
// is written as a blank, so that the list keeps its two lines per number.
std::string ListNameLine(std::string_view reply)
{
    std::string line(reply.substr(0, kNameLineBytes));
    for (char& c : line)
        if (static_cast<unsigned char>(c) < 0x20)
            c = ' ';
    return line;
}

std::array<bool, kStoredCurveSlots + 1> WantedNumbers(const DownloadRequest& request)
{
    std::array<bool, kStoredCurveSlots + 1> wanted{};
    for (int n = 1; n <= kStoredCurveSlots; ++n)
        wanted[n] = !request.selection;
    if (request.selection)
        for (int n : *request.selection)
            if (n >= 1 && n <= kStoredCurveSlots)
                wanted[n] = true;
    return wanted;
}

// Reference No. n: its four channel blocks into a curve file, or "," and ","
// in the list for a number not wanted or not stored. The run folder and the
// list file are made on the first pass, whatever the mode.
StepResult DownloadNumber(InstrumentSession& session, DownloadRun& run, const DownloadRequest& request, int n,
                          bool wanted)
{
    for (int c = 0; c < kChannelCount; ++c) {
        if (wanted) {
            const CommandBuffer command = ReadCommand(CurveStore::Reference, ReadPart::Curve, n - 1, c);
            if (auto r = session.DataExchange(command, InstrumentSession::ByteEvents::LetWindowRun); !r)
                return r;
        }
        if (n == 1 && c == 0) {
            if (auto r = run.MakeFolder("Ref_", request); !r)
                return r;
            if (auto r = run.Create(run.listFile, run.PathOf(run.folderName() + kRefListExt)); !r)
                return r;
        }
        if (!wanted || (c == 0 && !session.ReplyHoldsCurve()))
            return run.Append(run.listFile, kEmptyListEntry);
        if (c == 0) {
            const std::string path = run.PathOf(run.FreeFileName(RefCurveFileName(n, session.ReplyFieldText())));
            if (auto r = run.Create(run.curveFile, path); !r)
                return r;
            if (auto r = run.Append(run.listFile, ListNameLine(session.ReplyData()) + "\n" + path + "\n"); !r)
                return r;
        }
        if (auto r = run.Append(run.curveFile, std::string(session.ReplyData()) + "\n"); !r)
            return r;
    }
    return run.Close(run.curveFile);
}

}  // namespace

OpResult<> DownloadReferences(InstrumentSession& session, const DownloadRequest& request, DownloadRecord& record)
{
    record = DownloadRecord{};
    InstrumentSession::Operation op(session);
    if (!op.started())
        return Outcome::Busy;
    const auto wanted = WantedNumbers(request);
    if (std::none_of(wanted.begin(), wanted.end(), [](bool w) { return w; }))
        return Outcome::Cancelled;
    if (auto r = session.StatusCheck(); !r)
        return r.outcome();
    DownloadRun run(session, record);
    if (auto r = run.ChooseParent(kRefFolderTitle, request.rememberedFolder); !r)
        return r.outcome();
    session.OpenProgress(kStoredCurveSlots);
    for (int n = 1; n <= kStoredCurveSlots; ++n) {
        if (auto r = session.AdvanceProgress(); !r)
            return run.Cancel().outcome();
        if (auto r = DownloadNumber(session, run, request, n, wanted[n]); !r)
            return r.outcome();
    }
    if (auto r = run.Close(run.listFile); !r)
        return r.outcome();
    return run.Complete(kRefDownloadEndText).outcome();
}

}  // namespace qlx
