#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTransform>
#include <iostream>

#include "app/mainform.h"
#include "app/page_capture.h"
#include "app/print_commands.h"
#include "app/print_dialogs.h"
#include "app/printer_setup_dialog.h"
#include "model/curve_file.h"
#include "scripted_file_dialogs.h"
#include "scripted_print_dialogs.h"
#include "support/pdf_pages.h"
#include "support/print_scheduler.h"
#include "support/temp_dir.h"

namespace qlx {
namespace {

using qlxtest::PrintScheduler;

constexpr int kRenderDpi = 150;
constexpr int kDarkLimit = 100;
constexpr int kTolerance = 2;  // rendered pixels: rounding of the printable area and of the renderer
// Mean luminance difference (blocks of kBlock pixels) below which a print
// is the picture, and how much closer it must be than the picture turned
// over or mirrored.
constexpr int kBlock = 10;
constexpr double kSamePicture = 6.0;
constexpr double kCloser = 1.5;

// A measured curve on channel 1 with the cursor on at 1 kHz.
void ShowCurveWithCursor(TMainForm& form, const qlxtest::TempDir& dir)
{
    CurveLines c{};
    FillDefaults(c);
    for (int j = 0; j < kPointCount; ++j)
        c[PointSlot(0, j)] = std::to_string(200 + 5 * j);
    const std::string path = dir.file("spk.q5imp");
    ASSERT_TRUE(WriteCurveFile(path, c).ok);
    form.OpenCurve(CurveKind::Measured, path);
    form.CursorOnButtonClick();
    ASSERT_TRUE(form.curves.CursorOn);
}

std::string Describe(const QRect& r)
{
    return std::to_string(r.left()) + "," + std::to_string(r.top()) + " to " + std::to_string(r.right()) + "," +
           std::to_string(r.bottom());
}

void ExpectNear(const QRect& seen, const QRect& expected, const char* what)
{
    const bool near = std::abs(seen.left() - expected.left()) <= kTolerance &&
                      std::abs(seen.top() - expected.top()) <= kTolerance &&
                      std::abs(seen.right() - expected.right()) <= kTolerance &&
                      std::abs(seen.bottom() - expected.bottom()) <= kTolerance;
    EXPECT_TRUE(near) << what << " at " << Describe(seen) << ", computed " << Describe(expected);
}

// Where the pixels `inImage` of a PageImage of `imageSize` land on the first
// page as pdftoppm renders it at kRenderDpi: the target rectangle of the
// printer's page, moved by the printable area's offset. The PDF printer
// writes every page A4 portrait and turns a landscape job a quarter to the
// left, its top-left corner to the bottom left.
QRect OnRenderedPage(const QPrinter& printer, PrintKind kind, QSize imageSize, QRect inImage)
{
    const bool landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
    const PrintRect r =
        PrintTargetRect(kind, landscape, imageSize.width(), imageSize.height(), printer.width(), printer.height());
    const QPoint offset = printer.pageLayout().paintRectPixels(printer.resolution()).topLeft();
    const double scale = double(kRenderDpi) / printer.resolution();
    const double sx = double(r.right - r.left) / imageSize.width();
    const double sy = double(r.bottom - r.top) / imageSize.height();
    const auto at = [&](double ix, double iy) {
        return QPointF((offset.x() + r.left + ix * sx) * scale, (offset.y() + r.top + iy * sy) * scale);
    };
    const QPointF a = at(inImage.left(), inImage.top());
    const QPointF b = at(inImage.right() + 1, inImage.bottom() + 1);
    QRect box(QPoint(qRound(a.x()), qRound(a.y())), QPoint(qRound(b.x()) - 1, qRound(b.y()) - 1));
    if (landscape) {
        const int fullWidth = printer.pageLayout().fullRectPixels(kRenderDpi).width();
        box = QRect(QPoint(box.top(), fullWidth - 1 - box.right()), QPoint(box.bottom(), fullWidth - 1 - box.left()));
    }
    return box;
}

// Mean difference of luminance (0..255) between `image` and the picture
// printed in `box` of the rendered page, turned back upright, both reduced
// to blocks of kBlock pixels of the image so that the blur of thin lines by
// stretching, compression and rendering does not count, the layout does.
double Difference(const QImage& page, const QRect& box, bool turnedLeft, const QImage& image)
{
    QImage printed = page.copy(box);
    if (turnedLeft)
        printed = printed.transformed(QTransform().rotate(90));
    const QSize blocks = image.size() / kBlock;
    printed = printed.scaled(blocks, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage shown = image.scaled(blocks, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    double sum = 0;
    for (int y = 0; y < blocks.height(); ++y)
        for (int x = 0; x < blocks.width(); ++x)
            sum += std::abs(qGray(printed.pixel(x, y)) - qGray(shown.pixel(x, y)));
    return sum / (double(blocks.width()) * blocks.height());
}

// cups-pdf takes the title from the PostScript it is given, parentheses kept.
std::string CupsPdfTitle(const qlxtest::PdfFacts& facts)
{
    const std::string& t = facts.title;
    return t.size() >= 2 && t.front() == '(' && t.back() == ')' ? t.substr(1, t.size() - 2) : t;
}

TEST(PrintWithoutPrinter, ItemsAreDisabledAndPrintNothing)
{
    const qlxtest::NoPrintService none;
    qlxtest::ScriptedFileDialogs files;
    qlxtest::ScriptedPrintDialogs prints;
    const Settings settings;
    TMainForm form(settings, files, prints);
    for (QAction* a : {form.ui.menus.PagePrintSetupItem, form.ui.menus.FilePrintItem, form.ui.menus.FileGraphPrintMenu})
        EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();
    EXPECT_EQ(form.printCommands->Printer(), nullptr);
    form.printCommands->FilePrintSetup();
    form.printCommands->FilePrint();
    form.printCommands->FileGraphPrintMenuClick();
    EXPECT_EQ(prints.setupShown + prints.printShown, 0);
}

TEST(PrintMenu, ItemsCarryTheirHints)
{
    const qlxtest::NoPrintService none;
    qlxtest::ScriptedFileDialogs files;
    qlxtest::ScriptedPrintDialogs prints;
    const Settings settings;
    TMainForm form(settings, files, prints);
    const MainMenus& m = form.ui.menus;
    EXPECT_EQ(m.PagePrintSetupItem->statusTip(), QStringLiteral("ページの設定を変更します"));
    for (QAction* a : {m.FilePrintItem, m.FileGraphPrintMenu})
        EXPECT_EQ(a->statusTip(), QStringLiteral("現在のファイルを印刷します")) << a->text().toStdString();
    // Shown beside the highlighted item, as the window has no status line.
    EXPECT_TRUE(m.FileMenu->toolTipsVisible());
    EXPECT_EQ(m.PagePrintSetupItem->toolTip(), m.PagePrintSetupItem->statusTip());
}

// The dialogs, closed from inside their event loop.
TEST(QtPrintDialogsTest, PrintDialogOffersNoFileAndSetupDialogIsOurs)
{
    const qlxtest::NoPrintService none;
    QPrinter printer;
    QtPrintDialogs dialogs(nullptr);
    bool printToFile = true;
    QStringList destinations;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        printToFile = d->testOption(QAbstractPrintDialog::PrintToFile);
        for (const QComboBox* box : d->findChildren<QComboBox*>())
            for (int i = 0; i < box->count(); ++i)
                destinations << box->itemText(i);
        d->reject();
    });
    EXPECT_FALSE(dialogs.Print(printer)) << "cancelled";
    EXPECT_FALSE(printToFile);
    EXPECT_FALSE(destinations.contains(QPrintDialog::tr("Print to File (PDF)")))
        << destinations.join(", ").toStdString();

    QString title;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<PrinterSetupDialog*>(QApplication::activeModalWidget());
        if (d) {
            title = d->windowTitle();
            d->accept();
        }
    });
    EXPECT_TRUE(dialogs.PrinterSetup(printer));
    EXPECT_EQ(title, QStringLiteral("プリンタ設定"));
}

// Prints through the window's commands to the PDF printer of a scheduler of
// the tests' own.
class WindowPrint : public ::testing::Test {
protected:
    static void SetUpTestSuite() { scheduler_ = new PrintScheduler; }
    static void TearDownTestSuite()
    {
        delete scheduler_;
        scheduler_ = nullptr;
    }

    void SetUp() override
    {
        if (!scheduler_->Ready())
            GTEST_SKIP() << "no print service could be started: " << scheduler_->Reason();
        if (!qlxtest::PopplerAvailable())
            GTEST_SKIP() << "pdfinfo and pdftoppm (poppler-utils) are not installed";
        form = std::make_unique<TMainForm>(settings, files, prints);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        ShowCurveWithCursor(*form, dir);
    }

    // Prints by the menu item and checks the one PDF that comes out: title,
    // one A4 portrait page, the picture's outline where the target rectangle
    // puts it, and the picture the right way round inside.
    void PrintAndCheck(QAction* item, PagePart part, PrintKind kind, const char* title)
    {
        const QImage image = ImpPageImage(form->ui.imp, part);
        item->trigger();
        ASSERT_TRUE(prints.errors.isEmpty()) << prints.errors.join("\n").toStdString();
        const std::optional<std::string> pdf = scheduler_->WaitForNewPdf();
        ASSERT_TRUE(pdf) << scheduler_->LastProblem();
        const std::optional<qlxtest::PdfFacts> facts = qlxtest::ReadPdfFacts(*pdf);
        ASSERT_TRUE(facts);
        EXPECT_EQ(CupsPdfTitle(*facts), title);
        EXPECT_EQ(facts->pages, 1);
        EXPECT_EQ(facts->pageSize, "595 x 842 pts (A4)");

        const QImage page = qlxtest::RenderPdfPage(*pdf, kRenderDpi);
        ASSERT_FALSE(page.isNull());
        const QPrinter& printer = *form->printCommands->Printer();
        const QRect box = OnRenderedPage(printer, kind, image.size(), image.rect());
        ExpectNear(qlxtest::DarkBounds(page, kDarkLimit), box, "outline");
        // The picture itself, upright: far closer to the PageImage than the
        // PageImage turned over or mirrored is.
        const bool turned = printer.pageLayout().orientation() == QPageLayout::Landscape;
        const double upright = Difference(page, box, turned, image);
        const double turnedOver = Difference(page, box, turned, image.mirrored(true, true));
        const double mirrored = Difference(page, box, turned, image.mirrored(true, false));
        std::cout << "[ print ] " << title << ": mean luminance difference " << upright << " upright, " << turnedOver
                  << " turned over, " << mirrored << " mirrored\n";
        EXPECT_LT(upright, kSamePicture);
        EXPECT_LT(upright * kCloser, turnedOver);
        EXPECT_LT(upright * kCloser, mirrored);
    }

    static PrintScheduler* scheduler_;
    qlxtest::TempDir dir;
    qlxtest::ScriptedFileDialogs files;
    qlxtest::ScriptedPrintDialogs prints;
    Settings settings;
    std::unique_ptr<TMainForm> form;
};

PrintScheduler* WindowPrint::scheduler_ = nullptr;

TEST_F(WindowPrint, DefaultPrinterInLandscapeAtStart)
{
    const QPrinter* printer = form->printCommands->Printer();
    ASSERT_NE(printer, nullptr);
    EXPECT_EQ(printer->printerName().toStdString(), scheduler_->Queue());
    EXPECT_EQ(printer->pageLayout().orientation(), QPageLayout::Landscape);
    for (QAction* a :
         {form->ui.menus.PagePrintSetupItem, form->ui.menus.FilePrintItem, form->ui.menus.FileGraphPrintMenu})
        EXPECT_TRUE(a->isEnabled());
}

TEST_F(WindowPrint, PageByOrientationAndGraphByThePortraitRule)
{
    {
        SCOPED_TRACE("page, landscape");
        PrintAndCheck(form->ui.menus.FilePrintItem, PagePart::WholePage, PrintKind::Screen, "Impedance");
    }
    {
        SCOPED_TRACE("graph, landscape printer");
        PrintAndCheck(form->ui.menus.FileGraphPrintMenu, PagePart::Graph, PrintKind::Graph, "Graph");
    }
    EXPECT_EQ(prints.printShown, 2);
}

TEST_F(WindowPrint, SetupChoicesApplyToLaterPrints)
{
    prints.setupAnswer = [](QPrinter& p) { return p.setPageOrientation(QPageLayout::Portrait); };
    form->ui.menus.PagePrintSetupItem->trigger();
    EXPECT_EQ(prints.setupShown, 1);
    SCOPED_TRACE("page, portrait");
    PrintAndCheck(form->ui.menus.FilePrintItem, PagePart::WholePage, PrintKind::Screen, "Impedance");
}

// The set-up dialog itself: its OK applies the printer, paper and orientation
// chosen; its Cancel leaves the printer as it was.
TEST_F(WindowPrint, SetupDialogAppliesOnlyByOk)
{
    const QString queue = QString::fromStdString(scheduler_->Queue());
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(queue);
    printer.setPageOrientation(QPageLayout::Landscape);
    const QList<QPageSize> papers = PapersOf(queue);
    ASSERT_GE(papers.size(), 2) << "the PDF queue names its papers";
    const QPageSize other = papers[0].isEquivalentTo(printer.pageLayout().pageSize()) ? papers[1] : papers[0];
    QtPrintDialogs dialogs(nullptr);

    // Answers the open dialog: portrait and the other paper, then `ok`.
    QStringList listed;
    auto answer = [&](bool ok) {
        QTimer::singleShot(0, [&, ok] {
            auto* d = qobject_cast<PrinterSetupDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr);
            auto* printers = d->findChild<QComboBox*>(QStringLiteral("printers"));
            auto* paper = d->findChild<QComboBox*>(QStringLiteral("papers"));
            ASSERT_TRUE(printers && paper);
            listed.clear();
            for (int i = 0; i < printers->count(); ++i)
                listed << printers->itemText(i);
            EXPECT_EQ(printers->currentText(), queue);
            paper->setCurrentText(other.name());
            d->findChild<QRadioButton*>(QStringLiteral("portrait"))->click();
            ok ? d->accept() : d->reject();
        });
    };

    answer(false);
    EXPECT_FALSE(dialogs.PrinterSetup(printer));
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_FALSE(printer.pageLayout().pageSize().isEquivalentTo(other));
    EXPECT_TRUE(listed.contains(queue));

    answer(true);
    EXPECT_TRUE(dialogs.PrinterSetup(printer));
    EXPECT_EQ(printer.printerName(), queue);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Portrait);
    EXPECT_TRUE(printer.pageLayout().pageSize().isEquivalentTo(other))
        << printer.pageLayout().pageSize().name().toStdString();
}

TEST_F(WindowPrint, CancelledPrintDialogPrintsNothing)
{
    prints.printAnswer = false;
    form->ui.menus.FilePrintItem->trigger();
    EXPECT_EQ(prints.printShown, 1);
    // The next job is the only PDF that appears.
    prints.printAnswer = true;
    SCOPED_TRACE("graph after a cancelled page");
    PrintAndCheck(form->ui.menus.FileGraphPrintMenu, PagePart::Graph, PrintKind::Graph, "Graph");
}

TEST_F(WindowPrint, RefusedJobIsReportedAndTheNextPrintWorks)
{
    ASSERT_TRUE(scheduler_->RejectJobs());
    form->ui.menus.FilePrintItem->trigger();
    ASSERT_TRUE(scheduler_->AcceptJobs());
    ASSERT_EQ(prints.errors.size(), 1);
    EXPECT_TRUE(prints.errors[0].startsWith(QStringLiteral("印刷できませんでした。")))
        << prints.errors[0].toStdString();
    prints.errors.clear();
    SCOPED_TRACE("graph after a refused page");
    PrintAndCheck(form->ui.menus.FileGraphPrintMenu, PagePart::Graph, PrintKind::Graph, "Graph");
}

}  // namespace
}  // namespace qlx
