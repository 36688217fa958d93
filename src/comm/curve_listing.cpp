#include "comm/downloads.h"

namespace qlx {

namespace {

// One header exchange; the entry is the 12 characters of the block's first
// line when the reply marks a stored curve, else empty.
StepResult ReadHeaderEntry(InstrumentSession& session, CurveStore store, int slot, int block, std::string& entry)
{
    if (auto r = session.DataExchange(ReadCommand(store, ReadPart::Header, slot, block),
                                      InstrumentSession::ByteEvents::LetWindowRun);
        !r)
        return r;
    entry = session.ReplyHoldsCurve() ? session.ReplyFieldText() : std::string();
    return Outcome::Done;
}

}  // namespace

OpResult<RefNames> ListReferences(InstrumentSession& session)
{
    InstrumentSession::Operation op(session);
    if (!op.started())
        return Outcome::Busy;
    if (auto r = session.StatusCheck(); !r)
        return r.outcome();
    session.OpenProgress(kStoredCurveSlots);
    RefNames names;
    for (int n = 1; n <= kStoredCurveSlots; ++n) {
        if (auto r = session.AdvanceProgress(); !r)
            return r.outcome();
        if (auto r = ReadHeaderEntry(session, CurveStore::Reference, n - 1, 0, names[n - 1]); !r)
            return r.outcome();
    }
    return names;
}

OpResult<ImpEntries> ListMeasured(InstrumentSession& session)
{
    InstrumentSession::Operation op(session);
    if (!op.started())
        return Outcome::Busy;
    if (auto r = session.StatusCheck(); !r)
        return r.outcome();
    session.OpenProgress(kStoredCurveSlots);
    ImpEntries entries;
    for (int s = 0; s < kStoredCurveSlots; ++s) {
        if (auto r = session.AdvanceProgress(); !r)
            return r.outcome();
        // Block 0 begins with the time stamp, block 3 with the name.
        if (auto r = ReadHeaderEntry(session, CurveStore::Measured, s, 0, entries[2 * s]); !r)
            return r.outcome();
        if (auto r = ReadHeaderEntry(session, CurveStore::Measured, s, 3, entries[2 * s + 1]); !r)
            return r.outcome();
    }
    return entries;
}

}  // namespace qlx
