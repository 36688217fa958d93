// Page 1, "ダウンロード": the lists and download buttons of the
// instrument's reference and measured curves.
#include <QTabWidget>

#include "app/builder_widgets.h"
#include "app/window_builder_parts.h"

namespace qlx::build {

void BuildDownloadPage(QTabWidget* pages, DownloadPageUi& u)
{
    u.DownloadPage = new QWidget;
    pages->addTab(u.DownloadPage, QStringLiteral("ダウンロード"));
    QWidget* p = u.DownloadPage;

    QGroupBox* ref = Group(p, QStringLiteral("リファレンス・カーブ"), 8, 8, 408, 580);
    Caption(ref, QStringLiteral("全リファレンス・カーブをダウンロード"), 14, 26, 250);
    u.AllRefNoDownLoadButton = Button(ref, QStringLiteral("OK"), 314, 22, 80, 24);
    Caption(ref, QStringLiteral("リストから選択してダウンロード"), 14, 64, 250);
    u.RefCurveListView = ReportView(ref, {QStringLiteral("No."), QStringLiteral("カーブ名")}, {35, 262});
    Place(u.RefCurveListView, 14, 86, 380, 440);
    u.RefCurveListButton = Button(ref, QStringLiteral("リスト表示"), 14, 536, 100, 26);
    u.ListSelRefNoDownLoadButton = Button(ref, QStringLiteral("OK"), 314, 536, 80, 26);
    u.ListSelRefNoDownLoadButton->setEnabled(false);

    QGroupBox* imp = Group(p, QStringLiteral("測定カーブ"), 426, 8, 408, 580);
    Caption(imp, QStringLiteral("全測定カーブをダウンロード"), 14, 26, 250);
    u.AllImpDownLoadButton = Button(imp, QStringLiteral("OK"), 314, 22, 80, 24);
    Caption(imp, QStringLiteral("リストから選択してダウンロード"), 14, 64, 250);
    u.ImpCurveListView = ReportView(
        imp, {QStringLiteral("No."), QStringLiteral("測定日時"), QStringLiteral("カーブ名")}, {35, 132, 132});
    Place(u.ImpCurveListView, 14, 86, 380, 440);
    u.ImpCurveListButton = Button(imp, QStringLiteral("リスト表示"), 14, 536, 100, 26);
    u.ListSelImpDownLoadButton = Button(imp, QStringLiteral("OK"), 314, 536, 80, 26);
    u.ListSelImpDownLoadButton->setEnabled(false);
}

}  // namespace qlx::build
