// The make-up of the tablet edition's main form: the household fields of the plot in hand
// along the top, the map, one row of large buttons below it, and a page control that
// keeps the settings the shared code reads, lying hidden under the map. Only these
// controls are created; every other component of the form stays null.
#include <QLineEdit>

#include "forms/zumenn.h"
#include "forms/zumenn_placing.h"

namespace tarvek {

using namespace placing;

namespace {

constexpr int FormClientWidth = 716, FormClientHeight = 430;
constexpr int StatusBarHeight = 12;
constexpr int ButtonRow = 372, ButtonHeight = 40;
constexpr int FieldRow = 8, FieldHeight = 27;
constexpr int CaptionH = 14, FieldH = 22;

// The big buttons and fields are meant for a finger: 19 pixels, in points at 96 dpi.
constexpr int LargePoints = 14;

TBitBtn* PlaceLargeButton(TWinControl* parent, TBitBtn*& member, const char* name, const std::string& caption,
                          TBox b, const std::string& hint = {}) {
    PlaceCaptioned(parent, member, name, caption, b, hint);
    member->SetFont("Tahoma", LargePoints);
    return member;
}

// A field of the top row; codes and numbers are typed without the input method.
TEdit* PlaceField(TWinControl* parent, TEdit*& member, const char* name, TBox b, bool latin,
                  const std::string& hint = {}) {
    PlaceEdit(parent, member, name, b, "", hint);
    member->SetFont("ＭＳ Ｐゴシック", LargePoints);
    if (latin) member->Editor()->setAttribute(Qt::WA_InputMethodEnabled, false);
    return member;
}

}  // namespace

void TForm_zumenn::BuildTabletComponents() {
    LayOutTabletComponents();
    BindTabletComponentEvents();
    BindHouseholds();
    BindPlotSearch();
    BindDrawingTools();
    // The tablet has no clipboard and no undo: those keys must reach nothing.
    TToolOperations& ops = S.Tools.Ops;
    ops.CopyOrCutSelection = nullptr;
    ops.PasteCopiedFigures = nullptr;
    ops.PasteCutFigures = nullptr;
    ops.UndoLast = nullptr;
    BindTabletSelection();
}

void TForm_zumenn::LayOutTabletComponents() {
    Name = "Form_zumenn";
    SetClientSize(FormClientWidth, FormClientHeight);
    SetColor(FormColor);
    SetFont("Tahoma", 8);
    SetKeyPreview(true);

    // ---- The household of the plot in hand.
    PlaceField(this, Edit_no, "Edit_no", {8, FieldRow, 130, FieldHeight}, true);
    PlaceField(this, Edit_genn, "Edit_genn", {137, FieldRow, 128, FieldHeight}, false);
    PlaceField(this, Edit_tiku, "Edit_tiku", {264, FieldRow, 107, FieldHeight}, false);
    PlaceField(this, Edit_tel, "Edit_tel", {370, FieldRow, 129, FieldHeight}, true);
    PlaceField(this, Edit_j2, "Edit_j2", {498, FieldRow, 277, FieldHeight}, false);
    PlaceField(this, Edit_bikou, "Edit_bikou", {773, FieldRow, 261, FieldHeight}, false, "編集の完了は「Enter」");
    PlaceField(this, tou_name, "tou_name", {1032, FieldRow, 143, FieldHeight}, false, "編集の完了は「Enter」");

    // ---- The page control with the settings the shared code reads; the map lies over it.
    Place(this, PageControl1, "PageControl1", {146, 167, 493, 114});
    PageControl1->SetOwnerDraw(true);
    PageControl1->SetTabHeight(20);
    PageControl1->SetTabWidth(80);
    const char* const tabCaptions[] = {"　　　検　索", "　　檀家セット", " 　　組番号",
                                       " 　　作　図",  " 　　編　集",    "　その他・印刷"};
    for (std::size_t i = 0; i < Tabs.size(); ++i) {
        Tabs[i] = PageControl1->AddPage(tabCaptions[i]);
        Tabs[i]->Name = "TabSheet" + std::to_string(i + 1);
    }
    Place(this, Edit1, "Edit1", {1091, 167, 49, 21});
    Edit1->SetReadOnly(true);
    Edit1->SetBorderless(true);

    // Search page: the drawing name, the captions of the household fields, the count.
    TTabSheet* t = Tabs[0];
    const auto caption = [&](TMemo*& member, const char* name, const char* text, int x, int y, int w) {
        PlaceCaption(t, member, name, text, {x, y, w, CaptionH});
    };
    caption(Memo6, "Memo6", "組番号", 4, 2, 60);
    caption(Memo10, "Memo10", "現世帯主", 68, 2, 60);
    caption(Memo11, "Memo11", "地区名", 132, 2, 60);
    caption(Memo13, "Memo13", "電話番号", 196, 2, 60);
    caption(Memo15, "Memo15", "住所２", 260, 2, 60);
    caption(Memo22, "Memo22", "厨子備考", 324, 2, 80);
    caption(Memo16, "Memo16", "等級名", 408, 2, 60);
    caption(Memo7, "Memo7", "選択個数", 4, 20, 60);
    caption(Memo9, "Memo9", "0", 68, 20, 60);
    caption(neisyo, "neisyo", "", 4, 40, 164);
    PlaceEdit(t, file_neisyo, "file_neisyo", {4, 54, 164, FieldH});
    PlaceCaptioned(t, BitBtn15, "BitBtn15", "作業終了", {176, 40, 80, 36}, "終了");

    // Household page: the three grids on one another, all hidden.
    t = Tabs[1];
    for (auto [grid, name] : {std::pair{&StringGrid1, "StringGrid1"}, std::pair{&StringGrid2, "StringGrid2"},
                              std::pair{&StringGrid3, "StringGrid3"}}) {
        TStringGrid* g = Place(t, *grid, name, {4, 2, 480, 74});
        g->SetColCount(9);
        g->SetRowCount(2);
        g->SetFixedCols(0);
        g->SetFixedRows(1);
        g->SetDefaultRowHeight(15);
        g->SetVisible(false);
    }
    StringGrid1->SetHint("ダブルクリックで檀家割当");
    StringGrid3->SetHint("検索項目入力");
    StringGrid3->SetOptions(StringGrid3->Options() | goEditing);

    // Numbering page.
    t = Tabs[2];
    PlaceCaption(t, Memo25, "Memo25", "組別\r名", {4, 4, 28, 28});
    PlaceEdit(t, Edit3, "Edit3", {34, 8, 108, FieldH}, "北上段");
    PlaceCaption(t, Memo26, "Memo26", "初期\r値", {4, 43, 28, 28});
    PlaceEdit(t, Edit5, "Edit5", {34, 47, 40, FieldH}, "1");
    PlaceCaption(t, Memo28, "Memo28", "増減\r値", {78, 43, 28, 28});
    PlaceEdit(t, Edit6, "Edit6", {108, 47, 34, FieldH}, "1");
    PlaceCaption(t, Memo29, "Memo29", "番号割付方向", {154, 2, 148, CaptionH});
    PlaceCaption(t, Memo12, "Memo12", "0", {154, 20, 60, CaptionH + 2});
    PlaceCaption(t, Memo27, "Memo27", "等級名", {312, 2, 150, CaptionH});
    PlaceCombo(t, ComboBox4, "ComboBox4", {312, 16, 150, FieldH}, csDropDown, {}, -1, "等級名を直接書込めます。");

    // Drawing page: the selection filter.
    t = Tabs[3];
    PlaceRadios(t, liya, "liya", {4, 0, 86, 76}, "選択", {}, -1, 1, "墓地・厨子以外の選択をするか、しないかを設定");

    // Editing page: the household-name size and direction, the name options, the font.
    t = Tabs[4];
    const auto updown = [&](TMemo*& cap, const char* capName, const char* text, TUpDown*& u, const char* name,
                            int y, int lo, int hi, int step, int at) {
        PlaceCaption(t, cap, capName, text, {4, y + 4, 102, CaptionH});
        PlaceUpDown(t, u, name, {106, y, 54, FieldH}, lo, hi, step, at);
    };
    updown(Memo21, "Memo21", "檀家名文字の大きさ", UpDown1, "UpDown1", 2, 3, 20, 1, 10);
    updown(Memo23, "Memo23", "檀家名向き変更", UpDown2, "UpDown2", 27, 1, 10, 1, 5);
    updown(Memo24, "Memo24", "寸法文字の大きさ", UpDown3, "UpDown3", 52, 100, 1000, 100, 500);
    PlaceCaptioned(t, clip_Check, "clip_Check", "配置内で文字をクリッピングさせる", {166, 28, 202, 20})->SetChecked(true);
    clip_Check->SetEnabled(false);
    PlaceCaptioned(t, CheckBox2, "CheckBox2", "厨子回転時、檀家名も回転させる", {166, 3, 202, 20})->SetChecked(true);
    PlaceCombo(t, ComboBox2, "ComboBox2", {166, 52, 150, FieldH}, csDropDownList, {}, -1);

    // Options page: the move step, real-time reflection, selecting what was drawn.
    t = Tabs[5];
    PlaceCombo(t, ComboBox3, "ComboBox3", {4, 8, 84, FieldH}, csDropDown,
               {"移動量", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "20", "40"}, 0, "移動量");
    PlaceCaption(t, taiou, "taiou", "", {100, 4, 190, CaptionH});
    PlaceCaptioned(t, R_time, "R_time", "変更を反映確認", {100, 22, 150, 20})->SetChecked(true);
    PlaceCaptioned(t, ck_true, "ck_true", "作図直後、選択状態", {100, 46, 140, 20});
    PageControl1->SetActivePageIndex(0);

    // ---- The map, over the page control.
    Place(this, Panel1, "Panel1", {3, 36, 700, 330});
    Panel1->SetAnchors(akLeft | akTop | akRight | akBottom);
    Panel1->SetColor(NewDrawingPanelColor);
    Place(Panel1, ScrollBox1, "ScrollBox1", {8, 8, 685, 314});
    ScrollBox1->SetAnchors(akLeft | akTop | akRight | akBottom);
    ScrollBox1->SetColor(clWhite);
    Image1 = new TImage(ScrollBox1);
    Image1->Name = "Image1";
    Image1->SetAlign(alClient);
    Image1->SetStretch(true);
    Place(ScrollBox1, PaintBox1, "PaintBox1", {0, 0, ScrollBox1->Width() - 16, ScrollBox1->Height() - 16});
    PaintBox1->SetColor(clWhite);
    Place(Panel1, Memo1, "Memo1", {8, 8, 185, 24});
    Memo1->SetText("Text用");
    Memo1->SetVisible(false);

    // ---- The buttons below the map keep to the bottom edge.
    PlaceLargeButton(this, BitBtn8, "BitBtn8", "終了", {11, ButtonRow, 91, ButtonHeight});
    PlaceLargeButton(this, BitBtn9, "BitBtn9", "台帳へ", {148, ButtonRow, 91, ButtonHeight});
    PlaceLargeButton(this, BitBtn4, "BitBtn4", "左", {287, ButtonRow, 50, ButtonHeight});
    PlaceLargeButton(this, BitBtn5, "BitBtn5", "右", {349, ButtonRow, 50, ButtonHeight});
    PlaceLargeButton(this, BitBtn6, "BitBtn6", "上", {411, ButtonRow, 50, ButtonHeight});
    PlaceLargeButton(this, BitBtn7, "BitBtn7", "下", {473, ButtonRow, 50, ButtonHeight});
    PlaceLargeButton(this, BitBtn1, "BitBtn1", "拡大", {554, ButtonRow, 50, ButtonHeight},
                     "選択されているデータを中心に（又は表示画面を中心に）表示範囲を狭くさせます。「拡大」");
    PlaceLargeButton(this, BitBtn2, "BitBtn2", "縮小", {616, ButtonRow, 50, ButtonHeight},
                     "選択されているデータを中心に（又は表示画面を中心に）表示範囲を広くさせます。「縮小」");
    for (TBitBtn* b : {BitBtn8, BitBtn9, BitBtn4, BitBtn5, BitBtn6, BitBtn7, BitBtn1, BitBtn2})
        b->SetAnchors(akLeft | akBottom);
    PlaceLargeButton(this, BitBtn3, "BitBtn3", "檀家セット", {398, ButtonRow, 213, ButtonHeight});
    BitBtn3->SetAnchors(akRight | akBottom);
    BitBtn3->SetVisible(false);
    PlaceLargeButton(this, BitBtn43, "BitBtn43", "檀家リセット", {617, ButtonRow, 91, ButtonHeight});
    BitBtn43->SetAnchors(akRight | akBottom);

    // Over the map, hidden until a shared plot's co-owners are listed.
    Place(this, StringGrid4, "StringGrid4", {138, 49, 151, 151});
    StringGrid4->SetColCount(2);
    StringGrid4->SetRowCount(1);
    StringGrid4->SetFixedCols(0);
    StringGrid4->SetFixedRows(0);
    StringGrid4->SetColWidth(0, 123);
    StringGrid4->SetColWidth(1, 2);
    StringGrid4->SetDefaultRowHeight(25);
    StringGrid4->SetFont("Tahoma", LargePoints);
    StringGrid4->SetOptions(StringGrid4->Options() | goRowSelect);
    StringGrid4->SetScrollBars(ssNone);
    StringGrid4->SetVisible(false);

    // Hidden: the mesh controls the page settings read.
    PlaceCombo(this, ComboBox1, "ComboBox1", {0, 0, 56, FieldH}, csDropDown,
               {"無し", "10", "12", "14", "16", "18", "20", "40"}, 6, "メッシュ間隔");
    PlaceCombo(this, ComboBox5, "ComboBox5", {0, 0, 98, FieldH}, csDropDownList, {"クリップOn", "クリップOff"}, 0,
               "メッシュにクリップさせる、させない");
    PlaceCaption(this, Memo20, "Memo20", "メッシュの大きさ", {0, 0, 96, CaptionH});
    for (TControl* c : std::initializer_list<TControl*>{ComboBox1, ComboBox5, Memo20}) c->SetVisible(false);

    Place(this, StatusBar1, "StatusBar1", {0, FormClientHeight - StatusBarHeight, FormClientWidth, StatusBarHeight});
    StatusBar1->SetAlign(alBottom);

    MakeTimer(this, Timer1, "Timer1", 300);
    MakeTimer(this, Timer2, "Timer2", 10);
    MakeTimer(this, Timer4, "Timer4", 10);
}

void TForm_zumenn::BindTabletComponentEvents() {
    // No resize handler: at zoom 1 the full editor's would move every figure for good.
    // No wheel handler either: the tablet zooms with its two buttons only.
    OnKeyDown = [this](unsigned short& key, TShiftState shift) { FormKeyDown(key, shift); };
    OnKeyUp = [this](unsigned short& key, TShiftState shift) { FormKeyUp(key, shift); };
    PageControl1->OnChange = [this] { TabletPageControl1MouseDown(); };
    PageControl1->OnDrawTab = [this](QPainter& p, int i, const QRect& r, bool active) {
        PageControl1DrawTab(p, i, r, active);
    };
    PaintBox1->OnPaint = [this](QPainter& p, const QRect& dirty) { PaintBox1Paint(p, dirty); };
    PaintBox1->OnMouseDown = [this](TMouseButton b, TShiftState s, int x, int y) { PaintBox1MouseDown(b, s, x, y); };
    PaintBox1->OnMouseMove = [this](TShiftState s, int x, int y) { PaintBox1MouseMove(s, x, y); };
    PaintBox1->OnMouseUp = [this](TMouseButton b, TShiftState s, int x, int y) { PaintBox1MouseUp(b, s, x, y); };
    StringGrid4->OnMouseDown = [this](TMouseButton b, TShiftState s, int x, int y) {
        TabletStringGrid4MouseDown(b, s, x, y);
    };
    ComboBox5->OnChange = [this] { ComboBox5Change(); };
    Timer1->OnTimer = [this] { Timer1Timer(); };
    Timer2->OnTimer = [this] { Timer2Timer(); };
    Timer4->OnTimer = [this] { Timer4Timer(); };

    // The household fields: only the remarks and the grade are edited.
    for (TEdit* e : {Edit_no, Edit_genn, Edit_tiku, Edit_tel, Edit_j2}) e->OnEnter = [this] { Edit_noEnter(); };
    Edit_bikou->OnEnter = [this] { Edit_bikouEnter(); };
    Edit_bikou->OnExit = [this] { Edit_bikouExit(Edit_bikou); };
    Edit_bikou->OnKeyPress = [this](char32_t& key) { Edit_bikouKeyPress(key); };
    tou_name->OnEnter = [this] { tou_nameEnter(); };
    tou_name->OnExit = [this] { tou_nameExit(); };
    tou_name->OnKeyPress = [this](char32_t& key) { tou_nameKeyPress(key); };

    file_neisyo->OnEnter = [this] { file_neisyoEnter(); };
    file_neisyo->OnExit = [this] { file_neisyoExit(); };
    file_neisyo->OnKeyPress = [this](char32_t& key) { file_neisyoKeyPress(key); };
    BitBtn15->OnClick = [this] { BitBtn15Click(); };

    // The grids tell the keys when they have the focus; the table takes no double click.
    for (TStringGrid* g : {StringGrid1, StringGrid2, StringGrid3}) g->OnEnter = [this] { StringGrid2Enter(); };
    StringGrid1->OnExit = [this] { StringGrid1Exit(); };
    StringGrid2->OnExit = [this] { StringGrid2Exit(); };
    StringGrid3->OnExit = [this] { StringGrid3Exit(); };

    liya->OnClick = [this] { liyaClick(); };
    UpDown1->OnClick = [this](TUDBtnType b) { UpDown1Click(b); };
    CheckBox2->OnClick = [this] { CheckBox2Click(); };
    clip_Check->OnClick = [this] { clip_CheckClick(); };
    ComboBox2->OnChange = [this] { ComboBox2Change(); };
    BindFontList();
    R_time->OnClick = [this] { R_timeClick(); };

    BitBtn8->OnClick = [this] { CloseFormClick(); };
    BitBtn9->OnClick = [this] { BringLedgerToFrontClick(); };
    BitBtn4->OnClick = [this] { PanMapClick(TPanDirection::Left); };
    BitBtn5->OnClick = [this] { PanMapClick(TPanDirection::Right); };
    BitBtn6->OnClick = [this] { PanMapClick(TPanDirection::Up); };
    BitBtn7->OnClick = [this] { PanMapClick(TPanDirection::Down); };
    BitBtn1->OnClick = [this] { Button1Click(); };
    BitBtn2->OnClick = [this] { Button2Click(); };
    BitBtn3->OnClick = [this] { SetRequestedHouseholdClick(); };
    BitBtn43->OnClick = [this] { ResetHouseholdsClick(); };
}

}  // namespace tarvek
