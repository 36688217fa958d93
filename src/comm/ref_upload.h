#pragma once

#include <optional>
#include <string>

#include "comm/instrument_session.h"
#include "comm/upload_packets.h"
#include "model/file_io.h"
#include "model/ref_list.h"

namespace qlx {

// What an upload writes from. The operation only reads it: the window's
// curve, grid and list file stay as they are.
struct RefUploadSource {
    // Reference No. 1..64: the reference curve as the window holds it,
    // unsaved edits included.
    CurveLines RefLines{};
    // Reference No. 0: the list's 128 lines, BuildRefListLines(grid) taken
    // just before the upload. Only the path lines are used; the name sent
    // is always the curve file's own NameLine.
    RefListLines ListLines{};
    // Reference No. 0: the list's folder, where a listed curve that was
    // moved beside the list is looked for (none when empty).
    std::string RefListDir;
};

// How a finished upload ended.
struct UploadReport {
    int slotsWritten = 0;               // slots sent completely, from the first
    bool stoppedAtMissingFile = false;  // the user answered No at a missing file
};

// One packet exchange: waits pauseMs (through the session's Pause), sends
// the packet with one write, CommState 10, lets the window run, reads the
// first answer byte, lets the window run again and reads one more byte (its
// absence does not matter). Failed after CommFailure when no first byte came
// or it was not ACK.
StepResult WriteExchange(InstrumentSession& session, const CommandBuffer& packet, int pauseMs);

// Writes reference slots of the instrument as one instrument operation:
// refNo 1..64 writes source.RefLines into that slot, refNo 0 all 64 slots
// from the list, each row's curve file into the slot of its number and an
// EmptyCurve where a row names no file (or the user chose to go on without
// the file). The slot being written when the user cancels is completed; the
// cancel is seen when the next slot begins.
//
// Done (the completion message is due) when every slot was sent, or when
// the user answered No at a missing file (the report says so); Failed when
// the port, the line, a file or an oversized packet failed (already shown,
// slots before stay written); Cancelled; Busy while another operation runs.
// A refNo outside 0..64 does nothing and is Cancelled.
OpResult<UploadReport> UploadRefCurves(InstrumentSession& session, int refNo, const RefUploadSource& source);

// The upload panel's command once its button had the focus (and, for a
// single upload, a reference curve is loaded): UpLoadDlg (anything but Yes
// ends it, Cancelled), UploadRefCurves, and UpDownloadEndDlg when that is
// Done. Busy without a question while another operation runs.
OpResult<UploadReport> ConfirmAndUploadRefCurves(InstrumentSession& session, int refNo, const RefUploadSource& source);

// A listed path counts as present when its first byte is above 0x14.
bool ListedPathPresent(const std::string& path);

// The file a present listed path stands for: the path itself, else the file
// of the same name in refListDir; no value when neither exists.
std::optional<std::string> FindListedCurve(const std::string& path, const std::string& refListDir);

// Reads a curve file for an upload with the curve reader's line rules
// (ReadCurveFileLines: bytes up to 0x20 skipped before each line, at most
// 512 lines): line i fills slot i of 0..491, memo lines are left out, and
// slots the file does not reach keep the EmptyCurve's values. On failure
// `lines` is unchanged and the result holds the file layer's text.
IoResult ReadUploadLines(const std::string& path, UploadLines& lines);

}  // namespace qlx
