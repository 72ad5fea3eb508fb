#include "forms/zumenn.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <filesystem>

#include "document/drawing_file.h"
#include "document/figure_store.h"
#include "document/selection.h"
#include "document/startup.h"
#include "households/handover.h"
#include "households/household_table.h"
#include "platform/numbers.h"
#include "platform/qt_services.h"

namespace tarvek {

namespace {

constexpr int ClientWidth0 = 1011;
constexpr int ClientHeight0 = 549;
constexpr TColor FormColor = 15398391;   // $EAF5F7
constexpr TColor PanelColor = 0x00F0EDD9;  // $D9EDF0 as laid out
constexpr const char* StandaloneMessage = "単独起動は誤動作防止の為できません。";

TScreenRect VirtualScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return {0, 0, 1920, 1080};
    const QRect r = screen->virtualGeometry();
    return {r.left(), r.top(), r.width(), r.height()};
}

std::string DataFolderOf(const std::string& path) {
    // Paths from older Windows installations use "\", ours "/": the last of either.
    const std::size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

}  // namespace

TForm_zumenn::TForm_zumenn(const std::string& exeFolder, TUserServices& ui) : S(ui, this) {
    S.ExeFolder = exeFolder;
    BuildComponents();
    OnShow = [this] { FormShow(); };
    OnClose = [this] { FormClose(); };
    FormCreate();
}

TForm_zumenn::~TForm_zumenn() = default;

void TForm_zumenn::BuildComponents() {
    Name = "Form_zumenn";
    SetClientSize(ClientWidth0, ClientHeight0);
    SetMinimumSize(953, 580);
    SetColor(FormColor);
    SetFont("Tahoma", 8);
    SetKeyPreview(true);

    PageControl1 = new TPageControl(this);
    PageControl1->Name = "PageControl1";
    PageControl1->SetBounds(0, 0, ClientWidth0 - 120, 104);
    PageControl1->SetAnchors(akLeft | akTop | akRight);
    const char* const tabCaptions[] = {"　　　検　索", "　　檀家セット", " 　　組番号", " 　　作　図", " 　　編　集", "　その他・印刷"};
    for (int i = 0; i < 6; ++i) Tabs[static_cast<std::size_t>(i)] = PageControl1->AddPage(tabCaptions[i]);
    PageControl1->SetActivePageIndex(3);

    Memo4 = new TMemo(this);
    Memo4->Name = "Memo4";
    Memo4->SetBounds(ClientWidth0 - 120, 0, 120, 22);
    Memo4->SetAnchors(akTop | akRight);
    Memo4->SetReadOnly(true);
    Memo4->SetBorderless(true);
    Memo4->SetEnabled(false);

    Edit1 = new TEdit(this);
    Edit1->Name = "Edit1";
    Edit1->SetBounds(ClientWidth0 - 20, 80, 10, 10);
    Edit1->SetAnchors(akTop | akRight);
    Edit1->SetBorderless(true);

    Panel1 = new TPanel(this);
    Panel1->Name = "Panel1";
    Panel1->SetBounds(0, 104, ClientWidth0, ClientHeight0 - 104 - 12 - 16);
    Panel1->SetAnchors(akLeft | akTop | akRight | akBottom);
    Panel1->SetColor(PanelColor);

    ScrollBox1 = new TScrollBox(Panel1);
    ScrollBox1->Name = "ScrollBox1";
    ScrollBox1->SetBounds(0, 0, Panel1->Width(), Panel1->Height());
    ScrollBox1->SetAnchors(akLeft | akTop | akRight | akBottom);
    ScrollBox1->SetColor(0x00FFFFFF);

    Image1 = new TImage(ScrollBox1);
    Image1->Name = "Image1";
    Image1->SetAlign(alClient);
    Image1->SetStretch(true);

    PaintBox1 = new TPaintBox(ScrollBox1);
    PaintBox1->Name = "PaintBox1";
    PaintBox1->SetBounds(0, 0, ScrollBox1->Width() - 36, ScrollBox1->Height() - 36);
    PaintBox1->SetColor(0x00FFFFFF);

    Label3 = new TLabel(this);
    Label3->Name = "Label3";
    Label3->SetBounds(4, ClientHeight0 - 12 - 15, 800, 14);
    Label3->SetAnchors(akLeft | akBottom);
    Label3->SetCaption("図面の編集は上部タブ 「編集」・檀家割当ては 「檀家セット」から行います");

    StatusBar1 = new TStatusBar(this);
    StatusBar1->Name = "StatusBar1";
    StatusBar1->SetAlign(alBottom);
    StatusBar1->SetHeight(12);

    Timer1 = new TTimer(this);
    Timer1->Name = "Timer1";
    Timer1->SetInterval(300);
    Timer1->SetEnabled(false);

    // Search page.
    TTabSheet* t0 = Tabs[0];
    Memo22 = new TMemo(t0);
    Memo22->Name = "Memo22";
    Memo22->SetBounds(560, 4, 160, 16);
    Memo22->SetText("厨子備考");
    Edit_bikou = new TEdit(t0);
    Edit_bikou->Name = "Edit_bikou";
    Edit_bikou->SetBounds(560, 22, 160, 20);
    Edit_bikou->SetHint("編集の完了は「Enter」");
    Memo7 = new TMemo(t0);
    Memo7->Name = "Memo7";
    Memo7->SetBounds(730, 4, 60, 16);
    Memo7->SetText("選択個数");
    Memo9 = new TMemo(t0);
    Memo9->Name = "Memo9";
    Memo9->SetBounds(730, 22, 60, 20);
    neisyo = new TMemo(t0);
    neisyo->Name = "neisyo";
    neisyo->SetBounds(560, 46, 160, 16);
    file_neisyo = new TEdit(t0);
    file_neisyo->Name = "file_neisyo";
    file_neisyo->SetBounds(560, 62, 230, 20);
    file_neisyo->OnEnter = [this] { file_neisyoEnter(); };
    file_neisyo->OnExit = [this] { file_neisyoExit(); };
    file_neisyo->OnKeyPress = [this](char32_t& key) { file_neisyoKeyPress(key); };
    BitBtn15 = new TBitBtn(t0);
    BitBtn15->Name = "BitBtn15";
    BitBtn15->SetBounds(800, 30, 80, 40);
    BitBtn15->SetCaption("作業終了");
    BitBtn15->SetHint("終了");
    BitBtn15->OnClick = [this] { BitBtn15Click(); };

    // Household page: the grids stay hidden until the table is loaded.
    TTabSheet* t1 = Tabs[1];
    for (auto [grid, name] : {std::pair{&StringGrid1, "StringGrid1"}, std::pair{&StringGrid2, "StringGrid2"},
                              std::pair{&StringGrid3, "StringGrid3"}}) {
        *grid = new TStringGrid(t1);
        (*grid)->Name = name;
        (*grid)->SetBounds(90, 2, 790, 74);
        (*grid)->SetColCount(HouseholdColumns);
        (*grid)->SetFixedCols(0);
        (*grid)->SetFixedRows(1);
        (*grid)->SetDefaultRowHeight(15);
        (*grid)->SetVisible(false);
    }
    StringGrid1->SetHint("ダブルクリックで檀家割当");
    StringGrid3->SetHint("検索項目入力");

    // Numbering page.
    Memo12 = new TMemo(Tabs[2]);
    Memo12->Name = "Memo12";
    Memo12->SetBounds(600, 22, 60, 20);

    // Drawing page.
    TTabSheet* t3 = Tabs[3];
    const auto button = [](TWinControl* parent, TBitBtn*& b, const char* name, const char* caption, int x) {
        b = new TBitBtn(parent);
        b->Name = name;
        b->SetBounds(x, 4, 56, 36);
        b->SetCaption(caption);
    };
    button(t3, BitBtn6, "BitBtn6", "複厨子", 400);
    button(t3, BitBtn45, "BitBtn45", "単厨子", 458);
    button(t3, BitBtn46, "BitBtn46", "回\r転", 516);
    button(t3, BitBtn8, "BitBtn8", "厨子個数設定", 574);
    liya = new TRadioGroup(t3);
    liya->Name = "liya";
    liya->SetBounds(640, 0, 90, 76);
    liya->SetCaption("選択");
    liya->SetHint("墓地・厨子以外の選択をするか、しないかを設定");
    pen_sty_conb = new TComboBox(t3);
    pen_sty_conb->Name = "pen_sty_conb";
    pen_sty_conb->SetBounds(740, 4, 90, 20);
    pen_sty_conb->SetStyle(csDropDownList);
    pen_sty_conb->SetItems({"　実線", "　破線", "　点線", "一点鎖線", "二点鎖線"});
    pen_sty_conb->SetItemIndex(0);
    pen_width_conb = new TComboBox(t3);
    pen_width_conb->Name = "pen_width_conb";
    pen_width_conb->SetBounds(740, 28, 90, 20);
    pen_width_conb->SetStyle(csDropDownList);
    pen_width_conb->SetItems({"　細線", "　中線", "　太線"});
    pen_width_conb->SetItemIndex(0);
    brs_sty_conb = new TComboBox(t3);
    brs_sty_conb->Name = "brs_sty_conb";
    brs_sty_conb->SetBounds(740, 52, 90, 20);
    brs_sty_conb->SetStyle(csDropDownList);
    brs_sty_conb->SetItems({"全塗り", "塗無し", "右上斜", "左上斜", "十字線", "クロス線", "横線", "縦線"});
    brs_sty_conb->SetItemIndex(1);
    Memo2 = new TMemo(t3);
    Memo2->Name = "Memo2";
    Memo2->SetBounds(840, 22, 50, 20);

    // Editing page.
    TTabSheet* t4 = Tabs[4];
    button(t4, BitBtn44, "BitBtn44", "共有所有", 130);
    button(t4, BitBtn14, "BitBtn14", "共有分離", 188);
    button(t4, botika_true, "botika_true", "図形を墓地", 246);
    button(t4, botika_false, "botika_false", "墓地化解除", 304);
    const auto updown = [](TWinControl* parent, TUpDown*& u, const char* name, int lo, int hi, int at, int x) {
        u = new TUpDown(parent);
        u->Name = name;
        u->SetBounds(x, 20, 50, 20);
        u->SetMin(lo);
        u->SetMax(hi);
        u->SetPosition(at);
    };
    updown(t4, UpDown1, "UpDown1", 3, 20, 10, 370);
    updown(t4, UpDown2, "UpDown2", 1, 10, 5, 425);
    updown(t4, UpDown3, "UpDown3", 100, 1000, 500, 480);
    UpDown3->SetIncrement(100);
    CheckBox2 = new TCheckBox(t4);
    CheckBox2->Name = "CheckBox2";
    CheckBox2->SetBounds(540, 6, 220, 18);
    CheckBox2->SetCaption("厨子回転時、檀家名も回転させる");
    CheckBox2->SetChecked(true);
    clip_Check = new TCheckBox(t4);
    clip_Check->Name = "clip_Check";
    clip_Check->SetBounds(540, 28, 220, 18);
    clip_Check->SetCaption("配置内で文字をクリッピングさせる");
    clip_Check->SetChecked(true);
    clip_Check->SetEnabled(false);
    clip_Check->OnClick = [this] { clip_CheckClick(); };
    ComboBox2 = new TComboBox(t4);
    ComboBox2->Name = "ComboBox2";
    ComboBox2->SetBounds(540, 52, 160, 20);
    ComboBox2->SetStyle(csDropDownList);

    // Options and printing page.
    TTabSheet* t5 = Tabs[5];
    ck_true = new TCheckBox(t5);
    ck_true->Name = "ck_true";
    ck_true->SetBounds(8, 6, 160, 18);
    ck_true->SetCaption("作図直後、選択状態");
    taiou = new TMemo(t5);
    taiou->Name = "taiou";
    taiou->SetBounds(300, 4, 200, 16);
    R_time = new TCheckBox(t5);
    R_time->Name = "R_time";
    R_time->SetBounds(300, 24, 160, 18);
    R_time->SetCaption("変更を反映確認");
    R_time->SetChecked(true);

    StringGrid4 = new TStringGrid(this);
    StringGrid4->Name = "StringGrid4";
    StringGrid4->SetBounds(ClientWidth0 - 330, 110, 320, 80);
    StringGrid4->SetAnchors(akTop | akRight);
    StringGrid4->SetColCount(4);
    StringGrid4->SetRowCount(2);
    StringGrid4->SetFixedRows(1);
    StringGrid4->SetFixedCols(0);
    StringGrid4->SetDefaultRowHeight(15);
    StringGrid4->SetVisible(false);

    for (TMemo* m : {Memo22, Memo7, Memo9, neisyo, Memo12, Memo2, taiou}) {
        m->SetReadOnly(true);
        m->SetBorderless(true);
    }
}

// ---------------------------------------------------------------------------------
// Start-up

void TForm_zumenn::FormCreate() {
    SaveProgressBar = new TProgressBar(StatusBar1);
    SaveProgressBar->Name = "SaveProgressBar";
    SaveProgressBar->SetBounds(0, 2, StatusBar1->Width() / 2, StatusBar1->Height() - 2);
    SaveProgressBar->SetVisible(true);
    S.NormalPageHeight = PageControl1->Height();

    LoadHouseholdStage();
    if (S.StartupError == 0) LoadDrawing();
    if (S.StartupError == 0) ReadHandoverCsv(S);
    if (S.StartupError == 0) CleanStartSetup();
}

void TForm_zumenn::LoadHouseholdStage() {
    S.StartupError = 0;
    S.StartupErrorMessage = HouseholdStageMessage;
    LoadHouseholdTable(S);
    const int rows = static_cast<int>(S.Households.size());
    StringGrid1->SetColCount(HouseholdColumns);
    StringGrid1->SetRowCount(rows + 1);
    for (int c = 0; c < HouseholdColumns; ++c) StringGrid1->SetCell(c, 0, HouseholdHeaders[static_cast<std::size_t>(c)]);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < HouseholdColumns; ++c)
            StringGrid1->SetCell(c, r + 1, S.Households[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]);
    for (TStringGrid* g : {StringGrid2, StringGrid3}) {
        g->SetColCount(HouseholdColumns);
        g->SetRowCount(2);
    }
    if (S.StartupError) return;
    for (TStringGrid* g : {StringGrid1, StringGrid2, StringGrid3}) {
        for (int c = 0; c < HouseholdColumns; ++c) {
            g->SetColWidth(c, HouseholdColumnWidths[static_cast<std::size_t>(c)]);
            g->SetCell(c, 0, HouseholdHeaders[static_cast<std::size_t>(c)]);
        }
        g->SetFixedCols(0);
        g->SetFixedRows(1);
    }
    StringGrid1->SetVisible(true);
    StringGrid2->SetVisible(false);
    StringGrid3->SetVisible(false);
}

void TForm_zumenn::LoadDrawing() {
    if (!ReadDrawingRequest(S)) return;
    const std::string& w = S.PlotKindWord;
    SetCaption(S.TempleName + "図面データ_" + w);
    neisyo->SetText(w + "名称");
    taiou->SetText("「" + w + "台帳」にリアルタイム");
    file_neisyo->SetText(S.CurrentDrawingName);
    if (S.CurrentDrawingName == NewDrawingName) return;
    const bool loaded = LoadDrawingData(S);
    ApplyViewToForm();
    (void)loaded;  // a failure is in StartupError; the first paint reports it
}

void TForm_zumenn::ApplyViewToForm() {
    ClampWindowToScreen(S.LoadedFormTop, S.LoadedFormLeft, S.LoadedFormWidth, S.LoadedFormHeight, VirtualScreen());
    const TFormData& v = S.View;
    SetColor(v.WindowColor);
    Memo4->SetColor(v.WindowColor);
    Panel1->SetColor(v.Panel1Color);
    for (TMemo* m : {Memo2, Memo4, Memo7, Memo9, Memo12, Memo22, neisyo, taiou}) m->SetColor(v.WindowColor);

    if (!S.BackgroundPicturePath.empty()) {
        const std::string folder = DataFolderOf(S.BackgroundPicturePath);
        if (!folder.empty() && DirectoryExists(folder)) {
            if (!FileExists(S.BackgroundPicturePath) || !Image1->LoadFromFile(S.BackgroundPicturePath)) Image1->Clear();
        }
    }
    for (int c = 0; c < HouseholdColumns; ++c) StringGrid1->SetColWidth(c, v.GridColWidths[static_cast<std::size_t>(c)]);
    clip_Check->SetChecked(S.ClipNames != 0);
    CheckBox2->SetChecked(S.RotateNames != 0);
    clip_Check->SetEnabled(S.RotateNames == 0);
    UpDown2->SetEnabled(S.RotateNames != 0);
    UpDown1->SetPosition(S.NameTextSize);
    S.NameTextSizeCopy = UpDown1->Position();
    UpDown3->SetPosition(S.DimensionTextSize);
    ck_true->SetChecked(v.SelectAfterDrawing);
    CheckBox2->SetCaption(S.PlotKindWord + "回転時、檀家名も回転させる");
}

void TForm_zumenn::TakeViewFromForm() {
    TFormData& v = S.View;
    v.FormTop = WindowTop();
    v.FormLeft = WindowLeft();
    v.FormWidth = WindowWidth();
    v.FormHeight = WindowHeight();
    v.PaintWidth = PaintBox1->Width();
    v.PaintHeight = PaintBox1->Height();
    v.ScrollX = ScrollBox1->HorzScrollPos();
    v.ScrollY = ScrollBox1->VertScrollPos();
    v.WindowColor = Color();
    v.Panel1Color = Panel1->Color();
    for (int c = 0; c < HouseholdColumns; ++c) v.GridColWidths[static_cast<std::size_t>(c)] = StringGrid1->ColWidths(c);
    v.ClipCheck = clip_Check->Checked();
    v.RotateCheck = CheckBox2->Checked();
    v.NameTextSize = UpDown1->Position();
    S.DimensionTextSize = UpDown3->Position();
    v.SelectAfterDrawing = ck_true->Checked();
}

void TForm_zumenn::CleanStartSetup() {
    const std::string& w = S.PlotKindWord;
    Memo22->SetText(w + "備考");
    BitBtn8->SetCaption(w + "個数設定");
    BitBtn6->SetCaption("複数" + w);
    BitBtn45->SetCaption("単数" + w);
    BitBtn46->SetCaption("回\r転");
    botika_true->SetCaption("図形を" + w);
    botika_false->SetCaption(w + "を図形");
    BitBtn6->SetHint("複数の" + w + "を配置します。配置個数は「" + w + "個数設定」で行います。");
    BitBtn45->SetHint("１個の" + w + "を配置します。");
    BitBtn8->SetHint(w + "の配置個数を別ウインドで設定します。");
    BitBtn44->SetHint("複数" + w + "をひとつの共有所有にする。");
    BitBtn14->SetHint("共有所有の" + w + "を分離させます。");
    botika_true->SetHint("選択されている図形を檀家割当て可能な" + w + "にします");
    botika_false->SetHint("選択されている" + w + "を普通の図形にします");

    const char* const cursorFiles[] = {"イメージ/rrrp1.cur", "イメージ/rrrp2.cur", "イメージ/kaitenn.cur"};
    for (std::size_t i = 0; i < 3; ++i) ScreenCursors[i] = LoadCursorFromFile(S.ExeFolder + cursorFiles[i]);

    const char* const coOwnerHeaders[] = {"現世帯主", "地区名", "住所２", "電話"};
    for (int c = 0; c < 4; ++c) StringGrid4->SetCell(c, 0, coOwnerHeaders[c]);

    SetStayOnTop(true);
    Timer1->SetEnabled(true);

    liya->SetItems({"全て", w + "のみ", w + "以外"});
    liya->SetItemIndex(0);

    ComboBox2->SetItems(ScreenFontNames());
    ComboBox2->SetItemIndex(ComboBox2->IndexOf(S.CurFontName));
    pen_sty_conb->SetItemIndex(S.CurPenStyle);
    pen_width_conb->SetItemIndex(S.CurPenWidth - 1);
    brs_sty_conb->SetItemIndex(S.CurBrushStyle);
}

void TForm_zumenn::FormShow() {
    if (S.StartupError == 1) {
        QTimer::singleShot(0, Widget(), [this] { RunStartupGuards(); });
        return;
    }
    if (S.CurrentDrawingName != NewDrawingName) {
        S.SelectedList[0] = -999;
        SetWindowBounds(S.LoadedFormLeft, S.LoadedFormTop, S.LoadedFormWidth, S.LoadedFormHeight);
        S.RecordedFormSize = {WindowWidth(), WindowHeight()};
        S.Zoom = S.LoadedZoom;
        for (int step = 1; step <= 9; ++step)
            if (S.ZoomSteps[static_cast<std::size_t>(step)] >= S.Zoom) {
                S.ZoomStep = step;
                break;
            }
        ScrollBox1->SetWidth(ScrollBox1->Width() - ScrollBox1->Width() % 2);
        ScrollBox1->SetHeight(ScrollBox1->Height() - ScrollBox1->Height() % 2);
        PaintBox1->SetBounds(0, 0, S.LoadedPaintWidth, S.LoadedPaintHeight);
        S.ViewBaseWidth = ScrollBox1->Width() - 36;
        S.ViewBaseHeight = ScrollBox1->Height() - 36;
        ScrollBox1->SetHorzScrollPos(S.RecordedScrollPos.x);
        ScrollBox1->SetVertScrollPos(S.RecordedScrollPos.y);
        S.SelectedList[0] = 0;
    } else {
        SetWindowBounds(200, 100, 800, 600);
        S.RecordedFormSize = {800, 600};
        S.Zoom = 1;
        S.ZoomStep = 1;
        ScrollBox1->SetWidth(ScrollBox1->Width() - ScrollBox1->Width() % 2);
        ScrollBox1->SetHeight(ScrollBox1->Height() - ScrollBox1->Height() % 2);
        PaintBox1->SetBounds(0, 0, ScrollBox1->Width() - 36, ScrollBox1->Height() - 36);
        S.ViewBaseWidth = PaintBox1->Width();
        S.ViewBaseHeight = PaintBox1->Height();
        S.FigureCount = 0;
        S.CurPenColor = 0;
        S.CurBrushColor = 7321527;
        S.CurPenWidth = 1;
        S.DrawingScale = 1000;
        S.LedgerTargetId = 0;
    }
    PageControl1->SetActivePageIndex(0);
    S.PreviousTab = 0;
    S.EditTabActive = 0;
    ShowRequestTarget();
    S.RecordedScrollPos = {ScrollBox1->HorzScrollPos(), ScrollBox1->VertScrollPos()};
    S.NameTextSizeCopy = UpDown1->Position();
    S.HistoryRecording = 1;
    S.LedgerUnchanged = 1;
    S.DrawingUnchanged = 1;
    QTimer::singleShot(0, Widget(), [this] { RunStartupGuards(); });
}

void TForm_zumenn::ShowRequestTarget() {
    if (S.LedgerTargetId > 0) {
        for (std::int32_t i = 1; i <= S.FigureCount; ++i) {
            TDateRec& r = S.Fig(i);
            if (r.PlotId != S.LedgerTargetId || !r.IsPlot || GetCompoundOwner(S, i) > 0) continue;
            PageControl1->SetActivePageIndex(0);
            r.Selected = 1;
            S.HasSelection = 1;
            S.SelectedList = {-999, i};
            S.SelectedCount = 1;
            S.SelectedCursor = 1;
            if (r.ShareSetId > 0) {
                for (std::int32_t j = 1; j <= S.FigureCount; ++j) {
                    TDateRec& o = S.Fig(j);
                    if (o.Deleted || o.ShareSetId != r.ShareSetId) continue;
                    o.Selected = 1;
                    o.SetAside = o.PlotId != S.LedgerTargetId ? 1 : 0;
                }
            }
            if (r.Kind >= fkPolygon && r.Kind <= fkOpenCurve)
                for (std::int32_t j = 1; j <= S.FigureCount; ++j)
                    if (!S.Fig(j).Deleted && S.Fig(j).OwnerIndex == i) S.Fig(j).Selected = 1;
            S.CurrentHitIndex = i;
            RebuildSelectionList(S, true);
            UpdateSelectionCount(S);
            return;
        }
        return;
    }
    const std::int32_t household = -S.LedgerTargetId;
    S.LedgerTargetId = household;
    for (int row = 1; row < StringGrid1->RowCount(); ++row) {
        const auto id = StrToInt(StringGrid1->Cells(0, row));
        if (!id || *id != household) continue;  // an ID that is no number is passed over
        PageControl1->SetActivePageIndex(1);
        StringGrid1->SetVisible(false);
        StringGrid3->SetVisible(false);
        StringGrid2->SetVisible(true);
        StringGrid2->SetRowCount(2);
        for (int c = 0; c < 8; ++c) StringGrid2->SetCell(c, 1, StringGrid1->Cells(c, row));
        S.LedgerTargetId = 0;
        S.CurrentHitIndex = -1;
        return;
    }
}

void TForm_zumenn::RunStartupGuards() {
    if (GuardsRun) return;
    GuardsRun = true;
    const bool failed = S.StartupError == 1;
    if (failed) {
        S.Ui.Beep();
        S.Ui.MessageDlg(S.StartupErrorMessage, TMsgDlgType::mtWarning, mbAbort);
    }
    if (S.StandaloneStartFlag == 1) {
        S.Ui.Beep();
        S.Ui.MessageDlg(StandaloneMessage, TMsgDlgType::mtWarning, mbAbort);
    }
    if (failed || S.StandaloneStartFlag == 1) Close();
}

// ---------------------------------------------------------------------------------
// Closing

void TForm_zumenn::ShowFileError(const std::string& path, const TFileResult& result) {
    S.Ui.MessageDlg("ファイル " + path + " を保存できません。\r" + result.Message, TMsgDlgType::mtError, mbOK);
}

TForm_zumenn::TSaved TForm_zumenn::SaveDrawingAndHandover() {
    TSaved saved;
    // The name field can be pasted into or left without the key filter: check again,
    // so that a save never overwrites another drawing.
    const TDrawingNameProblem problem = CheckDrawingName(S, file_neisyo->Text());
    if (problem != TDrawingNameProblem::None) {
        S.Ui.MessageDlg(DrawingNameProblemMessage(problem), TMsgDlgType::mtWarning, mbOK);
        file_neisyo->SetText(S.CurrentDrawingName);
    }
    TakeViewFromForm();
    SaveProgressBar->SetPosition(0);
    const TSaveResult result = SaveDrawingFile(S, file_neisyo->Text(), [this](int max, int pos) {
        SaveProgressBar->SetMax(max);
        SaveProgressBar->SetPosition(pos);
    });
    if (!result.File) {
        ShowFileError(DrawingDataFileName(S, file_neisyo->Text()), result.File);
        return saved;
    }
    saved.Drawing = true;
    file_neisyo->SetText(result.DrawingName);
    const TFileResult handover = WriteHandoverCsv(S);
    if (!handover)
        ShowFileError(S.ExeFolder + HandoverCsvFileName, handover);
    else
        saved.Handover = true;
    Edit1->SetFocus();
    S.LedgerUnchanged = 1;
    S.DrawingUnchanged = 1;
    return saved;
}

void TForm_zumenn::RestoreNameViewOptions() {
    clip_Check->SetChecked(S.ClipNames != 0);
    UpDown1->SetPosition(S.NameTextSize);
}

void TForm_zumenn::FormClose() {
    if (S.StandaloneStartFlag == 1 || S.StartupError == 1) return;
    const std::string& w = S.PlotKindWord;
    DeleteFile(DisplaySettingsFileName(S, S.CurrentDrawingName));

    const bool renamed = file_neisyo->Text() != S.CurrentDrawingName;
    if (S.DrawingUnchanged == 0 && S.LedgerUnchanged == 1 && !renamed) {
        const int answer = S.Ui.MessageDlg(
            w + "台帳に変更はありませんが、図面に変更がありました。「" + w + "図面」を保存しますか？\r" +
                "　　　保存する[はい]　　　　保存せず元に戻す[いいえ]",
            TMsgDlgType::mtInformation, mbYes | mbNo);
        if (answer == mrYes) {
            if (SaveDrawingAndHandover().Drawing) S.HandoverStatus = "変更図";
        } else {
            RestoreNameViewOptions();
        }
    } else if (S.LedgerUnchanged == 0 || renamed) {
        const int answer = S.Ui.MessageDlg(
            w + "データに変更がありました。「" + w + "台帳」に反映させますか？\r" +
                "　　　反映させる[はい]　　　　反映させず元に戻す[いいえ]",
            TMsgDlgType::mtInformation, mbYes | mbNo);
        if (answer == mrYes) {
            // The status tells the ledger what reached the disk, never more.
            const TSaved saved = SaveDrawingAndHandover();
            S.HandoverStatus = saved.Drawing && saved.Handover ? "変更有" : saved.Drawing ? "変更図" : "取消し";
        } else {
            S.HandoverStatus = "取消し";
            RestoreNameViewOptions();
        }
    }

    if (FileExists(DrawingDataFileName(S, S.CurrentDrawingName))) {
        TakeViewFromForm();
        const TFileResult r = SaveDisplaySettings(S, S.CurrentDrawingName);
        if (!r) ShowFileError(DisplaySettingsFileName(S, S.CurrentDrawingName), r);
    }
    const TFileResult answer = WriteDrawingRequestAnswer(S);
    if (!answer) ShowFileError(S.ExeFolder + SelectedDrawingFileName, answer);
}

void TForm_zumenn::BitBtn15Click() { Close(); }

// ---------------------------------------------------------------------------------
// Drawing name

void TForm_zumenn::file_neisyoEnter() { NameValidated = 0; }

void TForm_zumenn::file_neisyoKeyPress(char32_t& key) {
    if (key == 13) {
        key = 0;
        file_neisyoExit();
        return;
    }
    if (IsSymbolChar(key)) key = 0;
}

void TForm_zumenn::file_neisyoExit() {
    if (NameValidated == 1) return;
    const TDrawingNameProblem problem = CheckDrawingName(S, file_neisyo->Text());
    if (problem != TDrawingNameProblem::None) {
        S.Ui.MessageDlg(DrawingNameProblemMessage(problem), TMsgDlgType::mtWarning, mbOK);
        file_neisyo->SetText(S.CurrentDrawingName);
    }
    NameValidated = 1;
}

void TForm_zumenn::clip_CheckClick() {
    S.DrawingUnchanged = 0;
    PaintBox1->Repaint();
}

// ---------------------------------------------------------------------------------
// TEditorView

void TForm_zumenn::HelpLineChanged(const std::string& text) { Label3->SetCaption(text); }

void TForm_zumenn::SelectionCountChanged(int count) {
    for (TMemo* m : {Memo2, Memo9, Memo12}) {
        std::vector<std::string> lines = m->Lines();
        if (lines.empty()) lines.emplace_back();
        lines[0] = IntToStr(count);
        m->SetLines(lines);
    }
}

void TForm_zumenn::RepaintMap() { PaintBox1->Invalidate(); }

int TForm_zumenn::ActivePageIndex() const { return PageControl1->ActivePageIndex(); }

}  // namespace tarvek
