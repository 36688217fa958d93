// CSV and picture exports of the measured curve and the impedance page.
#include "app/export_commands.h"

#include <QAction>
#include <QLineEdit>
#include <QTabWidget>

#include "app/file_dialogs.h"
#include "app/local_path.h"
#include "app/settings.h"
#include "graph/picture_file.h"
#include "model/curve_csv.h"
#include "model/curve_state.h"
#include "model/ref_list.h"

namespace qlx {

namespace {

constexpr int kImpPageIndex = 0;

// The bitmap is the default file type; PNG holds the same pixels.
const char* const kPictureFilter = "ビットマップ (*.bmp);;PNG (*.png)";

}  // namespace

ExportCommands::ExportCommands(QTabWidget* pages, const ImpedancePageUi& page, const MainMenus& menus,
                               Settings& settings, const CurveState& curves, FileDialogs& files,
                               std::function<void()> showJudgement, QObject* parent)
    : QObject(parent),
      pages_(pages),
      page_(page),
      settings_(settings),
      curves_(curves),
      files_(files),
      showJudgement_(std::move(showJudgement))
{
    connect(menus.FileImpCsvSaveMenu, &QAction::triggered, this, &ExportCommands::FileImpCsvSaveMenuClick);
    connect(menus.SaveImpPageImageMenu, &QAction::triggered, this, &ExportCommands::SaveImpPageImageMenuClick);
    connect(menus.SaveGraphImageMenu, &QAction::triggered, this, &ExportCommands::SaveGraphImageMenuClick);
}

QString ExportCommands::ProposedName(ExportKind kind, const std::string& folder) const
{
    return FromLocal(ProposedExportPath(kind, folder, LocalPath(page_.ImpFileNameEdit->text()),
                                        LocalPath(page_.ImpNameEdit->text())));
}

void ExportCommands::FileImpCsvSaveMenuClick()
{
    if (!curves_.ImpLoaded)
        return;
    const std::optional<QString> chosen =
        files_.SaveFile({QStringLiteral("CSV形式を保存"), QStringLiteral("CSV (*.csv)"), QStringLiteral("csv"),
                         QString(), ProposedName(ExportKind::CurveCsv, settings_.CsvDir)});
    if (!chosen)
        return;
    const std::string path = LocalPath(*chosen);
    settings_.CsvDir = FolderWithoutSeparator(path);
    // A point that is no number keeps the rows before it in the file.
    if (CsvExportResult r = WriteCurveCsv(path, curves_.ImpLines, curves_.ImpMinFreq, curves_.ImpMaxFreq); !r)
        files_.Error(QString::fromStdString(r.error));
}

void ExportCommands::SaveImpPageImageMenuClick()
{
    SavePicture(ExportKind::PageBitmap, PagePart::WholePage, QStringLiteral("インピーダンス画面の画像を保存"));
}

void ExportCommands::SaveGraphImageMenuClick()
{
    SavePicture(ExportKind::GraphBitmap, PagePart::Graph, QStringLiteral("グラフの画像を保存"));
}

void ExportCommands::SavePicture(ExportKind kind, PagePart part, const QString& title)
{
    pages_->setCurrentIndex(kImpPageIndex);
    const std::optional<QString> chosen =
        files_.SaveFile({title, QString::fromUtf8(kPictureFilter), QStringLiteral("bmp"), QString(),
                         ProposedName(kind, settings_.BmpDir)});
    if (!chosen)
        return;
    // The page is captured after the dialog has gone, as it is shown then.
    const QImage image = ImpPageImage(page_, part);
    const std::string path = LocalPath(*chosen);
    if (IoResult r = qlx::SavePicture(path, image, WindowBackground(page_), PictureFormatOf(path)); !r) {
        files_.Error(QString::fromStdString(r.error));
        return;
    }
    settings_.BmpDir = FolderWithoutSeparator(path);
    showJudgement_();
}

}  // namespace qlx
