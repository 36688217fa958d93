#include "app/mainform.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QWheelEvent>

#include "app/colour_button.h"
#include "app/program_version.h"
#include "app/file_dialogs.h"
#include "app/graph_view.h"
#include "app/up_down.h"
#include "app/window_keys.h"
#include "judge/threshold_editors.h"
#include "model/freq_table.h"
#include "model/ref_list_editor.h"

namespace qlx {

namespace {

const QColor kChannelSwatch[4] = {QColor(0x84, 0, 0), QColor(0, 0x82, 0), QColor(0, 0, 0x84), QColor(0x84, 0, 0x84)};

template <typename W>
W* Place(W* widget, int x, int y, int w, int h)
{
    widget->setGeometry(x, y, w, h);
    return widget;
}

QLabel* Caption(QWidget* parent, const QString& text, int x, int y, int w = 60, int h = 16)
{
    return Place(new QLabel(text, parent), x, y, w, h);
}

QLineEdit* ReadOnlyEdit(QWidget* parent, int x, int y, int w, int h = 20)
{
    QLineEdit* edit = Place(new QLineEdit(parent), x, y, w, h);
    edit->setReadOnly(true);
    return edit;
}

QGroupBox* Group(QWidget* parent, const QString& title, int x, int y, int w, int h)
{
    return Place(new QGroupBox(title, parent), x, y, w, h);
}

QPushButton* Button(QWidget* parent, const QString& text, int x, int y, int w, int h)
{
    return Place(new QPushButton(text, parent), x, y, w, h);
}

QToolButton* IconButton(QWidget* parent, QStyle::StandardPixmap icon, const QString& tip, int x, int y, int size = 22)
{
    QToolButton* b = Place(new QToolButton(parent), x, y, size, size);
    b->setIcon(parent->style()->standardIcon(icon));
    b->setToolTip(tip);
    return b;
}

QToolButton* TextIconButton(QWidget* parent, const QString& text, const QString& tip, int x, int y)
{
    QToolButton* b = Place(new QToolButton(parent), x, y, 22, 22);
    b->setText(text);
    b->setToolTip(tip);
    return b;
}

TUpDown* Spinner(QWidget* parent, Qt::Orientation o, int x, int y, int w, int h, int min, int max, int position)
{
    TUpDown* u = Place(new TUpDown(o, parent), x, y, w, h);
    u->SetRange(min, max);
    u->SetPosition(position);
    return u;
}

QTreeWidget* ReportView(QWidget* parent, const QStringList& headings, const QList<int>& widths)
{
    QTreeWidget* view = new QTreeWidget(parent);
    view->setHeaderLabels(headings);
    view->setRootIsDecorated(false);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int i = 0; i < widths.size(); ++i)
        view->setColumnWidth(i, widths[i]);
    view->setEnabled(false);
    return view;
}

}  // namespace

TMainForm::TMainForm(const Settings& s, FileDialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), settings(s), dialogs_(dialogs)
{
    setWindowTitle(QStringLiteral("QLX-50 Manager Version %1").arg(QString::fromLatin1(kProgramVersion)));
    PageControl = new QTabWidget(this);
    setCentralWidget(PageControl);
    BuildMenus();
    BuildImpedancePage();
    BuildDownloadPage();
    BuildUploadPage();
    ConnectCurveFields();
    ConnectRefList();
    ConnectGraphControls();
    ConnectCursorControls();
    ConnectMeasurement();

    // Window creation: default lines, editors from channel 0, cursor at 1 kHz.
    curves.FillDefaultLines();
    SetSpinnerPositions(PositionsForChannel(curves, 0));
    CursorFreqUpDown->SetPosition(68);
    CursorFreqEdit->setText(QStringLiteral(" %1Hz").arg(QString::fromLatin1(FreqLabels[68])));
    ShowCurveFields(CurveKind::Measured);
    ShowCurveFields(CurveKind::Reference);
    curves.SelectedChannel = 0;
    RedrawGraph();
    CheckPrinters();

    resize(850, 650);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    qApp->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { EnableEditMenuFor(now); });
    PageControl->setCurrentIndex(0);
    CreateSideDialogs();
}

TMainForm::~TMainForm() { qApp->removeEventFilter(this); }

void TMainForm::BuildMenus()
{
    QMenuBar* bar = menuBar();
    auto item = [this](QMenu* menu, const QString& text, const QKeySequence& key = {}) {
        QAction* a = menu->addAction(text);
        if (!key.isEmpty())
            a->setShortcut(key);
        return a;
    };

    QMenu* file = bar->addMenu(QStringLiteral("ファイル(&F)"));
    FileNewItem = item(file, QStringLiteral("リファレンス・リストを新規作成(&N)"), QKeySequence(Qt::CTRL | Qt::Key_N));
    QMenu* open = file->addMenu(QStringLiteral("開く(&O)"));
    ImpCurveOpenAction = item(open, QStringLiteral("測定カーブ(&M)..."), QKeySequence(Qt::CTRL | Qt::Key_M));
    RefCurveOpenAction = item(open, QStringLiteral("リファレンス・カーブ(&R)..."), QKeySequence(Qt::CTRL | Qt::Key_R));
    RefListFileOpenMenu = item(open, QStringLiteral("リファレンス・リスト(&L)..."), QKeySequence(Qt::CTRL | Qt::Key_L));
    file->addSeparator();
    QMenu* save = file->addMenu(QStringLiteral("上書き保存(&S)"));
    ImpFileSaveMenu = item(save, QStringLiteral("測定カーブ(&M)..."), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_M));
    RefFileSaveMenu =
        item(save, QStringLiteral("リファレンス・カーブ(&R)..."), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_R));
    RefListFileSaveMenu =
        item(save, QStringLiteral("リファレンス・リスト(&L)..."), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_L));
    QMenu* saveAs = file->addMenu(QStringLiteral("名前を付けて保存(&A)"));
    ImpFileSaveAsMenu = item(saveAs, QStringLiteral("測定カーブ (&M)"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M));
    RefFileSaveAsMenu =
        item(saveAs, QStringLiteral("リファレンス・カーブ (&R)"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R));
    RefListFileSaveAsMenu =
        item(saveAs, QStringLiteral("リファレンス・リスト (&L)"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_L));
    for (QAction* a : {ImpFileSaveMenu, RefFileSaveMenu, RefListFileSaveMenu, ImpFileSaveAsMenu, RefFileSaveAsMenu,
                       RefListFileSaveAsMenu})
        a->setEnabled(false);
    file->addSeparator();
    SaveImpPageImageMenu = item(file, QStringLiteral("インピーダンス画面の画像を保存(&I)..."));
    SaveGraphImageMenu = item(file, QStringLiteral("グラフの画像を保存(&G)..."));
    file->addSeparator();
    FileImpCsvSaveMenu = item(file, QStringLiteral("測定カーブをCSV形式で保存(&M)..."));
    FileRefListCsvSaveMenu = item(file, QStringLiteral("リファレンス・リストをCSV形式で保存(&L)..."));
    FileImpCsvSaveMenu->setEnabled(false);
    FileRefListCsvSaveMenu->setEnabled(false);
    file->addSeparator();
    PrinterSetupMenu =
        item(file, QStringLiteral("プリンタ設定(&U)..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    FilePrintMenu = item(file, QStringLiteral("インピーダンス画面を印刷(&P)..."), QKeySequence(Qt::CTRL | Qt::Key_P));
    FileGraphPrintMenu = item(file, QStringLiteral("グラフを印刷(&Q)..."), QKeySequence(Qt::CTRL | Qt::Key_G));
    file->addSeparator();
    ExitMenu = item(file, QStringLiteral("終了(&X)"));
    connect(ExitMenu, &QAction::triggered, this, &QWidget::close);

    EditMenu = bar->addMenu(QStringLiteral("編集(&E)"));
    EditUndoMenu = item(EditMenu, QStringLiteral("元に戻す(&U)"), QKeySequence(Qt::CTRL | Qt::Key_Z));
    EditMenu->addSeparator();
    EditCutMenu = item(EditMenu, QStringLiteral("切り取り(&T)"), QKeySequence(Qt::CTRL | Qt::Key_X));
    EditCopyMenu = item(EditMenu, QStringLiteral("コピー(&C)"), QKeySequence(Qt::CTRL | Qt::Key_C));
    EditPasteMenu = item(EditMenu, QStringLiteral("貼り付け(&P)"), QKeySequence(Qt::CTRL | Qt::Key_V));
    EditMenu->setEnabled(false);
    EditMenu->menuAction()->setEnabled(false);
    // The edit items only act while a text box has the focus; the text boxes
    // handle the same shortcuts themselves, so these fire from the menu only.
    for (QAction* a : {EditUndoMenu, EditCutMenu, EditCopyMenu, EditPasteMenu})
        a->setShortcutContext(Qt::WidgetShortcut);
    connect(EditUndoMenu, &QAction::triggered, this,
            [this] { EditCommand([](QLineEdit* e) { e->undo(); }, [](QPlainTextEdit* e) { e->undo(); }); });
    connect(EditCutMenu, &QAction::triggered, this,
            [this] { EditCommand([](QLineEdit* e) { e->cut(); }, [](QPlainTextEdit* e) { e->cut(); }); });
    connect(EditCopyMenu, &QAction::triggered, this,
            [this] { EditCommand([](QLineEdit* e) { e->copy(); }, [](QPlainTextEdit* e) { e->copy(); }); });
    connect(EditPasteMenu, &QAction::triggered, this,
            [this] { EditCommand([](QLineEdit* e) { e->paste(); }, [](QPlainTextEdit* e) { e->paste(); }); });

    QMenu* view = bar->addMenu(QStringLiteral("表示"));
    const QString pages[3] = {QStringLiteral("インピーダンス画面(&I)"), QStringLiteral("ダウンロード画面(&D)"),
                              QStringLiteral("アップロード画面(&U)")};
    for (int i = 0; i < 3; ++i) {
        ShowPageMenu[i] = item(view, pages[i], QKeySequence(Qt::Key_F1 + i));
        connect(ShowPageMenu[i], &QAction::triggered, this, [this, i] { ShowPage(i); });
    }
    view->addSeparator();
    const QString channels[4] = {QStringLiteral("チャンネル１選択(&A)"), QStringLiteral("チャンネル２選択(&B)"),
                                 QStringLiteral("チャンネル３選択(&C)"), QStringLiteral("チャンネル４選択(&D)")};
    for (int c = 0; c < 4; ++c)
        SelChMenu[c] = item(view, channels[c], QKeySequence(Qt::CTRL | (Qt::Key_1 + c)));
    view->addSeparator();
    ImpCurveShowMenu = item(view, QStringLiteral("測定カーブ表示(&M)"), QKeySequence(Qt::CTRL | Qt::Key_5));
    RefCurveShowMenu = item(view, QStringLiteral("リファレンス・カーブ表示(&R)"), QKeySequence(Qt::CTRL | Qt::Key_6));
    ThCurveShowMenu = item(view, QStringLiteral("スレッショルド・カーブ表示(&T)"), QKeySequence(Qt::CTRL | Qt::Key_7));
    view->addSeparator();
    GraphZoomInMenu = item(view, QStringLiteral("グラフ拡大(&P)"), QKeySequence(Qt::CTRL | Qt::Key_I));
    GraphZoomOutMenu = item(view, QStringLiteral("グラフ縮小(&L)"), QKeySequence(Qt::CTRL | Qt::Key_O));
    GraphZoomResetMenu = item(view, QStringLiteral("グラフ等倍(&N)"), QKeySequence(Qt::CTRL | Qt::Key_T));

    QMenu* tools = bar->addMenu(QStringLiteral("ツール"));
    CursorOnMenu = item(tools, QStringLiteral("カーソルON(&O)"), QKeySequence(Qt::CTRL | Qt::Key_K));
    tools->addSeparator();
    RemoteMeasureMenu = item(tools, QStringLiteral("リモート測定開始(&S)"), QKeySequence(Qt::Key_F9));

    QMenu* comm = bar->addMenu(QStringLiteral("通信"));
    ImpDownloadMenu =
        item(comm, QStringLiteral("全測定カーブをダウンロード(&M)..."), QKeySequence(Qt::CTRL | Qt::Key_D));
    RefDownloadMenu = item(comm, QStringLiteral("全リファレンス・カーブをダウンロード(&R)..."),
                           QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D));
    comm->addSeparator();
    ComPortMenu = item(comm, QStringLiteral("COMポート番号(&C)..."));

    QMenu* help = bar->addMenu(QStringLiteral("ヘルプ(&H)"));
    VersionMenu = item(help, QStringLiteral("バージョン情報 (&A)..."));

    connect(ImpCurveOpenAction, &QAction::triggered, this, [this] { OpenCurve(CurveKind::Measured); });
    connect(RefCurveOpenAction, &QAction::triggered, this, [this] { OpenCurve(CurveKind::Reference); });
    connect(ImpFileSaveMenu, &QAction::triggered, this, [this] { SaveCurve(CurveKind::Measured); });
    connect(RefFileSaveMenu, &QAction::triggered, this, [this] { SaveCurve(CurveKind::Reference); });
    connect(ImpFileSaveAsMenu, &QAction::triggered, this, [this] { SaveCurveAs(CurveKind::Measured); });
    connect(RefFileSaveAsMenu, &QAction::triggered, this, [this] { SaveCurveAs(CurveKind::Reference); });
}

void TMainForm::BuildImpedancePage()
{
    ImpPage = new QWidget;
    PageControl->addTab(ImpPage, QStringLiteral("インピーダンス"));
    QWidget* p = ImpPage;

    // Measured curve fields above the graph.
    Caption(p, QStringLiteral("カーブ名"), 6, 8, 48);
    ImpNameEdit = Place(new QLineEdit(p), 56, 6, 100, 20);
    Caption(p, QStringLiteral("ファイル名"), 166, 8, 56);
    ImpFileNameEdit = ReadOnlyEdit(p, 224, 6, 170);
    Caption(p, QStringLiteral("測定端子"), 404, 8, 48);
    ImpTerminalEdit = ReadOnlyEdit(p, 454, 6, 100);
    ImpOpenButton = Button(p, QStringLiteral("開く..."), 564, 5, 70, 22);
    ImpOpenButton->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    ImpOpenButton->setToolTip(QStringLiteral("測定カーブを開く"));

    // Graph, scale labels, level scroll bar and zoom buttons.
    ImpGraphImage = Place(new TGraphView(p), 4, 32, 650, 235);
    const int labelTops[6] = {248, 208, 168, 128, 88, 48};
    const char* labelTexts[6] = {"0", "20", "40", "60", "80", "100"};
    for (int i = 0; i < 6; ++i) {
        QLabel* l = Caption(p, QString::fromLatin1(labelTexts[i]), 9, labelTops[i], 20, 11);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setAutoFillBackground(true);
        l->setStyleSheet(QStringLiteral("background: white; color: #4F4F4F;"));
        QFont f = l->font();
        f.setFamilies({QStringLiteral("Swis721 BT"), QStringLiteral("DejaVu Sans"), QStringLiteral("IPAPGothic")});
        f.setPixelSize(11);
        l->setFont(f);
        ImpLabel[i] = l;
    }
    GraphLevelScrollBar = Place(new QScrollBar(Qt::Vertical, p), 654, 32, 15, 235);
    GraphLevelScrollBar->setRange(500, 1000);
    GraphLevelScrollBar->setValue(1000);
    GraphLevelScrollBar->setSingleStep(100);
    GraphLevelScrollBar->setPageStep(100);
    GraphLevelScrollBar->hide();
    FitBtn = TextIconButton(p, QStringLiteral("F"), QString(), 672, 168);
    FitBtn->hide();
    X1Btn = TextIconButton(p, QStringLiteral("×1"), QStringLiteral("グラフ等倍"), 672, 194);
    PlusBtn = TextIconButton(p, QStringLiteral("＋"), QStringLiteral("グラフ拡大"), 672, 220);
    MinusBtn = TextIconButton(p, QStringLiteral("－"), QStringLiteral("グラフ縮小"), 672, 246);

    // Channels, shown curves and remote measurement in the right column.
    QGroupBox* ch = Group(p, QStringLiteral("チャンネル"), 696, 0, 146, 122);
    Caption(ch, QStringLiteral("選択"), 20, 14, 40);
    Caption(ch, QStringLiteral("重ね書"), 76, 14, 50);
    for (int c = 0; c < 4; ++c) {
        const int y = 32 + c * 22;
        SelChButton[c] = Button(ch, QString::number(c + 1), 16, y, 40, 20);
        SelChButton[c]->setFocusPolicy(Qt::NoFocus);
        DrawChCheckBox[c] = Place(new QCheckBox(ch), 86, y + 2, 18, 16);
        QLabel* swatch = Place(new QLabel(ch), 112, y + 7, 12, 5);
        swatch->setAutoFillBackground(true);
        swatch->setStyleSheet(QStringLiteral("background: %1;").arg(kChannelSwatch[c].name()));
    }
    QGroupBox* shown = Group(p, QStringLiteral("表示カーブ"), 696, 124, 146, 84);
    ImpCurveButton = Button(shown, QStringLiteral("測\u3000定"), 14, 16, 118, 21);
    RefCurveButton = Button(shown, QStringLiteral("リファレンス"), 14, 38, 118, 21);
    ThCurveButton = Button(shown, QStringLiteral("スレッショルド"), 14, 60, 118, 21);
    for (QPushButton* b : {ImpCurveButton, RefCurveButton, ThCurveButton})
        b->setFocusPolicy(Qt::NoFocus);
    SetButtonColour(ImpCurveButton, QColor(0x80, 0, 0));
    SetButtonColour(RefCurveButton, QColor(0, 0x80, 0x80));
    SetButtonColour(ThCurveButton, QColor(0x80, 0x80, 0));
    QGroupBox* remote = Group(p, QStringLiteral("リモート測定"), 696, 210, 146, 60);
    SelChOnlyCheckBox = Place(new QCheckBox(QStringLiteral("選択チャンネルのみ測定"), remote), 4, 16, 140, 18);
    QFont small = SelChOnlyCheckBox->font();
    small.setPixelSize(11);
    SelChOnlyCheckBox->setFont(small);
    MeasStartButton = Button(remote, QStringLiteral("測定開始"), 14, 36, 118, 22);

    // Cursor.
    QGroupBox* cur = Group(p, QStringLiteral("カーソル"), 4, 272, 300, 156);
    CursorOnButton = Button(cur, QStringLiteral("ON"), 10, 18, 44, 22);
    SetButtonColour(CursorOnButton, kGrey);
    Caption(cur, QStringLiteral("周波数 "), 10, 50, 60);
    CursorFreqEdit = ReadOnlyEdit(cur, 74, 48, 90);
    CursorFreqUpDown = Spinner(cur, Qt::Horizontal, 166, 48, 36, 20, 0, 119, 68);
    Caption(cur, QStringLiteral("測 定 "), 10, 76, 60);
    CursorImpEdit = ReadOnlyEdit(cur, 74, 74, 90);
    CursorMaxButton = Button(cur, QStringLiteral("最大"), 176, 74, 52, 20);
    CursorMinButton = Button(cur, QStringLiteral("最小"), 234, 74, 52, 20);
    Caption(cur, QStringLiteral("偏 差 "), 10, 102, 60);
    CursorPercentEdit = ReadOnlyEdit(cur, 74, 100, 90);
    HensaMaxButton = Button(cur, QStringLiteral("最大"), 176, 100, 52, 20);
    Caption(cur, QStringLiteral("リファレンス"), 10, 128, 62);
    CursorRefEdit = ReadOnlyEdit(cur, 74, 126, 90);
    CursorRefMaxButton = Button(cur, QStringLiteral("最大"), 176, 126, 52, 20);
    CursorRefMinButton = Button(cur, QStringLiteral("最小"), 234, 126, 52, 20);
    for (QWidget* w : std::initializer_list<QWidget*>{CursorFreqEdit, CursorFreqUpDown, CursorImpEdit, CursorMaxButton,
                                                      CursorMinButton, CursorPercentEdit, HensaMaxButton, CursorRefEdit,
                                                      CursorRefMaxButton, CursorRefMinButton})
        w->setEnabled(false);
    for (QPushButton* b : {CursorMaxButton, HensaMaxButton, CursorRefMaxButton, CursorMinButton, CursorRefMinButton})
        SetButtonColour(b, kSilver);

    // Measured memo.
    Caption(p, QStringLiteral("メモ"), 6, 434, 40);
    ImpMemo = Place(new QPlainTextEdit(p), 4, 452, 300, 142);

    // Reference curve with thresholds and judgement range.
    QGroupBox* ref = Group(p, QStringLiteral("リファレンス・カーブ"), 310, 272, 528, 322);
    Caption(ref, QStringLiteral("ファイル名"), 10, 22, 56);
    RefFileNameEdit = ReadOnlyEdit(ref, 70, 20, 190);
    RefOpenButton = Button(ref, QStringLiteral("開く..."), 270, 19, 70, 22);
    RefOpenButton->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    RefOpenButton->setToolTip(QStringLiteral("リファレンス・カーブを開く"));
    Caption(ref, QStringLiteral("カーブ名"), 10, 48, 56);
    RefNameEdit = Place(new QLineEdit(ref), 70, 46, 100, 20);
    Caption(ref, QStringLiteral("測定端子"), 182, 48, 50);
    RefTerminalBox = Place(new QComboBox(ref), 234, 46, 110, 20);
    RefTerminalBox->addItems({QStringLiteral("BINDING POST"), QStringLiteral("NL 4"), QStringLiteral("NL 8")});
    RefProtectCheckBox = Place(new QCheckBox(QStringLiteral("プロテクト"), ref), 356, 47, 100, 18);
    Caption(ref, QStringLiteral("メモ"), 10, 74, 56);
    RefMemo = Place(new QPlainTextEdit(ref), 70, 72, 448, 74);

    QGroupBox* th = Group(ref, QStringLiteral("スレッショルド"), 10, 152, 250, 160);
    QLineEdit** thEdits[3] = {&ThNg1Edit, &ThNg2Edit, &ThNg3Edit};
    TUpDown** thSpinners[3] = {&ThNg1UpDown, &ThNg2UpDown, &ThNg3UpDown};
    for (int i = 0; i < 3; ++i) {
        const int y = 24 + i * 30;
        Caption(th, QStringLiteral("NG%1").arg(i + 1), 12, y + 2, 30);
        *thEdits[i] = ReadOnlyEdit(th, 44, y, 60);
        *thSpinners[i] = Spinner(th, Qt::Vertical, 106, y, 16, 20, 5, 99, 50);
    }
    JudgeLabel = Caption(th, QStringLiteral("判 定"), 164, 26, 60);
    JudgeLabel->setEnabled(false);
    const char* badges[7] = {"OK", "NG1H", "NG1L", "NG2H", "NG2L", "NG3H", "NG3L"};
    for (int i = 0; i < 7; ++i) {
        QLabel* b = Caption(th, QString::fromLatin1(badges[i]), 158, 48, 52, 20);
        b->setAlignment(Qt::AlignCenter);
        b->setStyleSheet(QStringLiteral("background: %1; color: white; font-weight: bold;")
                             .arg(i == 0 ? QStringLiteral("#0000FF") : QStringLiteral("#FF0000")));
        b->hide();
        JudgeImage[i] = b;
    }

    QGroupBox* range = Group(ref, QStringLiteral("測定・判定周波数範囲"), 268, 152, 250, 160);
    Caption(range, QStringLiteral("開 始"), 12, 26, 40);
    MinFreqEdit = ReadOnlyEdit(range, 56, 24, 90);
    MinFreqUpDown = Spinner(range, Qt::Vertical, 148, 24, 16, 20, 0, 118, 0);
    Caption(range, QStringLiteral("終 了"), 12, 56, 40);
    MaxFreqEdit = ReadOnlyEdit(range, 56, 54, 90);
    MaxFreqUpDown = Spinner(range, Qt::Vertical, 148, 54, 16, 20, 1, 119, 119);

    connect(ImpOpenButton, &QPushButton::clicked, this, [this] { OpenCurve(CurveKind::Measured); });
    connect(RefOpenButton, &QPushButton::clicked, this, [this] { OpenCurve(CurveKind::Reference); });
}

void TMainForm::BuildDownloadPage()
{
    DownloadPage = new QWidget;
    PageControl->addTab(DownloadPage, QStringLiteral("ダウンロード"));
    QWidget* p = DownloadPage;

    QGroupBox* ref = Group(p, QStringLiteral("リファレンス・カーブ"), 8, 8, 408, 580);
    Caption(ref, QStringLiteral("全リファレンス・カーブをダウンロード"), 14, 26, 250);
    AllRefNoDownLoadButton = Button(ref, QStringLiteral("OK"), 314, 22, 80, 24);
    Caption(ref, QStringLiteral("リストから選択してダウンロード"), 14, 64, 250);
    RefCurveListView = ReportView(ref, {QStringLiteral("No."), QStringLiteral("カーブ名")}, {35, 262});
    Place(RefCurveListView, 14, 86, 380, 440);
    RefCurveListButton = Button(ref, QStringLiteral("リスト表示"), 14, 536, 100, 26);
    ListSelRefNoDownLoadButton = Button(ref, QStringLiteral("OK"), 314, 536, 80, 26);
    ListSelRefNoDownLoadButton->setEnabled(false);

    QGroupBox* imp = Group(p, QStringLiteral("測定カーブ"), 426, 8, 408, 580);
    Caption(imp, QStringLiteral("全測定カーブをダウンロード"), 14, 26, 250);
    AllImpDownLoadButton = Button(imp, QStringLiteral("OK"), 314, 22, 80, 24);
    Caption(imp, QStringLiteral("リストから選択してダウンロード"), 14, 64, 250);
    ImpCurveListView = ReportView(imp, {QStringLiteral("No."), QStringLiteral("測定日時"), QStringLiteral("カーブ名")},
                                  {35, 132, 132});
    Place(ImpCurveListView, 14, 86, 380, 440);
    ImpCurveListButton = Button(imp, QStringLiteral("リスト表示"), 14, 536, 100, 26);
    ListSelImpDownLoadButton = Button(imp, QStringLiteral("OK"), 314, 536, 80, 26);
    ListSelImpDownLoadButton->setEnabled(false);
}

void TMainForm::BuildUploadPage()
{
    UploadPage = new QWidget;
    PageControl->addTab(UploadPage, QStringLiteral("アップロード"));
    QWidget* p = UploadPage;

    QGroupBox* group = Group(p, QStringLiteral("リファレンス・カーブ"), 8, 8, 826, 580);
    Caption(group, QStringLiteral("開いているリファレンス・カーブをアップロード"), 14, 26, 300);
    Caption(group, QStringLiteral("リファレンスNo. "), 30, 54, 90);
    UploadRefNoLabeledEdit = Place(new QLineEdit(QStringLiteral("1"), group), 122, 52, 40, 20);
    UploadRefNoUpDown = Spinner(group, Qt::Vertical, 164, 52, 16, 20, 1, 64, 1);
    OpenRefCurveUploadButton = Button(group, QStringLiteral("OK"), 200, 50, 80, 24);
    OpenRefCurveUploadButton->setEnabled(false);

    Caption(group, QStringLiteral("リファレンス・リストを使用してアップロード"), 14, 94, 300);
    Caption(group, QStringLiteral("リファレンス・リスト・ファイル名"), 30, 122, 170);
    RefListFileNameEdit = ReadOnlyEdit(group, 204, 120, 250);
    NewRefListButton =
        IconButton(group, QStyle::SP_FileIcon, QStringLiteral("リファレンス・リストを新規作成"), 470, 119);
    RefListSaveButton =
        IconButton(group, QStyle::SP_DialogSaveButton, QStringLiteral("リファレンス・リストを保存"), 496, 119);
    RefListOpenButton =
        IconButton(group, QStyle::SP_DialogOpenButton, QStringLiteral("リファレンス・リストを開く"), 522, 119);

    RefListStringGrid = Place(new QTableWidget(64, 3, group), 14, 150, 798, 380);
    RefListStringGrid->setHorizontalHeaderLabels(
        {QStringLiteral("カーブ名"), QStringLiteral("ファイル名"), QStringLiteral("ファイルの場所")});
    RefListStringGrid->setCornerButtonEnabled(false);
    QStringList rows;
    for (int r = 1; r <= 64; ++r)
        rows << QString::number(r);
    RefListStringGrid->setVerticalHeaderLabels(rows);
    // The style's minimum would otherwise make the rows taller than 15.
    RefListStringGrid->verticalHeader()->setMinimumSectionSize(15);
    RefListStringGrid->verticalHeader()->setDefaultSectionSize(15);
    RefListStringGrid->verticalHeader()->setFixedWidth(25);
    RefListStringGrid->horizontalHeader()->setFixedHeight(17);
    // The heading of the row-number column sits in the grid's corner.
    const int frame = RefListStringGrid->frameWidth();
    QLabel* numberHeading = Caption(RefListStringGrid, QStringLiteral("No."), frame, frame, 25, 17);
    numberHeading->setAlignment(Qt::AlignCenter);
    RefListStringGrid->setColumnWidth(0, 133);
    RefListStringGrid->setColumnWidth(1, 229);
    RefListStringGrid->setColumnWidth(2, 655);
    RefListStringGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    RefListStringGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    RefListStringGrid->setSelectionMode(QAbstractItemView::ContiguousSelection);

    RefListRowInsertButton = Button(group, QStringLiteral("行挿入"), 14, 540, 80, 26);
    RefListRowDeleteButton = Button(group, QStringLiteral("行削除"), 100, 540, 80, 26);
    RefListUploadButton = Button(group, QStringLiteral("OK"), 732, 540, 80, 26);
}

void TMainForm::CheckPrinters()
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        return;  // the default printer and landscape are chosen when printing
    PrinterSetupMenu->setEnabled(false);
    FilePrintMenu->setEnabled(false);
    FileGraphPrintMenu->setEnabled(false);
}

void TMainForm::ShowPage(int index) { PageControl->setCurrentIndex(index); }

void TMainForm::EnableEditMenuFor(QWidget* now)
{
    const bool text = now && (now == ImpNameEdit || now == RefNameEdit || now == ImpMemo || now == RefMemo);
    EditMenu->setEnabled(text);
    EditMenu->menuAction()->setEnabled(text);
}

void TMainForm::EditCommand(void (*lineEdit)(QLineEdit*), void (*textEdit)(QPlainTextEdit*))
{
    QWidget* focus = QApplication::focusWidget();
    if (auto* e = qobject_cast<QLineEdit*>(focus))
        lineEdit(e);
    else if (auto* t = qobject_cast<QPlainTextEdit*>(focus))
        textEdit(t);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    // Keys and the wheel reach the window before its controls, but only while
    // no modal dialog is up.
    auto* widget = qobject_cast<QWidget*>(watched);
    const bool ours = widget && widget->window() == this && QApplication::activeModalWidget() == nullptr;
    if (ours && event->type() == QEvent::KeyPress) {
        if (HandleWindowKey(static_cast<QKeyEvent*>(event)->key()))
            return true;
    } else if (ours && event->type() == QEvent::Wheel) {
        if (HandleWheel(static_cast<QWheelEvent*>(event)->angleDelta().y()))
            return true;
    } else if (event->type() == QEvent::MouseButtonPress && (watched == ImpNameEdit || watched == RefNameEdit)) {
        TrimNameEdit(static_cast<QLineEdit*>(watched));
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TMainForm::HandleWindowKey(int key)
{
    WindowKey k = WindowKey::Other;
    switch (key) {
    case Qt::Key_PageUp: k = WindowKey::PageUp; break;
    case Qt::Key_PageDown: k = WindowKey::PageDown; break;
    case Qt::Key_F11: k = WindowKey::F11; break;
    case Qt::Key_F12: k = WindowKey::F12; break;
    default: return false;
    }
    const WindowKeyContext ctx{PageControl->currentIndex() == 0, GraphLevelScrollBar->isVisible(), curves.CursorOn};
    switch (KeyAction(k, ctx)) {
    case WindowAction::LevelUp: LevelScrollBy(-1); return true;
    case WindowAction::LevelDown: LevelScrollBy(+1); return true;
    case WindowAction::CursorDown: CursorStepBy(-1); return true;
    case WindowAction::CursorUp: CursorStepBy(+1); return true;
    case WindowAction::None: return false;
    }
    return false;
}

bool TMainForm::HandleWheel(int angleDelta)
{
    const WindowKeyContext ctx{PageControl->currentIndex() == 0, GraphLevelScrollBar->isVisible(), curves.CursorOn};
    if (WheelAction(angleDelta, ctx) == WindowAction::None)
        return false;
    LevelScrollBy(-wheelNotches_.Add(angleDelta));  // wheel up raises the band: a smaller position
    return true;
}

}  // namespace qlx
