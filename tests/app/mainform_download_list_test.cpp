// The download page's listings, sorting and trigger rule, against the
// simulator.
#include <QAction>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <functional>

#include "app/download_page.h"
#include "comm/messages.h"
#include "download_window_fixture.h"
#include "sim_curves.h"
#include "ui/dlg_sinkou.h"

namespace qlxtest {
namespace {

using Row = std::vector<std::string>;

std::vector<std::string> RefListingCommands()
{
    std::vector<std::string> commands{StatusCmd()};
    for (int s = 0; s < 64; ++s)
        commands.push_back(ReadCmd('R', s, 0, 'H'));
    return commands;
}

std::vector<std::string> ImpListingCommands()
{
    std::vector<std::string> commands{StatusCmd()};
    for (int s = 0; s < 64; ++s) {
        commands.push_back(ReadCmd('M', s, 0, 'H'));
        commands.push_back(ReadCmd('M', s, 3, 'H'));
    }
    return commands;
}

// A memory whose references are the given numbers with these names
// (Shift-JIS bytes) and whose measured slots are empty.
qlxsim::SimMemory ReferencesNamed(const std::vector<std::pair<int, std::string>>& names)
{
    const qlxsim::SimMemory stored = qlxsim::DefaultMemory(1);
    qlxsim::SimMemory memory;
    for (const auto& [number, name] : names) {
        qlx::CurveLines c = stored.ref[0];
        c[qlx::NameLine] = qlx::NameLineFor(name);
        qlxsim::SimMemory::MakeInstrumentForm(c, true);
        memory.ref[static_cast<size_t>(number - 1)] = c;
    }
    return memory;
}

std::vector<int> Range(int from, int to)
{
    std::vector<int> r;
    for (int i = from; from <= to ? i <= to : i >= to; i += from <= to ? 1 : -1)
        r.push_back(i);
    return r;
}

std::vector<int> Concat(std::initializer_list<std::vector<int>> parts)
{
    std::vector<int> all;
    for (const auto& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

TEST_F(DownloadWindow, ListingsShowEveryRowAndEnableTheViewAndItsSelectedButton)
{
    qlx::DownloadPageUi& p = form->ui.download;
    for (QWidget* w : std::initializer_list<QWidget*>{p.RefCurveListView, p.ListSelRefNoDownLoadButton,
                                                      p.ImpCurveListView, p.ListSelImpDownLoadButton})
        EXPECT_FALSE(w->isEnabled()) << "disabled until a list was read";

    Press(p.RefCurveListButton);
    EXPECT_EQ(Commands(), RefListingCommands());
    EXPECT_EQ(Numbers(p.RefCurveListView), Range(1, 64));
    const std::vector<Row> refs = Rows(p.RefCurveListView);
    ASSERT_EQ(refs.size(), 64u);
    EXPECT_EQ(refs[0], (Row{"1", "WOOFER-16A  "}));
    EXPECT_EQ(refs[4], (Row{"5", "ウーファー18"}));  // Shift-JIS name shown as its text
    EXPECT_EQ(refs[6], (Row{"7", ""}));
    EXPECT_EQ(refs[9], (Row{"10", "WOOFER-16B  "}));
    EXPECT_EQ(refs[31], (Row{"32", "低音12/8Ω  "}));
    EXPECT_EQ(refs[63], (Row{"64", ""}));
    EXPECT_TRUE(p.RefCurveListView->isEnabled());
    EXPECT_TRUE(p.ListSelRefNoDownLoadButton->isEnabled());
    EXPECT_FALSE(p.ImpCurveListView->isEnabled());

    sim.ClearLog();
    Press(p.ImpCurveListButton);
    EXPECT_EQ(Commands(), ImpListingCommands());
    EXPECT_EQ(Numbers(p.ImpCurveListView), Range(1, 64));
    const std::vector<Row> imps = Rows(p.ImpCurveListView);
    ASSERT_EQ(imps.size(), 64u);
    EXPECT_EQ(imps[0], (Row{"1", "2024/12/08 10:07:13", "FULLRANGE 8 "}));
    EXPECT_EQ(imps[3], (Row{"4", "2024/12/08 13:28:52", "ウーファー18"}));
    EXPECT_EQ(imps[11], (Row{"12", "", ""}));
    EXPECT_EQ(imps[21], (Row{"22", "2024/12/10 09:12:07", "低音12/8Ω  "}));
    EXPECT_EQ(imps[39], (Row{"40", "2024/12/11 14:09:58", "WOOFER-16A  "}));
    EXPECT_EQ(imps[63], (Row{"64", "2024/12/08 09:00:00", "WOOFER-16A  "})) << "row 64 shows slot 0";
    EXPECT_TRUE(p.ImpCurveListView->isEnabled());
    EXPECT_TRUE(p.ListSelImpDownLoadButton->isEnabled());

    EXPECT_TRUE(shown.empty());
    EXPECT_FALSE(form->Rs232c.opened());
    EXPECT_EQ(qlx::TDlgSinkou::Instance(), nullptr);
}

TEST_F(DownloadWindow, FailedOrCancelledListingLeavesTheViewAsItWas)
{
    qlx::DownloadPageUi& p = form->ui.download;
    struct View {
        const char* what;
        QPushButton* list;
        QTreeWidget* view;
        QPushButton* selected;
    };
    const View views[] = {
        {"references", p.RefCurveListButton, p.RefCurveListView, p.ListSelRefNoDownLoadButton},
        {"measured curves", p.ImpCurveListButton, p.ImpCurveListView, p.ListSelImpDownLoadButton},
    };
    qlxsim::SimFaults nakOn10;  // the ninth header read of the listing
    nakOn10.wrongFirstByte = 0x15;
    nakOn10.onlyReplyTo = 10;
    struct End {
        const char* what;
        qlxsim::SimFaults faults;
        int cancelAtStep;
        std::vector<std::string> messages;
    };
    const End ends[] = {
        {"NAK", nakOn10, 0, {std::string("Rs232cErr: ") + qlx::kCannotCommunicateText}},
        {"cancel", {}, 5, {}},
    };
    const qlxsim::SimMemory stored = sim.Memory();
    const auto list = [&](const View& v, const End& e) {
        sim.SetFaults(e.faults);
        shown.clear();
        if (e.cancelAtStep)
            CancelAtStep(e.cancelAtStep);
        Press(v.list);
        EXPECT_EQ(shown, e.messages);
        EXPECT_FALSE(form->Rs232c.opened());
        EXPECT_EQ(qlx::TDlgSinkou::Instance(), nullptr);
        sim.SetFaults({});
    };

    // Never listed: the views stay empty and disabled.
    for (const View& v : views) {
        for (const End& e : ends) {
            SCOPED_TRACE(std::string(v.what) + ", " + e.what + ", first listing");
            list(v, e);
            EXPECT_EQ(v.view->topLevelItemCount(), 0);
            EXPECT_FALSE(v.view->isEnabled());
            EXPECT_FALSE(v.selected->isEnabled());
        }
    }

    // Listed once: a later listing that fails keeps those rows, even though
    // the instrument now holds nothing; a complete one shows the emptied
    // instrument.
    for (const View& v : views) {
        for (const End& e : ends) {
            SCOPED_TRACE(std::string(v.what) + ", " + e.what + ", after a listing");
            sim.SetMemory(stored);
            Press(v.list);
            const std::vector<Row> before = Rows(v.view);
            ASSERT_EQ(before.size(), 64u);
            ASSERT_EQ(before[0][1].empty(), false);

            sim.SetMemory(qlxsim::SimMemory{});
            list(v, e);
            EXPECT_EQ(Rows(v.view), before);
            EXPECT_TRUE(v.view->isEnabled());
            EXPECT_TRUE(v.selected->isEnabled());

            Press(v.list);
            for (const Row& row : Rows(v.view))
                for (size_t c = 1; c < row.size(); ++c)
                    EXPECT_EQ(row[c], "") << "row " << row[0];
        }
    }
}

TEST_F(DownloadWindow, HeaderClicksSortWithOneDirectionFlagPerColumnFirstDescending)
{
    sim.SetMemory(ReferencesNamed({{2, "bass 2"}, {5, "Alpha"}, {9, "WOOFER"}, {12, "mid"}}));
    qlx::DownloadPageUi& p = form->ui.download;
    Press(p.RefCurveListButton);
    QTreeWidget* refs = p.RefCurveListView;
    CtrlClickRow(refs, 12);
    const std::vector<int> emptyRows = Concat({{1, 3, 4, 6, 7, 8, 10, 11}, Range(13, 64)});

    ClickHeader(refs, 1);  // names descending, case ignored; empty names last
    EXPECT_EQ(Numbers(refs), Concat({{9, 12, 2, 5}, emptyRows}));
    EXPECT_EQ(SelectedNumbers(refs), std::vector<int>{12}) << "the selection moves with its row";
    ClickHeader(refs, 1);  // then ascending
    EXPECT_EQ(Numbers(refs), Concat({emptyRows, {5, 2, 12, 9}}));
    ClickHeader(refs, 0);  // numbers: its own flag, so descending first
    EXPECT_EQ(Numbers(refs), Range(64, 1));
    ClickHeader(refs, 0);
    EXPECT_EQ(Numbers(refs), Range(1, 64));
    EXPECT_EQ(SelectedNumbers(refs), std::vector<int>{12});

    // Measured curves of the simulator: stamps over four days.
    sim.SetMemory(qlxsim::DefaultMemory(1));
    Press(p.ImpCurveListButton);
    sim.ClearLog();
    QTreeWidget* imps = p.ImpCurveListView;
    const std::vector<int> emptyImps = Concat({Range(12, 19), Range(23, 39), Range(41, 63)});
    ClickHeader(imps, 1);  // dates, latest first
    EXPECT_EQ(Numbers(imps), Concat({{40, 22, 21, 20, 7, 6, 11, 10, 9, 8, 5, 4, 3, 2, 1, 64}, emptyImps}));
    ClickHeader(imps, 2);  // names descending (its own flag); equal names keep the date order
    EXPECT_EQ(Numbers(imps), Concat({{22, 10, 4, 21, 20, 40, 6, 64, 11, 5, 7, 1, 9, 3, 8, 2}, emptyImps}));
    ClickHeader(imps, 1);  // dates again, now ascending: the empty stamps first
    EXPECT_EQ(Numbers(imps), Concat({emptyImps, {64, 1, 2, 3, 4, 5, 8, 9, 10, 11, 6, 7, 20, 21, 22, 40}}));
    ClickHeader(imps, 0);
    EXPECT_EQ(Numbers(imps), Range(64, 1));
    EXPECT_EQ(Commands(), std::vector<std::string>{}) << "sorting talks to nobody";
}

TEST_F(DownloadWindow, ButtonsActOnlyWithTheFocusAndTheMenuItemsAlways)
{
    qlx::DownloadPageUi& p = form->ui.download;
    qlx::DownloadPage& page = *form->downloadPage;
    Press(p.RefCurveListButton);
    Press(p.ImpCurveListButton);
    p.RefCurveListView->topLevelItem(0)->setSelected(true);
    p.ImpCurveListView->topLevelItem(0)->setSelected(true);
    sim.ClearLog();

    // A handler reached while another control holds the focus does nothing.
    struct Handler {
        const char* what;
        std::function<void()> call;
    };
    const Handler handlers[] = {
        {"RefCurveListButtonClick", [&] { page.RefCurveListButtonClick(); }},
        {"AllRefNoDownLoadButtonClick", [&] { page.AllRefNoDownLoadButtonClick(p.AllRefNoDownLoadButton); }},
        {"ListSelRefNoDownLoadButtonClick", [&] { page.ListSelRefNoDownLoadButtonClick(); }},
        {"ImpCurveListButtonClick", [&] { page.ImpCurveListButtonClick(); }},
        {"AllImpDownLoadButtonClick", [&] { page.AllImpDownLoadButtonClick(p.AllImpDownLoadButton); }},
        {"ListSelImpDownLoadButtonClick", [&] { page.ListSelImpDownLoadButtonClick(); }},
    };
    p.RefCurveListView->setFocus();
    for (const Handler& h : handlers) {
        h.call();
        EXPECT_EQ(Commands(), std::vector<std::string>{}) << h.what;
    }
    EXPECT_TRUE(browsers.empty());

    // The menu items act from anywhere, by click or by their shortcuts; the
    // folder browser is cancelled, which ends the run without a message.
    struct Item {
        const char* what;
        std::function<void()> use;
        const char* instruction;
    };
    const Item items[] = {
        {"RefDownloadMenu", [&] { form->ui.menus.RefDownloadMenu->trigger(); }, qlx::kRefFolderTitle},
        {"ImpDownloadMenu", [&] { form->ui.menus.ImpDownloadMenu->trigger(); }, qlx::kImpFolderTitle},
        {"Ctrl+Shift+D", [&] { QTest::keyClick(form.get(), Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier); },
         qlx::kRefFolderTitle},
        {"Ctrl+D", [&] { QTest::keyClick(form.get(), Qt::Key_D, Qt::ControlModifier); }, qlx::kImpFolderTitle},
    };
    for (const Item& item : items) {
        SCOPED_TRACE(item.what);
        browsers.clear();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        p.RefCurveListView->setFocus();
        item.use();
        EXPECT_EQ(Commands(), std::vector<std::string>{StatusCmd()});
        ASSERT_EQ(browsers.size(), 1u);
        EXPECT_EQ(browsers[0].instruction, item.instruction);
        EXPECT_TRUE(shown.empty());
        EXPECT_TRUE(EntriesOf(destination).empty());
        EXPECT_TRUE(form->settings.RefDownloadDir.empty());
        EXPECT_TRUE(form->settings.ImpDownloadDir.empty());
        EXPECT_FALSE(form->Rs232c.opened());
        sim.ClearLog();
    }
}

}  // namespace
}  // namespace qlxtest
