#include <gtest/gtest.h>

#include <QFont>
#include <QPainter>

#include <sys/stat.h>

#include <filesystem>
#include <iostream>
#include <set>

#include "graph/graph_colours.h"
#include "graph/indexed_bitmap.h"
#include "graph/page_image.h"
#include "graph/picture_file.h"
#include "graph/pixel_helpers.h"
#include "graph/redraw_graph.h"
#include "judge/curve_fixture.h"
#include "support/bad_destinations.h"
#include "support/bmp_reader.h"
#include "support/temp_dir.h"
#include "support/unprivileged.h"

namespace qlx {
namespace {

using qlxtest::BmpFile;
using qlxtest::EntriesOf;
using qlxtest::ReadAll;
using qlxtest::ReadBmp;
using qlxtest::TempDir;
using test::PixelAt;

const QColor kWindowColour(0xEF, 0xEB, 0xE7);
const QRect kGraphOnPage(4, 32, 650, 235);
constexpr int kOverlayColumn = 200;  // image columns where each colour is sure to stand

// A redraw with every kind of line: overlays of channels 2 to 4 over the
// measured channel 1, reference, threshold curves with NG markers, cursor.
QImage FullGraph()
{
    CurveState s = test::FlatCurves(400, 400);
    for (int j = 0; j < kPointCount; ++j) {
        test::SetPoint(s.ImpLines, 0, j, 300 + 4 * j);
        test::SetPoint(s.ImpLines, 1, j, 200);
        test::SetPoint(s.ImpLines, 2, j, 150);
        test::SetPoint(s.ImpLines, 3, j, 100);
    }
    s.CursorOn = true;
    GraphView view;
    view.Overlay = {true, true, true, true};
    ImpGraphImages images;
    RedrawGraph(images, s, view);
    return images.ImpGraphImage;
}

// A page as the window shows it: flat widget areas, antialiased text in
// several colours (far more than 256 colours in all) and the graph.
QImage PageWithGraph(const QImage& graph)
{
    QImage page(790, 516, QImage::Format_RGB32);
    page.fill(kWindowColour);
    QPainter p(&page);
    QFont font("IPAPGothic");
    font.setPixelSize(15);
    p.setFont(font);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QColor inks[] = {Qt::black, QColor(0x30, 0x60, 0xC0), QColor(0x80, 0x00, 0x00)};
    for (int line = 0; line < 12; ++line) {
        p.setPen(inks[line % 3]);
        p.drawText(670, 20 + 40 * line, QStringLiteral("測定カーブ %1").arg(line));
    }
    QLinearGradient gradient(0, 300, 650, 516);
    gradient.setColorAt(0, QColor(0x20, 0x90, 0x40));
    gradient.setColorAt(1, QColor(0xE0, 0x40, 0xB0));
    p.fillRect(QRect(0, 300, 650, 216), gradient);
    p.drawImage(kGraphOnPage.topLeft(), graph);
    return page;
}

std::set<QRgb> ColoursOf(const QImage& image)
{
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(PixelAt(image, x, y));
    return colours;
}

// Pixels of the graph's own colours that the 8-bit file does not keep.
int GraphColourMismatches(const QImage& source, const BmpFile& bmp, const QList<QRgb>& exact)
{
    int wrong = 0;
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x)
            if (exact.contains(PixelAt(source, x, y)))
                wrong += bmp.Pixel(x, y) != PixelAt(source, x, y);
    return wrong;
}

TEST(PictureFile, GraphBitmapIsAnEightBitWindowsBitmapWithExactGraphColours)
{
    const QImage graph = FullGraph();
    const QImage image = MakeGraphPageImage(PageWithGraph(graph), kGraphOnPage, kWindowColour);
    TempDir dir;
    ASSERT_TRUE(SavePicture(dir.file("g.bmp"), image, kWindowColour, PictureFormat::Bmp));
    const std::string bytes = ReadAll(dir.file("g.bmp"));
    const std::optional<BmpFile> bmp = ReadBmp(bytes);
    ASSERT_TRUE(bmp);
    EXPECT_EQ(bmp->signature, "BM");
    EXPECT_EQ(bmp->fileSize, bytes.size());
    EXPECT_EQ(bmp->width, 670);
    EXPECT_EQ(bmp->height, 255);
    EXPECT_EQ(bmp->bitsPerPixel, 8);
    EXPECT_EQ(bmp->planes, 1);
    EXPECT_EQ(bmp->colourTable.size(), 256u);
    EXPECT_EQ(bmp->pixelOffset, 14u + bmp->headerSize + 256u * 4u);
    EXPECT_EQ(bytes.size(), bmp->pixelOffset + 672u * 255u) << "rows padded to 4 bytes";

    // The graph image has few colours: the file holds every pixel exactly.
    int wrong = 0;
    for (int y = 0; y < 255; ++y)
        for (int x = 0; x < 670; ++x)
            wrong += bmp->Pixel(x, y) != PixelAt(image, x, y);
    EXPECT_EQ(wrong, 0);

    // Each colour of a drawn line or of the frame stands somewhere in the file.
    std::set<std::uint32_t> inFile;
    for (int y = 0; y < 255; ++y)
        for (int x = 0; x < 670; ++x)
            inFile.insert(bmp->Pixel(x, y));
    for (QRgb c : {kChannelColours[0], kChannelColours[1], kChannelColours[2], kChannelColours[3], kReferenceColour,
                   kThresholdColour, kCursorColour, kGridBorder, kGridLine, kGridBackground, QRgb(0xFF000000),
                   kWindowColour.rgb()})
        EXPECT_TRUE(inFile.count(c)) << std::hex << c;
    EXPECT_EQ(bmp->Pixel(0, 0), 0xFF000000u);
    EXPECT_EQ(bmp->Pixel(5, 5), kWindowColour.rgb());
    EXPECT_EQ(bmp->Pixel(10 + 30, 10 + 20), kGridBorder) << "plot corner";
    EXPECT_EQ(bmp->Pixel(10 + 30 + 200, 10 + 20 + 100), kGridLine) << "200 Hz line";
}

TEST(PictureFile, PageBitmapWithMoreThan256ColoursKeepsEveryGraphColourExact)
{
    const QImage graph = FullGraph();
    const QImage image = MakeScreenPageImage(PageWithGraph(graph), kWindowColour);
    ASSERT_GT(ColoursOf(image).size(), 256u) << "the fixture must need a reduced palette";
    const std::optional<BmpFile> bmp =
        ReadBmp(PictureFileBytes(image, kWindowColour, PictureFormat::Bmp).toStdString());
    ASSERT_TRUE(bmp);
    EXPECT_EQ(bmp->width, 810);
    EXPECT_EQ(bmp->height, 536);
    EXPECT_EQ(bmp->colourTable.size(), 256u);
    EXPECT_EQ(GraphColourMismatches(image, *bmp, ExactExportColours(kWindowColour)), 0);
    // The whole graph rectangle, text-free, comes out pixel for pixel.
    int wrong = 0;
    for (int y = 0; y < 235; ++y)
        for (int x = 0; x < 650; ++x)
            wrong += bmp->Pixel(14 + x, 42 + y) != PixelAt(graph, x, y);
    EXPECT_EQ(wrong, 0);
}

// Largest difference of one channel between the page and its 8-bit form.
int LargestChannelError(const QImage& source, const BmpFile& bmp)
{
    int largest = 0;
    for (int y = 0; y < source.height(); ++y) {
        for (int x = 0; x < source.width(); ++x) {
            const QRgb a = PixelAt(source, x, y);
            const QRgb b = bmp.Pixel(x, y);
            largest = std::max(
                {largest, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
        }
    }
    return largest;
}

TEST(PictureFile, PageColoursBeyondTheTableStayCloseToTheirOwn)
{
    const QImage image = MakeScreenPageImage(PageWithGraph(FullGraph()), kWindowColour);
    const std::optional<BmpFile> bmp =
        ReadBmp(PictureFileBytes(image, kWindowColour, PictureFormat::Bmp).toStdString());
    ASSERT_TRUE(bmp);
    const int largest = LargestChannelError(image, *bmp);
    EXPECT_LE(largest, 16) << "of " << ColoursOf(image).size() << " colours";
}

int SquaredDistance(QRgb a, QRgb b)
{
    const int dr = qRed(a) - qRed(b), dg = qGreen(a) - qGreen(b), db = qBlue(a) - qBlue(b);
    return dr * dr + dg * dg + db * db;
}

TEST(IndexedBitmap, RareExactColoursWinOverFrequentShades)
{
    // 300 shades of ten pixels each, and one pixel of each exact colour.
    const QList<QRgb> exact = ExactExportColours(kWindowColour);
    QImage image(300, 11, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int x = 0; x < 300; ++x)
        for (int y = 0; y < 10; ++y)
            image.setPixel(x, y, qRgb(x % 256, x / 256 * 100 + 20, 77));
    for (qsizetype i = 0; i < exact.size(); ++i)
        image.setPixel(static_cast<int>(i), 10, exact[i]);

    const QList<QRgb> palette = ExportPalette(image, exact);
    ASSERT_EQ(palette.size(), kPaletteSize);
    const QImage indexed = ToIndexed8(image, palette);
    ASSERT_EQ(indexed.colorCount(), kPaletteSize);
    for (qsizetype i = 0; i < exact.size(); ++i)
        EXPECT_EQ(indexed.pixel(static_cast<int>(i), 10), exact[i]) << i;
    // A shade left out of the table takes its nearest entry.
    int notNearest = 0;
    for (int x = 0; x < 300; ++x) {
        const QRgb in = image.pixel(x, 0);
        int best = SquaredDistance(in, palette[0]);
        for (QRgb entry : palette)
            best = std::min(best, SquaredDistance(in, entry));
        notNearest += SquaredDistance(in, indexed.pixel(x, 0)) != best;
    }
    EXPECT_EQ(notNearest, 0);
}

TEST(PictureFile, PngHoldsTheSameEightBitPixels)
{
    const QImage image = MakeScreenPageImage(PageWithGraph(FullGraph()), kWindowColour);
    TempDir dir;
    ASSERT_TRUE(SavePicture(dir.file("p.png"), image, kWindowColour, PictureFormat::Png));
    ASSERT_TRUE(SavePicture(dir.file("p.bmp"), image, kWindowColour, PictureFormat::Bmp));
    const QImage png(QString::fromStdString(dir.file("p.png")));
    const std::optional<BmpFile> bmp = ReadBmp(ReadAll(dir.file("p.bmp")));
    ASSERT_TRUE(bmp);
    ASSERT_EQ(png.size(), QSize(810, 536));
    EXPECT_EQ(png.format(), QImage::Format_Indexed8);
    EXPECT_EQ(ReadAll(dir.file("p.png")).substr(1, 3), "PNG");
    int wrong = 0;
    for (int y = 0; y < 536; ++y)
        for (int x = 0; x < 810; ++x)
            wrong += PixelAt(png, x, y) != bmp->Pixel(x, y);
    EXPECT_EQ(wrong, 0);
}

TEST(PictureFile, FormatByExtensionAndFileLayerErrors)
{
    const std::pair<const char*, PictureFormat> cases[] = {
        {"a.bmp", PictureFormat::Bmp},     {"a.png", PictureFormat::Png}, {"a.PNG", PictureFormat::Png},
        {"a.png.bmp", PictureFormat::Bmp}, {"a", PictureFormat::Bmp},     {"d.png/a", PictureFormat::Bmp},
    };
    for (const auto& [path, format] : cases)
        EXPECT_EQ(PictureFormatOf(path), format) << path;

    TempDir dir;
    const std::string path = dir.file("none/g.bmp");
    IoResult r = SavePicture(path, QImage(670, 255, QImage::Format_RGB32), kWindowColour, PictureFormat::Bmp);
    EXPECT_FALSE(r);
    EXPECT_NE(r.error.find(path), std::string::npos) << r.error;
}

// A bitmap saved where the file system refuses it: the file layer's message
// names the file and the reason, an old file stays as it was, the folder
// holds nothing new and the device or pipe is not replaced by a file.
TEST(PictureFile, SavingWhereTheFileSystemRefusesNamesTheFileAndTheReason)
{
    QImage image(670, 255, QImage::Format_RGB32);
    image.fill(kWindowColour);
    const QImage before = image;
    TempDir dir;
    int made = 0;
    for (qlxtest::BadPlace place : qlxtest::kBadPlaces) {
        SCOPED_TRACE(qlxtest::BadPlaceName(place));
        qlxtest::BadDestinations places(dir.path().string());
        std::string why;
        const auto d = places.Make(place, "page.bmp", why);
        if (!d) {
            std::cout << "[ skipped  ] " << qlxtest::BadPlaceName(place) << ": " << why << "\n";
            continue;
        }
        ++made;
        const std::string folder = std::filesystem::path(d->path).parent_path().string();
        const auto entriesBefore = EntriesOf(folder);
        const auto save = [&] {
            const IoResult r = SavePicture(d->path, image, kWindowColour, PictureFormat::Bmp);
            return std::string(r.ok ? "1" : "0") + r.error;
        };
        const std::optional<std::string> answer = d->asOrdinaryUser ? qlxtest::RunAsOrdinaryUser(save) : save();
        ASSERT_TRUE(answer);
        EXPECT_EQ(*answer, "0ファイルを書き込めません。\n" + d->path + "\n" + d->reason);
        if (d->oldBytes) {
            EXPECT_EQ(ReadAll(d->path), *d->oldBytes);
        }
        EXPECT_EQ(EntriesOf(folder), entriesBefore);
        struct stat st {};
        if (place == qlxtest::BadPlace::FullDevice) {
            EXPECT_TRUE(::lstat(d->path.c_str(), &st) == 0 && S_ISCHR(st.st_mode));
        }
        if (place == qlxtest::BadPlace::Pipe) {
            EXPECT_TRUE(::lstat(d->path.c_str(), &st) == 0 && S_ISFIFO(st.st_mode));
        }
    }
    EXPECT_TRUE(image == before);
    if (made == 0)
        GTEST_SKIP() << "no bad place could be made";
}

}  // namespace
}  // namespace qlx
