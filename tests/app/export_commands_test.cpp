#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <filesystem>

#include "app/export_commands.h"
#include "app/graph_widget.h"
#include "app/mainform.h"
#include "graph/graph_colours.h"
#include "graph/graph_images.h"
#include "model/curve_file.h"
#include "model/freq_table.h"
#include "scripted_file_dialogs.h"
#include "support/bmp_reader.h"
#include "support/temp_dir.h"

namespace qlx {
namespace {

namespace fs = std::filesystem;
using qlxtest::ReadAll;
using qlxtest::TempDir;

// Terminal "E" (channels 1 and 2), channel 1 valid from index 10 (range
// codes at the line's positions 2 and 3, counted from 1), a few values of
// every form on channel 1.
CurveLines MeasuredCurve()
{
    CurveLines c{};
    FillDefaults(c);
    c[TerminalLine] = "E";
    SetFlags(c, FlagRangeValid);
    c[FreqRangeLine][1] = CodeChar(10);
    c[FreqRangeLine][2] = CodeChar(119);
    for (int j = 0; j < kPointCount; ++j) {
        c[PointSlot(0, j)] = std::to_string(300 + 4 * j);
        c[PointSlot(1, j)] = "987";
        c[PointSlot(2, j)] = "111";
        c[PointSlot(3, j)] = "222";
    }
    c[PointSlot(0, 10)] = "1234";
    c[PointSlot(0, 11)] = "5";
    c[PointSlot(0, 12)] = "1230";
    c[PointSlot(0, 13)] = "-12";
    c[PointSlot(0, 14)] = "0";
    return c;
}

// The table MeasuredCurve must give, row by row, once the point of channel 2
// at index 20 is emptied (a curve file cannot hold an empty point line).
std::string ExpectedCsv()
{
    std::string csv;
    for (int i = 0; i < kPointCount; ++i) {
        std::string ch1;
        switch (i) {
        case 10: ch1 = "123.4"; break;
        case 11: ch1 = "0.5"; break;
        case 12: ch1 = "123"; break;
        case 13: ch1 = "-1.2"; break;
        case 14: ch1 = "0"; break;
        default:
            if (i > 14) {
                const int v = 300 + 4 * i;
                ch1 = std::to_string(v / 10) + (v % 10 ? "." + std::to_string(v % 10) : "");
            }
        }
        const std::string ch2 = i == 20 ? "" : "98.7";
        csv += std::string(FreqHz[i]) + "," + ch1 + "," + ch2 + ",,\r\n";
    }
    return csv;
}

int FilesIn(const fs::path& folder)
{
    int n = 0;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        n += entry.is_regular_file();
    return n;
}

enum class Command { Csv, PageBitmap, GraphBitmap };

struct ExportWindow : ::testing::Test {
    TempDir dir;
    qlxtest::ScriptedFileDialogs dialogs;
    Settings settings;
    std::unique_ptr<TMainForm> form;

    void SetUp() override
    {
        form = std::make_unique<TMainForm>(settings, dialogs);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    std::string Path(const std::string& name) const { return dir.file(name); }

    // Opens the curve from a file and empties the point of channel 2 at
    // index 20 in memory.
    void OpenMeasured(const std::string& name, const CurveLines& lines)
    {
        const std::string path = Path(name);
        ASSERT_TRUE(WriteCurveFile(path, lines).ok);
        form->OpenCurve(CurveKind::Measured, path);
        ASSERT_TRUE(form->curves.ImpLoaded);
        form->curves.ImpLines[PointSlot(1, 20)].clear();
    }

    QAction* ActionOf(Command c) const
    {
        switch (c) {
        case Command::Csv: return form->ui.menus.FileImpCsvSaveMenu;
        case Command::PageBitmap: return form->ui.menus.SaveImpPageImageMenu;
        case Command::GraphBitmap: return form->ui.menus.SaveGraphImageMenu;
        }
        return nullptr;
    }

    // Runs a command from its menu item with the save dialog answering `answer`.
    void Run(Command c, const std::optional<std::string>& answer)
    {
        dialogs.answers.push_back(answer ? std::optional<QString>(QString::fromStdString(*answer)) : std::nullopt);
        ActionOf(c)->trigger();
    }

    QRgb Background() const { return form->palette().color(QPalette::Active, QPalette::Window).rgb(); }
};

// ---- CSV -----------------------------------------------------------------------

TEST_F(ExportWindow, CsvOfTheLoadedCurve)
{
    OpenMeasured("spk one.q5imp", MeasuredCurve());
    fs::create_directory(Path("out"));
    form->settings.CsvDir = dir.path().string();
    Run(Command::Csv, Path("out/table.csv"));

    ASSERT_EQ(dialogs.asked.size(), 1);
    const FileDialogRequest& asked = dialogs.asked[0];
    EXPECT_EQ(asked.title, "CSV形式を保存");
    EXPECT_EQ(asked.filter, "CSV (*.csv)");
    EXPECT_EQ(asked.defaultSuffix, "csv");
    EXPECT_EQ(asked.fileName.toStdString(), Path("spk one.csv"));
    EXPECT_EQ(ReadAll(Path("out/table.csv")), ExpectedCsv());
    EXPECT_EQ(form->settings.CsvDir, Path("out")) << "the folder without trailing separator";
    EXPECT_TRUE(dialogs.errors.isEmpty());

    // The next export starts in that folder.
    Run(Command::Csv, std::nullopt);
    EXPECT_EQ(dialogs.asked[1].fileName.toStdString(), Path("out/spk one.csv"));
}

TEST_F(ExportWindow, CsvDoesNothingWithoutAMeasuredCurve)
{
    EXPECT_FALSE(form->ui.menus.FileImpCsvSaveMenu->isEnabled());
    form->exportCommands->FileImpCsvSaveMenuClick();
    EXPECT_TRUE(dialogs.asked.isEmpty());
}

TEST_F(ExportWindow, PointThatIsNoNumberKeepsTheRowsBeforeIt)
{
    CurveLines c = MeasuredCurve();
    c[PointSlot(1, 5)] = "9x7";
    OpenMeasured("bad.q5imp", c);
    Run(Command::Csv, Path("bad.csv"));

    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_TRUE(dialogs.errors[0].contains("9x7")) << dialogs.errors[0].toStdString();
    const std::string expected = ExpectedCsv();
    size_t fiveRows = 0;
    for (int i = 0; i < 5; ++i)
        fiveRows = expected.find("\r\n", fiveRows) + 2;
    EXPECT_EQ(ReadAll(Path("bad.csv")), expected.substr(0, fiveRows));
    EXPECT_EQ(form->settings.CsvDir, dir.path().string());
}

TEST_F(ExportWindow, FileLayerFailuresAreShownAndKeepTheBitmapFolder)
{
    OpenMeasured("spk.q5imp", MeasuredCurve());
    form->settings.BmpDir = "/bmp/before";
    for (Command c : {Command::Csv, Command::PageBitmap, Command::GraphBitmap}) {
        dialogs.errors.clear();
        Run(c, Path("missing/folder/x.out"));
        ASSERT_EQ(dialogs.errors.size(), 1) << static_cast<int>(c);
        EXPECT_TRUE(dialogs.errors[0].contains(QString::fromStdString(Path("missing/folder"))))
            << dialogs.errors[0].toStdString();
    }
    EXPECT_EQ(form->settings.BmpDir, "/bmp/before");
    EXPECT_EQ(FilesIn(dir.path()), 1);
}

// ---- dialogs and proposed names ----------------------------------------------

TEST_F(ExportWindow, EachExportsDialog)
{
    OpenMeasured("spk.q5imp", MeasuredCurve());
    struct Case {
        Command command;
        const char* title;
        const char* filter;
        const char* suffix;
    } const cases[] = {
        {Command::Csv, "CSV形式を保存", "CSV (*.csv)", "csv"},
        {Command::PageBitmap, "インピーダンス画面の画像を保存", "ビットマップ (*.bmp);;PNG (*.png)", "bmp"},
        {Command::GraphBitmap, "グラフの画像を保存", "ビットマップ (*.bmp);;PNG (*.png)", "bmp"},
    };
    for (const Case& k : cases) {
        dialogs.asked.clear();
        form->ui.PageControl->setCurrentIndex(2);
        Run(k.command, std::nullopt);
        ASSERT_EQ(dialogs.asked.size(), 1);
        EXPECT_EQ(dialogs.asked[0].title, QString::fromUtf8(k.title));
        EXPECT_EQ(dialogs.asked[0].filter, QString::fromUtf8(k.filter));
        EXPECT_EQ(dialogs.asked[0].defaultSuffix, k.suffix);
        // The pictures show the impedance page; the CSV leaves the page alone.
        EXPECT_EQ(form->ui.PageControl->currentIndex(), k.command == Command::Csv ? 2 : 0) << k.title;
    }
    // Cancelled: nothing written, no folder remembered.
    EXPECT_EQ(FilesIn(dir.path()), 1);
    EXPECT_TRUE(form->settings.CsvDir.empty());
    EXPECT_TRUE(form->settings.BmpDir.empty());
}

TEST_F(ExportWindow, ProposedNamesFromTheFieldsAsShown)
{
    OpenMeasured("spk.q5imp", MeasuredCurve());
    fs::create_directory(Path("csv"));
    fs::create_directory(Path("bmp"));
    const std::string blanks12(12, ' ');
    struct Case {
        Command command;
        bool folderExists;
        const char* fileShown;
        std::string nameShown;
        std::string expected;  // inside the folder; empty: no name
    } const cases[] = {
        {Command::Csv, false, "spk one", "SPK", ""},
        {Command::Csv, true, "spk one", "SPK", "spk one.csv"},
        {Command::Csv, true, "", "AB          ", "AB          .csv"},
        {Command::Csv, true, "", blanks12, "Impedance.csv"},
        {Command::PageBitmap, true, "spk one", "SPK", "spk one.bmp"},
        {Command::PageBitmap, true, "", "SPK", "SPK.bmp"},
        {Command::PageBitmap, true, "", "", "Impedance.bmp"},
        {Command::GraphBitmap, false, "spk one", "SPK", ""},
        {Command::GraphBitmap, true, "spk one", "SPK", "spk one_Graph.bmp"},
        {Command::GraphBitmap, true, "", blanks12, "Graph.bmp"},
    };
    for (const Case& k : cases) {
        const bool csv = k.command == Command::Csv;
        SCOPED_TRACE(std::string(csv ? "csv " : "bitmap ") + k.fileShown + "|" + k.nameShown);
        const std::string folder = Path(k.folderExists ? (csv ? "csv" : "bmp") : "gone");
        // Each export looks in its own folder only.
        form->settings.CsvDir = csv ? folder : Path("bmp");
        form->settings.BmpDir = csv ? Path("csv") : folder;
        form->ui.imp.ImpFileNameEdit->setText(QString::fromUtf8(k.fileShown));
        form->ui.imp.ImpNameEdit->setText(QString::fromStdString(k.nameShown));
        dialogs.asked.clear();
        Run(k.command, std::nullopt);
        ASSERT_EQ(dialogs.asked.size(), 1);
        EXPECT_EQ(dialogs.asked[0].fileName.toStdString(), k.expected.empty() ? "" : folder + "/" + k.expected);
    }
}

// ---- pictures ------------------------------------------------------------------

// The 1-pixel black outline and the 10-pixel margin in the window's colour.
void ExpectOutlineAndMargin(const qlxtest::BmpFile& bmp, QRgb background)
{
    const int w = bmp.width;
    const int h = std::abs(bmp.height);
    int wrongOutline = 0;
    int wrongMargin = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const bool outline = x == 0 || y == 0 || x == w - 1 || y == h - 1;
            const bool margin = !outline && (x < 10 || y < 10 || x >= w - 10 || y >= h - 10);
            if (outline)
                wrongOutline += bmp.Pixel(x, y) != 0xFF000000u;
            else if (margin)
                wrongMargin += bmp.Pixel(x, y) != (background | 0xFF000000u);
        }
    }
    EXPECT_EQ(wrongOutline, 0);
    EXPECT_EQ(wrongMargin, 0);
}

struct PictureWindow : ExportWindow {
    void SetUp() override
    {
        ExportWindow::SetUp();
        OpenMeasured("spk.q5imp", MeasuredCurve());
        form->settings.BmpDir = dir.path().string();
    }

    std::optional<qlxtest::BmpFile> Bitmap(Command c, const std::string& name)
    {
        Run(c, Path(name));
        EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join("\n").toStdString();
        return qlxtest::ReadBmp(ReadAll(Path(name)));
    }

    // Mismatches of the plot's pixels in `bmp` where the graph stands at `at`.
    int PlotMismatches(const qlxtest::BmpFile& bmp, QPoint at, int* measuredPixels) const
    {
        const QImage& graph = form->ui.imp.ImpGraphImage->Image();
        int wrong = 0;
        *measuredPixels = 0;
        for (int y = kPlotOrigin.y(); y < kPlotOrigin.y() + 200; ++y)
            for (int x = kPlotOrigin.x(); x < kPlotOrigin.x() + 601; ++x) {
                const QRgb expected = graph.pixel(x, y) | 0xFF000000u;
                wrong += bmp.Pixel(at.x() + x, at.y() + y) != expected;
                *measuredPixels += expected == kChannelColours[0];
            }
        return wrong;
    }
};

TEST_F(PictureWindow, PageBitmapIsThePageAsShownInEightBits)
{
    form->ui.PageControl->setCurrentIndex(1);
    const std::optional<qlxtest::BmpFile> bmp = Bitmap(Command::PageBitmap, "page.bmp");
    ASSERT_TRUE(bmp);
    EXPECT_EQ(form->ui.PageControl->currentIndex(), 0);
    EXPECT_EQ(bmp->bitsPerPixel, 8);
    EXPECT_EQ(bmp->colourTable.size(), 256u);
    const QSize page = form->ui.imp.ImpPage->size();
    EXPECT_EQ(bmp->width, page.width() + 20);
    EXPECT_EQ(std::abs(bmp->height), page.height() + 20);
    ExpectOutlineAndMargin(*bmp, Background());

    // The graph's colours are exact, at the graph's place on the page + (10, 10).
    int measured = 0;
    EXPECT_EQ(PlotMismatches(*bmp, form->ui.imp.ImpGraphImage->pos() + QPoint(10, 10), &measured), 0);
    EXPECT_GT(measured, 100) << "the measured curve is drawn";
    EXPECT_EQ(form->settings.BmpDir, dir.path().string());
}

TEST_F(PictureWindow, GraphBitmapIsTheGraphWithItsFrameAndLabels)
{
    const std::optional<qlxtest::BmpFile> bmp = Bitmap(Command::GraphBitmap, "graph.bmp");
    ASSERT_TRUE(bmp);
    EXPECT_EQ(bmp->bitsPerPixel, 8);
    EXPECT_EQ(bmp->colourTable.size(), 256u);
    EXPECT_EQ(bmp->width, 670);
    EXPECT_EQ(std::abs(bmp->height), 255);
    ExpectOutlineAndMargin(*bmp, Background());

    int measured = 0;
    EXPECT_EQ(PlotMismatches(*bmp, QPoint(10, 10), &measured), 0);
    EXPECT_GT(measured, 100);
    // Everything on the graph's rectangle, the scale labels on it included,
    // one to one and lossless: the graph has fewer than 256 colours.
    const QRect graphRect = form->ui.imp.ImpGraphImage->geometry();
    const QImage shown = form->ui.imp.ImpPage->grab(graphRect).toImage();
    ASSERT_EQ(shown.size(), QSize(650, 235));
    int wrong = 0;
    for (int y = 0; y < 235; ++y)
        for (int x = 0; x < 650; ++x)
            wrong += bmp->Pixel(10 + x, 10 + y) != (shown.pixel(x, y) | 0xFF000000u);
    EXPECT_EQ(wrong, 0);
    const QRect label = form->ui.imp.ImpLabel[5]->geometry().translated(-graphRect.topLeft() + QPoint(10, 10));
    int ink = 0;
    for (int y = label.top(); y <= label.bottom(); ++y)
        for (int x = label.left(); x <= label.right(); ++x)
            ink += bmp->Pixel(x, y) != kGridBackground;
    EXPECT_GT(ink, 10) << "the label \"100\" is on the picture";
}

TEST_F(PictureWindow, PngHoldsTheSamePixels)
{
    const std::optional<qlxtest::BmpFile> bmp = Bitmap(Command::GraphBitmap, "graph.bmp");
    ASSERT_TRUE(bmp);
    Run(Command::GraphBitmap, Path("graph.png"));
    ASSERT_TRUE(ReadAll(Path("graph.png")).starts_with("\x89PNG"));
    const QImage png(QString::fromStdString(Path("graph.png")));
    ASSERT_EQ(png.size(), QSize(670, 255));
    EXPECT_EQ(png.format(), QImage::Format_Indexed8);
    int wrong = 0;
    for (int y = 0; y < png.height(); ++y)
        for (int x = 0; x < png.width(); ++x)
            wrong += (png.pixel(x, y) | 0xFF000000u) != bmp->Pixel(x, y);
    EXPECT_EQ(wrong, 0);
}

TEST_F(PictureWindow, JudgementDisplayIsRefreshedAfterwards)
{
    const std::string ref = Path("ref.q5imp");
    ASSERT_TRUE(WriteCurveFile(ref, MeasuredCurve()).ok);
    form->OpenCurve(CurveKind::Reference, ref);
    QLabel* badge = nullptr;
    for (QLabel* b : form->ui.imp.JudgeImage)
        if (b->isVisible())
            badge = b;
    ASSERT_NE(badge, nullptr) << "both curves are judged";
    for (Command c : {Command::PageBitmap, Command::GraphBitmap}) {
        badge->hide();
        Run(c, Path("judged.bmp"));
        EXPECT_TRUE(badge->isVisible());
    }
}

}  // namespace
}  // namespace qlx
