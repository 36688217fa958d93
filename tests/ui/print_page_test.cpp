#include <gtest/gtest.h>

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include "graph/graph_images.h"
#include "graph/page_image.h"
#include "support/pdf_pages.h"
#include "support/print_scheduler.h"
#include "support/temp_dir.h"
#include "ui/print_page.h"

namespace qlx {
namespace {

using qlxtest::DarkBounds;
using qlxtest::PrintScheduler;
using qlxtest::RedBounds;

// Printer pixels and rendered pixels are the same size, so the placement
// can be checked to the pixel.
constexpr int kDpi = 150;
constexpr int kDarkLimit = 100;
constexpr int kTolerance = 2;  // pixels: rounding of the printable area and of the renderer

const QColor kWindowColour(0xEF, 0xEB, 0xE7);
const QRect kGraphOnPage(4, 32, 650, 235);

// A captured impedance page with the screen graph at its place and a red
// mark on the graph's top-left corner, composed as the window will.
QImage PageImageOf(PrintKind kind)
{
    QImage page(790, 516, QImage::Format_RGB32);
    page.fill(kWindowColour);
    QPainter p(&page);
    p.drawImage(kGraphOnPage.topLeft(), MakeImpGraphFrame());
    p.fillRect(QRect(kGraphOnPage.topLeft(), QSize(60, 40)), Qt::red);
    p.end();
    return kind == PrintKind::Screen ? MakeScreenPageImage(page, kWindowColour)
                                     : MakeGraphPageImage(page, kGraphOnPage, kWindowColour);
}

struct PrintCase {
    PrintKind kind;
    QPageLayout::Orientation orientation;
    const char* title;
};

std::string Describe(const QRect& r)
{
    return std::to_string(r.left()) + "," + std::to_string(r.top()) + " to " + std::to_string(r.right()) + "," +
           std::to_string(r.bottom());
}

void ExpectNear(const QRect& seen, const QRect& expected)
{
    const bool near = std::abs(seen.left() - expected.left()) <= kTolerance &&
                      std::abs(seen.top() - expected.top()) <= kTolerance &&
                      std::abs(seen.right() - expected.right()) <= kTolerance &&
                      std::abs(seen.bottom() - expected.bottom()) <= kTolerance;
    EXPECT_TRUE(near) << "image at " << Describe(seen) << ", computed " << Describe(expected);
}

// The printed picture's box on the page as the printer draws it: the target
// rectangle moved by the printable area's offset.
QRect ExpectedOnPage(QPrinter& printer, const PrintCase& k)
{
    const bool landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
    const QSize image = k.kind == PrintKind::Screen ? QSize(810, 536) : QSize(670, 255);
    const PrintRect r =
        PrintTargetRect(k.kind, landscape, image.width(), image.height(), printer.width(), printer.height());
    const QPoint offset = printer.pageLayout().paintRectPixels(kDpi).topLeft();
    return QRect(QPoint(r.left, r.top) + offset, QPoint(r.right - 1, r.bottom - 1) + offset);
}

QPrinter* NewPrinter(QPageLayout::Orientation orientation)
{
    auto* printer = new QPrinter(QPrinter::HighResolution);
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setPageOrientation(orientation);
    printer->setResolution(kDpi);
    return printer;
}

TEST(PrintPageImage, FailsWhenTheDocumentCannotStart)
{
    qlxtest::TempDir dir;
    std::unique_ptr<QPrinter> printer(NewPrinter(QPageLayout::Landscape));
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(QString::fromStdString(dir.file("no/such/folder/x.pdf")));
    const PrintResult r = PrintPageImage(*printer, PageImageOf(PrintKind::Screen), PrintKind::Screen);
    EXPECT_FALSE(r);
    EXPECT_TRUE(r.error.startsWith(QStringLiteral("印刷を開始できませんでした。"))) << r.error.toStdString();
}

// Without a print service: Qt's own PDF writer shows where the image lands
// on the page as the printer has it.
TEST(PrintPageImage, StretchesTheImageIntoTheTargetRectangle)
{
    if (!qlxtest::PopplerAvailable())
        GTEST_SKIP() << "pdfinfo and pdftoppm (poppler-utils) are not installed";
    const PrintCase cases[] = {
        {PrintKind::Screen, QPageLayout::Landscape, "Impedance"},
        {PrintKind::Screen, QPageLayout::Portrait, "Impedance"},
        {PrintKind::Graph, QPageLayout::Landscape, "Graph"},
    };
    qlxtest::TempDir dir;
    int n = 0;
    for (const PrintCase& k : cases) {
        SCOPED_TRACE(std::string(k.title) + (k.orientation == QPageLayout::Landscape ? " landscape" : " portrait"));
        const std::string pdf = dir.file(std::to_string(n++) + ".pdf");
        std::unique_ptr<QPrinter> printer(NewPrinter(k.orientation));
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(QString::fromStdString(pdf));
        ASSERT_TRUE(PrintPageImage(*printer, PageImageOf(k.kind), k.kind));
        const std::optional<qlxtest::PdfFacts> facts = qlxtest::ReadPdfFacts(pdf);
        ASSERT_TRUE(facts);
        EXPECT_EQ(facts->title, k.title);
        EXPECT_EQ(facts->pageSize,
                  k.orientation == QPageLayout::Landscape ? "842 x 595 pts (A4)" : "595 x 842 pts (A4)");
        const QImage page = qlxtest::RenderPdfPage(pdf, kDpi);
        ASSERT_FALSE(page.isNull());
        const QRect expected = ExpectedOnPage(*printer, k);
        ExpectNear(DarkBounds(page, kDarkLimit), expected);
        EXPECT_TRUE(expected.contains(RedBounds(page).center()));
        EXPECT_LT(RedBounds(page).center().x(), expected.center().x()) << "mark on the left";
        EXPECT_LT(RedBounds(page).center().y(), expected.center().y()) << "mark at the top";
    }
}

// cups-pdf takes the job's title from the PostScript it is given and keeps
// that string's parentheses: "(Graph)".
std::string CupsPdfTitle(const qlxtest::PdfFacts& facts)
{
    const std::string& t = facts.title;
    return t.size() >= 2 && t.front() == '(' && t.back() == ')' ? t.substr(1, t.size() - 2) : t;
}

// Jobs through a scheduler of the tests' own to its PDF printer.
class RealPrint : public ::testing::Test {
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
    }

    std::unique_ptr<QPrinter> QueuePrinter(QPageLayout::Orientation orientation)
    {
        std::unique_ptr<QPrinter> printer(NewPrinter(orientation));
        printer->setPrinterName(QString::fromStdString(scheduler_->Queue()));
        return printer;
    }

    static PrintScheduler* scheduler_;
};

PrintScheduler* RealPrint::scheduler_ = nullptr;

TEST_F(RealPrint, TheSchedulersQueueIsThePrinterQtSees)
{
    EXPECT_EQ(QPrinterInfo::defaultPrinterName().toStdString(), scheduler_->Queue());
    EXPECT_EQ(QPrinterInfo::availablePrinterNames(), QStringList{QString::fromStdString(scheduler_->Queue())});
}

// The PDF printer writes every page as A4 portrait; a landscape job comes
// out turned a quarter to the left, its top-left corner at the bottom left.
TEST_F(RealPrint, PageAndGraphLandInTheComputedRectangle)
{
    const PrintCase cases[] = {
        {PrintKind::Screen, QPageLayout::Landscape, "Impedance"},
        {PrintKind::Graph, QPageLayout::Landscape, "Graph"},
        {PrintKind::Screen, QPageLayout::Portrait, "Impedance"},
    };
    for (const PrintCase& k : cases) {
        const bool landscape = k.orientation == QPageLayout::Landscape;
        SCOPED_TRACE(std::string(k.title) + (landscape ? " landscape" : " portrait"));
        std::unique_ptr<QPrinter> printer = QueuePrinter(k.orientation);
        const PrintResult result = PrintPageImage(*printer, PageImageOf(k.kind), k.kind);
        ASSERT_TRUE(result) << result.error.toStdString();
        const std::optional<std::string> pdf = scheduler_->WaitForNewPdf();
        ASSERT_TRUE(pdf) << scheduler_->LastProblem();

        const std::optional<qlxtest::PdfFacts> facts = qlxtest::ReadPdfFacts(*pdf);
        ASSERT_TRUE(facts);
        EXPECT_EQ(CupsPdfTitle(*facts), k.title);
        EXPECT_EQ(facts->pages, 1);
        EXPECT_EQ(facts->pageSize, "595 x 842 pts (A4)");
        EXPECT_EQ(facts->rotation, 0);

        const QImage page = qlxtest::RenderPdfPage(*pdf, kDpi);
        ASSERT_FALSE(page.isNull());
        QRect expected = ExpectedOnPage(*printer, k);
        if (landscape) {
            const int fullWidth = printer->pageLayout().fullRectPixels(kDpi).width();
            expected = QRect(QPoint(expected.top(), fullWidth - 1 - expected.right()),
                             QPoint(expected.bottom(), fullWidth - 1 - expected.left()));
        }
        const QRect seen = DarkBounds(page, kDarkLimit);
        ExpectNear(seen, expected);
        const QPoint mark = RedBounds(page).center();
        EXPECT_TRUE(seen.contains(mark));
        EXPECT_LT(mark.x(), seen.center().x()) << "the image's top-left corner on the left";
        if (landscape)
            EXPECT_GT(mark.y(), seen.center().y()) << "turned to the left: the corner at the bottom";
        else
            EXPECT_LT(mark.y(), seen.center().y()) << "upright: the corner at the top";
    }
}

TEST_F(RealPrint, AJobTheServiceRefusesIsReportedAndTheNextPrintWorks)
{
    ASSERT_TRUE(scheduler_->RejectJobs());
    std::unique_ptr<QPrinter> printer = QueuePrinter(QPageLayout::Landscape);
    const PrintResult refused = PrintPageImage(*printer, PageImageOf(PrintKind::Graph), PrintKind::Graph);
    EXPECT_FALSE(refused);
    EXPECT_TRUE(refused.error.startsWith(QStringLiteral("印刷できませんでした。"))) << refused.error.toStdString();
    EXPECT_GT(refused.error.size(), QStringLiteral("印刷できませんでした。").size()) << "with the service's reason";

    ASSERT_TRUE(scheduler_->AcceptJobs());
    // The failed document was ended: the same printer takes the next job.
    const PrintResult again = PrintPageImage(*printer, PageImageOf(PrintKind::Graph), PrintKind::Graph);
    EXPECT_TRUE(again) << again.error.toStdString();
    const std::optional<std::string> pdf = scheduler_->WaitForNewPdf();
    ASSERT_TRUE(pdf) << scheduler_->LastProblem();
    EXPECT_EQ(CupsPdfTitle(*qlxtest::ReadPdfFacts(*pdf)), "Graph");
}

}  // namespace
}  // namespace qlx
