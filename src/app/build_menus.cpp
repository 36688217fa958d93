// The menu bar: captions, shortcuts and the items' initial states.
#include <QAction>
#include <QMainWindow>
#include <QMenuBar>

#include "app/window_builder_parts.h"

namespace qlx::build {

namespace {

QAction* Item(QMenu* menu, const QString& text, const QKeySequence& key = {})
{
    QAction* a = menu->addAction(text);
    if (!key.isEmpty())
        a->setShortcut(key);
    return a;
}

}  // namespace

void BuildMenus(QMainWindow& window, MainMenus& m)
{
    QMenuBar* bar = window.menuBar();

    QMenu* file = m.FileMenu = bar->addMenu(QStringLiteral("ファイル(&F)"));
    m.FileNewItem =
        Item(file, QStringLiteral("リファレンス・リストを新規作成(&N)"), QKeySequence(Qt::CTRL | Qt::Key_N));
    QMenu* open = file->addMenu(QStringLiteral("開く(&O)"));
    m.ImpCurveOpenAction = Item(open, QStringLiteral("測定カーブ(&M)..."), QKeySequence(Qt::CTRL | Qt::Key_M));
    m.RefCurveOpenAction =
        Item(open, QStringLiteral("リファレンス・カーブ(&R)..."), QKeySequence(Qt::CTRL | Qt::Key_R));
    m.RefListFileOpenMenu =
        Item(open, QStringLiteral("リファレンス・リスト(&L)..."), QKeySequence(Qt::CTRL | Qt::Key_L));
    file->addSeparator();
    QMenu* save = file->addMenu(QStringLiteral("上書き保存(&S)"));
    m.ImpFileSaveMenu = Item(save, QStringLiteral("測定カーブ(&M)..."), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_M));
    m.RefFileSaveMenu =
        Item(save, QStringLiteral("リファレンス・カーブ(&R)..."), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_R));
    m.RefListFileSaveMenu =
        Item(save, QStringLiteral("リファレンス・リスト(&L)..."), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_L));
    QMenu* saveAs = file->addMenu(QStringLiteral("名前を付けて保存(&A)"));
    m.ImpFileSaveAsMenu =
        Item(saveAs, QStringLiteral("測定カーブ (&M)"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M));
    m.RefFileSaveAsMenu =
        Item(saveAs, QStringLiteral("リファレンス・カーブ (&R)"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R));
    m.RefListFileSaveAsMenu =
        Item(saveAs, QStringLiteral("リファレンス・リスト (&L)"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_L));
    for (QAction* a : {m.ImpFileSaveMenu, m.RefFileSaveMenu, m.RefListFileSaveMenu, m.ImpFileSaveAsMenu,
                       m.RefFileSaveAsMenu, m.RefListFileSaveAsMenu})
        a->setEnabled(false);
    file->addSeparator();
    m.SaveImpPageImageMenu = Item(file, QStringLiteral("インピーダンス画面の画像を保存(&I)..."));
    m.SaveGraphImageMenu = Item(file, QStringLiteral("グラフの画像を保存(&G)..."));
    file->addSeparator();
    m.FileImpCsvSaveMenu = Item(file, QStringLiteral("測定カーブをCSV形式で保存(&M)..."));
    m.FileImpZmaSaveMenu = Item(file, QStringLiteral("測定カーブをZMA形式で保存(&Z)..."));
    m.FileImpZmaSaveMenu->setEnabled(false);
    m.FileRefListCsvSaveMenu = Item(file, QStringLiteral("リファレンス・リストをCSV形式で保存(&L)..."));
    m.FileImpCsvSaveMenu->setEnabled(false);
    m.FileRefListCsvSaveMenu->setEnabled(false);
    file->addSeparator();
    m.PagePrintSetupItem =
        Item(file, QStringLiteral("プリンタ設定(&U)..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    m.FilePrintItem = Item(file, QStringLiteral("インピーダンス画面を印刷(&P)..."), QKeySequence(Qt::CTRL | Qt::Key_P));
    m.FileGraphPrintMenu = Item(file, QStringLiteral("グラフを印刷(&Q)..."), QKeySequence(Qt::CTRL | Qt::Key_G));
    // The items' hints: a status tip, and a tool tip beside the highlighted
    // item, since the window has no status line to show them.
    const auto hint = [](QAction* a, const QString& text) {
        a->setStatusTip(text);
        a->setToolTip(text);
    };
    hint(m.PagePrintSetupItem, QStringLiteral("ページの設定を変更します"));
    hint(m.FilePrintItem, QStringLiteral("現在のファイルを印刷します"));
    hint(m.FileGraphPrintMenu, QStringLiteral("現在のファイルを印刷します"));
    file->setToolTipsVisible(true);
    file->addSeparator();
    m.ExitMenu = Item(file, QStringLiteral("終了(&X)"));

    m.EditMenu = bar->addMenu(QStringLiteral("編集(&E)"));
    m.EditUndoMenu = Item(m.EditMenu, QStringLiteral("元に戻す(&U)"), QKeySequence(Qt::CTRL | Qt::Key_Z));
    m.EditMenu->addSeparator();
    m.EditCutMenu = Item(m.EditMenu, QStringLiteral("切り取り(&T)"), QKeySequence(Qt::CTRL | Qt::Key_X));
    m.EditCopyMenu = Item(m.EditMenu, QStringLiteral("コピー(&C)"), QKeySequence(Qt::CTRL | Qt::Key_C));
    m.EditPasteMenu = Item(m.EditMenu, QStringLiteral("貼り付け(&P)"), QKeySequence(Qt::CTRL | Qt::Key_V));
    m.EditMenu->setEnabled(false);
    m.EditMenu->menuAction()->setEnabled(false);
    // The edit items only act while a text box has the focus; the text boxes
    // handle the same shortcuts themselves, so these fire from the menu only.
    for (QAction* a : {m.EditUndoMenu, m.EditCutMenu, m.EditCopyMenu, m.EditPasteMenu})
        a->setShortcutContext(Qt::WidgetShortcut);

    QMenu* view = bar->addMenu(QStringLiteral("表示"));
    const QString pages[3] = {QStringLiteral("インピーダンス画面(&I)"), QStringLiteral("ダウンロード画面(&D)"),
                              QStringLiteral("アップロード画面(&U)")};
    for (int i = 0; i < 3; ++i)
        m.ShowPageMenu[i] = Item(view, pages[i], QKeySequence(Qt::Key_F1 + i));
    view->addSeparator();
    const QString channels[4] = {QStringLiteral("チャンネル１選択(&A)"), QStringLiteral("チャンネル２選択(&B)"),
                                 QStringLiteral("チャンネル３選択(&C)"), QStringLiteral("チャンネル４選択(&D)")};
    for (int c = 0; c < 4; ++c)
        m.SelChMenu[c] = Item(view, channels[c], QKeySequence(Qt::CTRL | (Qt::Key_1 + c)));
    view->addSeparator();
    m.ImpCurveShowMenu = Item(view, QStringLiteral("測定カーブ表示(&M)"), QKeySequence(Qt::CTRL | Qt::Key_5));
    m.RefCurveShowMenu = Item(view, QStringLiteral("リファレンス・カーブ表示(&R)"), QKeySequence(Qt::CTRL | Qt::Key_6));
    m.ThCurveShowMenu =
        Item(view, QStringLiteral("スレッショルド・カーブ表示(&T)"), QKeySequence(Qt::CTRL | Qt::Key_7));
    view->addSeparator();
    m.GraphZoomInMenu = Item(view, QStringLiteral("グラフ拡大(&P)"), QKeySequence(Qt::CTRL | Qt::Key_I));
    m.GraphZoomOutMenu = Item(view, QStringLiteral("グラフ縮小(&L)"), QKeySequence(Qt::CTRL | Qt::Key_O));
    m.GraphZoomResetMenu = Item(view, QStringLiteral("グラフ等倍(&N)"), QKeySequence(Qt::CTRL | Qt::Key_T));

    QMenu* tools = m.ToolsMenu = bar->addMenu(QStringLiteral("ツール"));
    m.CursorOnMenu = Item(tools, QStringLiteral("カーソルON(&O)"), QKeySequence(Qt::CTRL | Qt::Key_K));
    tools->addSeparator();
    m.RemoteMeasureMenu = Item(tools, QStringLiteral("リモート測定開始(&S)"), QKeySequence(Qt::Key_F9));
    tools->addSeparator();
    m.ResonanceMenu = Item(tools, QStringLiteral("共振パラメータ(&P)..."));
    m.ResultsHistoryMenu = Item(tools, QStringLiteral("測定履歴(&H)..."));

    QMenu* comm = bar->addMenu(QStringLiteral("通信"));
    m.ImpDownloadMenu =
        Item(comm, QStringLiteral("全測定カーブをダウンロード(&M)..."), QKeySequence(Qt::CTRL | Qt::Key_D));
    m.RefDownloadMenu = Item(comm, QStringLiteral("全リファレンス・カーブをダウンロード(&R)..."),
                             QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D));
    comm->addSeparator();
    m.ComPortMenu = Item(comm, QStringLiteral("COMポート番号(&C)..."));

    QMenu* help = bar->addMenu(QStringLiteral("ヘルプ(&H)"));
    m.VersionMenu = Item(help, QStringLiteral("バージョン情報 (&A)..."));
}

}  // namespace qlx::build
