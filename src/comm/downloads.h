#pragma once

#include <optional>
#include <string>
#include <vector>

#include "comm/download_lists.h"
#include "comm/download_names.h"
#include "comm/instrument_session.h"

namespace qlx {

// Listings of the curves stored in the instrument. Each is one instrument
// operation (status check, progress "通信中" with 64 steps, one or two header
// exchanges per slot) and is Done only when every exchange succeeded; a
// failed (shown) or cancelled listing returns no list, so the caller's list
// stays as it was. A header reply too short to hold its flags byte (byte 17)
// counts as an empty slot.
OpResult<RefNames> ListReferences(InstrumentSession& session);
OpResult<ImpEntries> ListMeasured(InstrumentSession& session);

// What a download needs from the window.
struct DownloadRequest {
    // RefDownloadDir or ImpDownloadDir: the folder browser opens there when
    // it exists (else the user interface starts in the documents folder).
    std::string rememberedFolder;
    // No value: download everything stored. References: the numbers 1..64
    // of the selected rows (fetched in number order). Measured curves: the
    // numbers 1..64 of the selected rows in the order the list shows them
    // (fetched in that order, each the slot its row shows). Numbers outside
    // 1..64 are left out; a selection of none starts nothing.
    std::optional<std::vector<int>> selection;
    // Today, and the system's short date format
    // (QLocale::system().dateFormat(QLocale::ShortFormat)), for the run
    // folder's name.
    RunDate today;
    std::string shortDateFormat = "yyyy/MM/dd";
};

// What a download changed, filled as the run goes, whatever its end.
struct DownloadRecord {
    // The folder the user confirmed (becomes RefDownloadDir/ImpDownloadDir);
    // empty when the browser was not reached or was cancelled.
    std::string chosenFolder;
    // The run folder made inside it ("Ref_20241208", "Imp_20241208_1", ...
    // as a full path); empty when none was made.
    std::string runFolder;
    // A cancelled run's folder went to the trash (or was deleted).
    bool runFolderRemoved = false;
    // Full paths of the files the run left, in the order they were made:
    // the list file first (references), then the curve files under their
    // final names; a curve file cut short by a failure is among them (a
    // measured one as "temp.q5imp").
    std::vector<std::string> files;
};

// Downloads reference curves into a new folder "Ref_" + date in the folder
// the user picks: the list file (folder name + ".q5lst", 128 lines LF: per
// number "[" name "]" and the curve file's path, or "," and ",") and per
// stored reference a curve file "Ref_No<n>_<name>.q5imp" holding its four
// channel blocks as received (4 x 123 lines, LF). Done after the completion
// message; Cancelled by the folder browser (nothing made) or by the progress
// dialog (the run folder goes to the trash, or is deleted where the trash
// cannot take it); Failed after the user was told (a line failure, or a
// folder or file that could not be made or written, named with the system's
// reason): the port is closed, and what was completed stays.
OpResult<> DownloadReferences(InstrumentSession& session, const DownloadRequest& request, DownloadRecord& record);

// Downloads measured curves into a new folder "Imp_" + date: each stored
// curve is received into "temp.q5imp", read back and renamed to
// ImpCurveFileName of its stamp and name ("_1", "_2", ... before the
// extension when that name is taken, so two curves of the same name and
// stamp both stay). Ends as DownloadReferences.
OpResult<> DownloadMeasured(InstrumentSession& session, const DownloadRequest& request, DownloadRecord& record);

}  // namespace qlx
