#include "comm/ref_upload.h"

#include <algorithm>

#include "model/curve_file.h"

namespace qlx {

namespace {

constexpr unsigned char kLastAbsentPathByte = 0x14;

// What one slot is written with and how many of its blocks go out.
struct SlotSource {
    UploadLines lines;
    int blocks = kUploadBlocks;
    std::string fileName;  // for messages; empty for the open curve
};

enum class Listed { Found, Empty, StopAsked };

// Fills a list slot from its path line: the curve file, or the EmptyCurve
// for a row without a path or (after Yes) a file found nowhere.
OpResult<Listed> ListSlot(InstrumentSession& session, int refNo, const RefUploadSource& source, SlotSource& slot)
{
    const std::string path = ListEntryText(source.ListLines[static_cast<size_t>(2 * (refNo - 1) + 1)]);
    if (ListedPathPresent(path)) {
        slot.fileName = FileNameOf(path);
        if (std::optional<std::string> file = FindListedCurve(path, source.RefListDir)) {
            if (IoResult io = ReadUploadLines(*file, slot.lines); !io) {
                session.FailWith(io.error);
                return Outcome::Failed;
            }
            return Listed::Found;
        }
        if (session.ui().ShowMessage(MsgDlg::ImpFileNothingErr, MissingCurveFileText(refNo, slot.fileName)) != mrYes)
            return Listed::StopAsked;
    }
    slot.lines = EmptyCurve();
    slot.blocks = 1;
    return Listed::Empty;
}

StepResult WriteSlot(InstrumentSession& session, int refNo, const SlotSource& slot)
{
    const std::optional<std::vector<UploadPacket>> packets = SlotPackets(SlotChar(refNo - 1), slot.lines, slot.blocks);
    if (!packets) {
        session.FailWith(PacketTooLongText(refNo, slot.fileName));
        return Outcome::Failed;
    }
    for (const UploadPacket& p : *packets)
        if (auto r = WriteExchange(session, p.bytes, p.pauseMs); !r)
            return r;
    return Outcome::Done;
}

}  // namespace

StepResult WriteExchange(InstrumentSession& session, const CommandBuffer& packet, int pauseMs)
{
    session.Pause(pauseMs);
    session.Send(packet);
    session.SetCommState(CommUploadSent);
    session.ui().ProcessEvents();
    char first = 0;
    if (!session.port().readchar(first)) {
        session.CommFailure();
        return Outcome::Failed;
    }
    session.ui().ProcessEvents();
    char second = 0;
    (void)session.port().readchar(second);  // the byte after the answer may be missing
    if (first != ACK) {
        session.CommFailure();
        return Outcome::Failed;
    }
    return Outcome::Done;
}

OpResult<UploadReport> UploadRefCurves(InstrumentSession& session, int refNo, const RefUploadSource& source)
{
    if (refNo < 0 || refNo > kSlotCount64)
        return Outcome::Cancelled;
    InstrumentSession::Operation op(session);
    if (!op.started())
        return Outcome::Busy;
    if (auto r = session.StatusCheck(); !r)
        return r.outcome();

    const bool list = refNo == 0;
    const int slots = list ? kSlotCount64 : 1;
    session.OpenProgress(slots);
    UploadReport report;
    for (int n = 0; n < slots; ++n) {
        const int r = list ? n + 1 : refNo;
        if (auto step = session.AdvanceProgress(); !step)
            return step.outcome();
        SlotSource slot;
        if (list) {
            const OpResult<Listed> listed = ListSlot(session, r, source, slot);
            if (!listed)
                return listed.outcome();
            if (listed.value() == Listed::StopAsked) {
                report.stoppedAtMissingFile = true;
                return report;
            }
        } else {
            std::copy(source.RefLines.begin(), source.RefLines.begin() + MemoSlot, slot.lines.begin());
        }
        if (auto written = WriteSlot(session, r, slot); !written)
            return written.outcome();
        ++report.slotsWritten;
    }
    return report;
}

OpResult<UploadReport> ConfirmAndUploadRefCurves(InstrumentSession& session, int refNo, const RefUploadSource& source)
{
    if (session.busy())
        return Outcome::Busy;
    if (session.ui().ShowMessage(MsgDlg::UpLoad, kUploadQuestionText) != mrYes)
        return Outcome::Cancelled;
    OpResult<UploadReport> result = UploadRefCurves(session, refNo, source);
    if (result)
        session.ui().ShowMessage(MsgDlg::UpDownloadEnd, kUploadEndText);
    return result;
}

bool ListedPathPresent(const std::string& path)
{
    return !path.empty() && static_cast<unsigned char>(path.front()) > kLastAbsentPathByte;
}

std::optional<std::string> FindListedCurve(const std::string& path, const std::string& refListDir)
{
    if (FileExists(path))
        return path;
    if (refListDir.empty())
        return std::nullopt;
    const std::string beside = JoinPath(refListDir, FileNameOf(path));
    if (FileExists(beside))
        return beside;
    return std::nullopt;
}

IoResult ReadUploadLines(const std::string& path, UploadLines& lines)
{
    std::vector<std::string> fileLines;
    IoResult io = ReadCurveFileLines(path, fileLines);
    if (!io)
        return io;
    lines = EmptyCurve();
    const size_t sent = std::min(fileLines.size(), static_cast<size_t>(MemoSlot));
    std::copy(fileLines.begin(), fileLines.begin() + static_cast<std::ptrdiff_t>(sent), lines.begin());
    return io;
}

}  // namespace qlx
