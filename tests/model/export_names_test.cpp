#include <gtest/gtest.h>

#include "model/export_names.h"
#include "support/temp_dir.h"

namespace qlx {
namespace {

using qlxtest::TempDir;

TEST(ProposedExportPath, FollowsFileNameThenCurveNameThenFixedName)
{
    TempDir dir;
    const std::string d = dir.path().string();
    const std::string ab10 = "AB" + std::string(10, ' ');
    struct Case {
        ExportKind kind;
        std::string fileName, curveName, expected;
    };
    const Case cases[] = {
        {ExportKind::CurveCsv, "Woofer 1", "NAME", d + "/Woofer 1.csv"},
        {ExportKind::PageBitmap, "Woofer 1", "NAME", d + "/Woofer 1.bmp"},
        {ExportKind::GraphBitmap, "Woofer 1", "NAME", d + "/Woofer 1_Graph.bmp"},
        {ExportKind::CurveCsv, "", ab10, d + "/" + ab10 + ".csv"},
        {ExportKind::PageBitmap, "", ab10, d + "/" + ab10 + ".bmp"},
        {ExportKind::GraphBitmap, "", ab10, d + "/" + ab10 + "_Graph.bmp"},
        {ExportKind::CurveCsv, "", std::string(12, ' '), d + "/Impedance.csv"},
        {ExportKind::PageBitmap, "", std::string(12, ' '), d + "/Impedance.bmp"},
        {ExportKind::GraphBitmap, "", std::string(12, ' '), d + "/Graph.bmp"},
        {ExportKind::CurveCsv, "", "", d + "/Impedance.csv"},
        {ExportKind::GraphBitmap, "", std::string(11, ' '), d + "/" + std::string(11, ' ') + "_Graph.bmp"},
        {ExportKind::CurveZma, "Woofer 1", "NAME", d + "/Woofer 1.zma"},
        {ExportKind::CurveZma, "", ab10, d + "/" + ab10 + ".zma"},
        {ExportKind::CurveZma, "", std::string(12, ' '), d + "/Impedance.zma"},
    };
    for (const Case& k : cases)
        EXPECT_EQ(ProposedExportPath(k.kind, d, k.fileName, k.curveName), k.expected) << k.expected;
    EXPECT_EQ(ProposedExportPath(ExportKind::CurveCsv, d + "/", "x", ""), d + "/x.csv") << "no doubled separator";
}

TEST(ProposedExportPath, NoExistingFolderProposesNothing)
{
    TempDir dir;
    for (const std::string& folder : {std::string(), dir.file("gone"), dir.file("gone/")})
        for (ExportKind kind : {ExportKind::CurveCsv, ExportKind::PageBitmap, ExportKind::GraphBitmap})
            EXPECT_EQ(ProposedExportPath(kind, folder, "Woofer", "NAME"), "") << folder;
}

}  // namespace
}  // namespace qlx
