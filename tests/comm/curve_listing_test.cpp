#include "comm/download_fixture.h"
#include "model/sjis.h"

namespace qlx {
namespace {

using qlxtest::UiCall;

class CurveListing : public DownloadTest {};

std::string Padded(std::string bytes)
{
    bytes.resize(12, ' ');
    return bytes;
}

TEST_F(CurveListing, ReferencesOfAFewOccupiedSlots)
{
    qlxsim::SimMemory memory;
    memory.ref[0] = StoredReference("WOOFER-16A", 1);
    memory.ref[2] = StoredReference(*Utf8ToSjis("低音12/8Ω"), 2);
    memory.ref[63] = StoredReference("LAST", 3);
    Store(memory);

    const OpResult<RefNames> names = ListReferences(session);

    ASSERT_TRUE(names.done());
    for (int n = 1; n <= 64; ++n) {
        const std::string expected = n == 1    ? "WOOFER-16A  "
                                     : n == 3  ? Padded(*Utf8ToSjis("低音12/8Ω"))
                                     : n == 64 ? "LAST        "
                                               : "";
        EXPECT_EQ(names.value()[n - 1], expected) << "No. " << n;
    }
    std::vector<std::string> expected{StatusCmd()};
    for (int s = 0; s < 64; ++s)
        expected.push_back(ReadCmd('R', s, 0, 'H'));
    EXPECT_EQ(Settled(), expected);
    EXPECT_EQ(ProgressMaximum(), 64);
    EXPECT_EQ(ui.steps(), 64);
    EXPECT_TRUE(ui.Messages().empty());
    ExpectEndedCleanly();
}

TEST_F(CurveListing, MeasuredStampsAndNamesWithRow64ShowingSlot0)
{
    qlxsim::SimMemory memory;
    memory.meas[0] = StoredMeasured("241207090000", "FIRST", 1);
    memory.meas[3] = StoredMeasured("241208153012", "Woofer A", 2);
    Store(memory);

    const OpResult<ImpEntries> entries = ListMeasured(session);

    ASSERT_TRUE(entries.done());
    for (int e = 0; e < 128; ++e) {
        const std::string expected = e == 0   ? "241207090000"
                                     : e == 1 ? "FIRST       "
                                     : e == 6 ? "241208153012"
                                     : e == 7 ? "Woofer A    "
                                              : "";
        EXPECT_EQ(entries.value()[e], expected) << "entry " << e;
    }
    // What rows 3 and 64 show.
    EXPECT_EQ(StampDateText(entries.value()[ImpRowStampEntry(3)]), "2024/12/08 15:30:12");
    EXPECT_EQ(entries.value()[ImpRowStampEntry(3) + 1], "Woofer A    ");
    EXPECT_EQ(StampDateText(entries.value()[ImpRowStampEntry(64)]), "2024/12/07 09:00:00");
    EXPECT_EQ(StampDateText(entries.value()[ImpRowStampEntry(1)]), "");

    std::vector<std::string> expected{StatusCmd()};
    for (int s = 0; s < 64; ++s) {
        expected.push_back(ReadCmd('M', s, 0, 'H'));
        expected.push_back(ReadCmd('M', s, 3, 'H'));
    }
    EXPECT_EQ(Settled(), expected);
    EXPECT_EQ(ProgressMaximum(), 64);
    ExpectEndedCleanly();
}

TEST_F(CurveListing, WindowEventsRunAfterEveryReceivedByte)
{
    qlxsim::SimMemory memory;
    memory.ref[4] = StoredReference("W", 1);
    Store(memory);
    ASSERT_TRUE(ListReferences(session).done());
    // Every header reply: its data bytes and the ETX; and one per step.
    int bytes = 0;
    for (int s = 0; s < 64; ++s) {
        const CurveLines& slot = memory.ref[s];
        bytes += static_cast<int>((slot[0] + "\n" + slot[1] + "\n" + slot[2]).size()) + 1;
    }
    EXPECT_EQ(ui.Count(UiCall::ProcessEvents), bytes + 64);
}

TEST_F(CurveListing, FailedOrCancelledListingReturnsNoList)
{
    qlxsim::SimMemory memory;
    memory.ref[0] = StoredReference("A", 1);
    memory.meas[0] = StoredMeasured("241208153012", "A", 1);
    Store(memory);
    struct Case {
        const char* what;
        bool measured;
        int cancelAtStep;
        int silenceAfterCommands;
        bool badPort;
        Outcome outcome;
        std::size_t commands;  // sent, the status included
    };
    const Case cases[] = {
        {"references cancelled at the fifth step", false, 5, -1, false, Outcome::Cancelled, 5},
        {"measured cancelled at the fifth step", true, 5, -1, false, Outcome::Cancelled, 9},
        {"references silent at No. 3", false, 0, 3, false, Outcome::Failed, 4},
        {"measured silent at slot 1's name", true, 0, 4, false, Outcome::Failed, 5},
        {"references, port cannot open", false, 0, -1, true, Outcome::Failed, 0},
        {"measured, port cannot open", true, 0, -1, true, Outcome::Failed, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ui = qlxtest::ScriptedUi();
        ui.cancelAtStep = c.cancelAtStep;
        qlxsim::SimFaults faults;
        faults.silenceAfterCommands = c.silenceAfterCommands;
        sim.SetFaults(faults);
        sim.ClearLog();
        session.ComPortName = c.badPort ? dir.file("no-such-port") : sim.devicePath();
        QuickTimeout();

        const Outcome outcome = c.measured ? ListMeasured(session).outcome() : ListReferences(session).outcome();

        EXPECT_EQ(outcome, c.outcome);
        EXPECT_EQ(Settled().size(), c.commands);
        if (c.outcome == Outcome::Cancelled)
            EXPECT_TRUE(ui.Messages().empty());
        else if (c.badPort)
            ExpectOnlyMessage(MsgDlg::Rs232cOpenErr, kPortOpenErrorText);
        else
            ExpectOnlyMessage(MsgDlg::Rs232cErr, kCannotCommunicateText);
        ExpectEndedCleanly();
    }
}

TEST_F(CurveListing, HeaderTooShortForItsFlagsByteIsAnEmptySlot)
{
    // No. 1 and 2 stored; No. 2's reply is cut. A reply of 17 data bytes
    // lacks byte 17: the slot is empty, even though the reply before it held
    // a stored curve's flags at that place. With 18 bytes the flags are there.
    qlxsim::SimMemory memory;
    memory.ref[0] = StoredReference("FIRST-CURVE", 1);
    memory.ref[1] = StoredReference("SECOND-CURVE", 2);
    memory.meas[0] = StoredMeasured("241208153012", "FIRST", 1);
    memory.meas[1] = StoredMeasured("241208153013", "SECOND", 2);
    Store(memory);
    for (int bytes : {17, 18}) {
        SCOPED_TRACE(bytes);
        qlxsim::SimFaults faults;
        faults.shortReadSlot = 1;
        faults.shortReadBytes = bytes;
        sim.SetFaults(faults);

        const OpResult<RefNames> names = ListReferences(session);
        const OpResult<ImpEntries> entries = ListMeasured(session);

        ASSERT_TRUE(names.done());
        ASSERT_TRUE(entries.done());
        EXPECT_EQ(names.value()[0], "FIRST-CURVE ");
        EXPECT_EQ(names.value()[1], bytes >= 18 ? "SECOND-CURVE" : "");
        EXPECT_EQ(entries.value()[2], bytes >= 18 ? "241208153013" : "");
        EXPECT_EQ(entries.value()[3], bytes >= 18 ? "SECOND      " : "");
    }
}

TEST_F(CurveListing, SecondOperationFromTheWindowsEventsIsRefused)
{
    std::optional<Outcome> inner;
    ui.onProcessEvents = [&] {
        if (!inner)
            inner = ListMeasured(session).outcome();
    };
    EXPECT_TRUE(ListReferences(session).done());
    EXPECT_EQ(inner, Outcome::Busy);
    EXPECT_EQ(Settled().size(), 65u);
    ExpectEndedCleanly();
}

}  // namespace
}  // namespace qlx
