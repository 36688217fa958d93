#include "app/zma_export.h"

#include <QDate>

#include "analysis/channel_points.h"
#include "analysis/resonance_analysis.h"
#include "app/file_dialogs.h"
#include "app/local_path.h"
#include "app/settings.h"
#include "model/curve_lines.h"
#include "model/export_names.h"
#include "model/file_io.h"
#include "model/ref_list.h"
#include "model/sjis.h"

namespace qlx {

namespace {

// The name as the name field shows it (trailing blanks kept), in UTF-8.
std::string ShownName(const CurveState& curves) { return SjisToUtf8(BracketPayload(curves.ImpLines[NameLine])); }

std::string WithoutTrailingBlanks(std::string s)
{
    s.erase(s.find_last_not_of(' ') + 1);
    return s;
}

bool AnyPoint(const ChannelPoints& points)
{
    for (const auto& p : points)
        if (p)
            return true;
    return false;
}

}  // namespace

ChannelPoints ZmaPointsOf(const CurveState& curves)
{
    const int c = curves.SelectedChannel;
    return ChannelPointsOf(curves.ImpLines, c, curves.ImpMinFreq[c], curves.ImpMaxFreq[c]);
}

std::string MeasuredZmaBytes(const CurveState& curves, std::optional<double> reOhm, CalendarDate today, bool zeroPhase)
{
    const ChannelPoints points = ZmaPointsOf(curves);
    ZmaHeader header;
    header.curveNameUtf8 = WithoutTrailingBlanks(ShownName(curves));
    header.channel = curves.SelectedChannel + 1;
    header.date = today;
    header.zeroPhase = zeroPhase;
    if (zeroPhase)
        return ZmaText(points, PhasePoints{}, header);
    return ZmaTextWithMinimumPhase(points, AnalyzeResonance(points, reOhm), header);
}

void ZmaExport::Run(std::optional<double> reOhm)
{
    if (!curves_.ImpLoaded)
        return;
    if (!AnyPoint(ZmaPointsOf(curves_))) {
        dialogs_.Error(QStringLiteral("チャンネル%1 には測定点がないため、ZMA形式で保存できません。")
                           .arg(curves_.SelectedChannel + 1));
        return;
    }
    const std::string proposed =
        ProposedExportPath(ExportKind::CurveZma, settings_.CsvDir, DisplayName(curves_.ImpFilePath),
                           LocalPath(QString::fromStdString(ShownName(curves_))));
    const FileDialogRequest request{QStringLiteral("ZMA形式で保存"), QStringLiteral("ZMA (*.zma)"),
                                    QStringLiteral("zma"), proposed.empty() ? QString() : FromLocal(FolderOf(proposed)),
                                    FromLocal(FileNameOf(proposed))};
    bool zeroPhase = zeroPhase_;
    const std::optional<QString> chosen = dialogs_.SaveFileWithOption(
        request, QStringLiteral("位相を 0 で書き出す (|Z| から推定した位相を書かない)"), zeroPhase);
    if (!chosen)
        return;
    zeroPhase_ = zeroPhase;
    const std::string path = LocalPath(*chosen);
    settings_.CsvDir = FolderWithoutSeparator(path);

    const QDate date = QDate::currentDate();
    const std::string bytes = MeasuredZmaBytes(curves_, reOhm, {date.year(), date.month(), date.day()}, zeroPhase);
    if (IoResult r = WriteFileBytes(path, bytes); !r)
        dialogs_.Error(QString::fromStdString(r.error));
}

}  // namespace qlx
