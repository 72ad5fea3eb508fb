// The make-up of the full editor's main form: every component with its place, texts and
// start values, and the handler each of its events runs.
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "document/history.h"
#include "forms/zumenn.h"
#include "forms/zumenn_placing.h"

namespace tarvek {

using namespace placing;

namespace {

constexpr int FormClientWidth = 1011, FormClientHeight = 549;
constexpr int FormMinWidth = 953, FormMinHeight = 580;
constexpr TColor ActiveTabColor = 0x00F0CAA6;
constexpr int PageControlHeight = 104;
constexpr int StatusBarHeight = 12;
constexpr int HelpStripHeight = 24;  // the help line between the map and the status bar
constexpr int MapMargin = 8;         // Panel1 shows its colour round the scroll box
constexpr int HelpStripTop = FormClientHeight - StatusBarHeight - HelpStripHeight;

// A tab page is 77 pixels high under the captions: two rows of buttons, or a caption line
// above an edit field, in each of its columns.
constexpr int Row1 = 2, Row2 = 39, ButtonH = 36;
constexpr int CaptionH = 14, FieldH = 22;
constexpr int Caption1 = 2, Field1 = Caption1 + CaptionH, Caption2 = 40, Field2 = Caption2 + CaptionH;

// ---- Pictures on the buttons that have no caption ---------------------------------------

constexpr int GlyphSize = 20;

QImage Glyph(const std::function<void(QPainter&)>& draw) {
    QImage image(GlyphSize, GlyphSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    draw(p);
    return image;
}

// The select tool: a mouse pointer.
QImage PointerGlyph() {
    return Glyph([](QPainter& p) {
        const QPointF arrow[] = {{6, 2}, {6, 16}, {9.5, 12.5}, {12, 18}, {14.5, 17}, {12, 11.5}, {16.5, 11.5}};
        p.setBrush(Qt::white);
        p.drawPolygon(arrow, 7);
    });
}

QImage LoupeGlyph() {
    return Glyph([](QPainter& p) {
        p.setBrush(QColor(0xD8, 0xEC, 0xFF));
        p.drawEllipse(QPointF(8, 8), 5.5, 5.5);
        p.setPen(QPen(Qt::black, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(12.5, 12.5), QPointF(17.5, 17.5));
    });
}

QImage DropperGlyph() {
    return Glyph([](QPainter& p) {
        p.setPen(QPen(Qt::black, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(4.5, 15.5), QPointF(11, 9));
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawEllipse(QPointF(14, 6), 3.5, 3.5);
        p.setBrush(Qt::red);
        p.drawEllipse(QPointF(3, 18), 1.8, 1.8);
    });
}

// Previous and next hit: a triangle pointing left or right.
QImage StepGlyph(bool forward) {
    return Glyph([forward](QPainter& p) {
        const qreal tip = forward ? 15 : 5, base = forward ? 6 : 14;
        const QPointF triangle[] = {{base, 4}, {tip, 10}, {base, 16}};
        p.setBrush(Qt::black);
        p.drawPolygon(triangle, 3);
    });
}

// A numbering order: three arrows along the rows (or columns) in the running direction,
// the first number marked by a red dot in its corner.
QImage OrderGlyph(bool rowsFirst, bool fromRight, bool fromBottom) {
    return Glyph([=](QPainter& p) {
        const auto arrow = [&p](QPointF from, QPointF to) {
            p.drawLine(from, to);
            const QPointF d = (to - from) / std::max(1.0, std::hypot((to - from).x(), (to - from).y()));
            const QPointF n(-d.y(), d.x());
            p.drawLine(to, to - 3.5 * d + 3 * n);
            p.drawLine(to, to - 3.5 * d - 3 * n);
        };
        for (const qreal at : {4.0, 10.0, 16.0}) {
            if (rowsFirst)
                arrow({fromRight ? 17.0 : 3.0, at}, {fromRight ? 3.0 : 17.0, at});
            else
                arrow({at, fromBottom ? 17.0 : 3.0}, {at, fromBottom ? 3.0 : 17.0});
        }
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::red);
        p.drawEllipse(QPointF(fromRight ? 17 : 3, fromBottom ? 17 : 3), 2.5, 2.5);
    });
}

// Every button of a container, at any depth.
void ForEachButton(TWinControl* container, const std::function<void(TButton*)>& f) {
    for (int i = 0; i < container->ControlCount(); ++i) {
        TControl* c = container->Controls(i);
        if (auto* b = dynamic_cast<TButton*>(c)) f(b);
        if (auto* w = dynamic_cast<TWinControl*>(c)) ForEachButton(w, f);
    }
}

}  // namespace

void TForm_zumenn::LayOutComponents() {
    Name = "Form_zumenn";
    SetClientSize(FormClientWidth, FormClientHeight);
    SetColor(FormColor);
    SetFont("Tahoma", 8);
    SetKeyPreview(true);

    Place(this, PageControl1, "PageControl1", {0, 0, FormClientWidth, PageControlHeight});
    PageControl1->SetAnchors(akLeft | akTop | akRight);
    PageControl1->SetOwnerDraw(true);
    const char* const tabCaptions[] = {"　　　検　索", "　　檀家セット", " 　　組番号",
                                       " 　　作　図",  " 　　編　集",    "　その他・印刷"};
    for (std::size_t i = 0; i < Tabs.size(); ++i) {
        Tabs[i] = PageControl1->AddPage(tabCaptions[i]);
        Tabs[i]->Name = "TabSheet" + std::to_string(i + 1);
    }

    // The strip right of the tab captions, and the focus sink in it.
    const int tabsEnd = PageControl1->TabRect(PageControl1->PageCount() - 1).right() + 4;
    const int stripHeight = PageControl1->TabRect(0).height() - 2;
    Place(this, Memo4, "Memo4", {tabsEnd, 0, FormClientWidth - tabsEnd, stripHeight});
    Memo4->SetAnchors(akLeft | akTop | akRight);
    Memo4->SetReadOnly(true);
    Memo4->SetBorderless(true);
    Memo4->SetColor(FormColor);
    Memo4->SetEnabled(false);
    Place(this, Edit1, "Edit1", {FormClientWidth - 8, 4, 4, 4});
    Edit1->SetAnchors(akTop | akRight);
    Edit1->SetBorderless(true);
    QPalette sink = Edit1->Editor()->palette();
    sink.setColor(QPalette::Base, ColorToQColor(FormColor));
    Edit1->Editor()->setPalette(sink);

    // The map.
    const int mapHeight = HelpStripTop - PageControlHeight;
    Place(this, Panel1, "Panel1", {0, PageControlHeight, FormClientWidth, mapHeight});
    Panel1->SetAnchors(akLeft | akTop | akRight | akBottom);
    Panel1->SetColor(NewDrawingPanelColor);
    Place(Panel1, ScrollBox1, "ScrollBox1",
          {MapMargin, MapMargin, FormClientWidth - 2 * MapMargin, mapHeight - 2 * MapMargin});
    ScrollBox1->SetAnchors(akLeft | akTop | akRight | akBottom);
    ScrollBox1->SetColor(clWhite);
    Image1 = new TImage(ScrollBox1);
    Image1->Name = "Image1";
    Image1->SetAlign(alClient);
    Image1->SetStretch(true);
    Place(ScrollBox1, PaintBox1, "PaintBox1", {0, 0, ScrollBox1->Width() - 36, ScrollBox1->Height() - 36});
    PaintBox1->SetColor(clWhite);
    // Laid over the scroll box where the text tool places it.
    Place(Panel1, Memo1, "Memo1", {MapMargin, MapMargin, 185, 24});
    Memo1->SetText("Text用");
    Memo1->SetVisible(false);

    // The help line, with the mesh controls of the drawing page at its right.
    Place(this, Label3, "Label3", {4, HelpStripTop + 5, FormClientWidth - 8, 15});
    Label3->SetAnchors(akLeft | akRight | akBottom);
    Label3->SetCaption("図面の編集は上部タブ 「編集」・檀家割当ては 「檀家セット」から行います");
    const int meshY = HelpStripTop + 1;
    Place(this, Label2, "Label2", {FormClientWidth - 204, meshY + 4, 200, 15});
    Label2->SetCaption("データ位置");
    Label2->SetTransparent(false);
    Label2->SetColor(FormColor);
    PlaceCombo(this, ComboBox5, "ComboBox5", {FormClientWidth - 306, meshY, 98, FieldH}, csDropDownList,
               {"クリップOn", "クリップOff"}, 0, "メッシュにクリップさせる、させない");
    PlaceCombo(this, ComboBox1, "ComboBox1", {FormClientWidth - 366, meshY, 56, FieldH}, csDropDown,
               {"無し", "10", "12", "14", "16", "18", "20", "40"}, 6, "メッシュ間隔");
    PlaceCaption(this, Memo20, "Memo20", "メッシュの大きさ", {FormClientWidth - 466, meshY + 4, 96, CaptionH});
    for (TControl* c : std::initializer_list<TControl*>{Label2, ComboBox5, ComboBox1, Memo20}) {
        c->SetAnchors(akRight | akBottom);
        c->SetVisible(false);
    }

    Place(this, StatusBar1, "StatusBar1", {0, FormClientHeight - StatusBarHeight, FormClientWidth, StatusBarHeight});
    StatusBar1->SetAlign(alBottom);

    // Over the map, hidden until a search or a shared plot fills it.
    Place(this, StringGrid4, "StringGrid4", {FormClientWidth - 383 - 28, PageControlHeight + 12, 383, 34});
    StringGrid4->SetAnchors(akTop | akRight);
    StringGrid4->SetColCount(5);
    StringGrid4->SetRowCount(2);
    StringGrid4->SetFixedCols(0);
    StringGrid4->SetFixedRows(1);
    StringGrid4->SetDefaultRowHeight(15);
    const int coOwnerWidths[] = {76, 67, 148, 83, 64};
    for (int c = 0; c < 5; ++c) StringGrid4->SetColWidth(c, coOwnerWidths[c]);
    StringGrid4->SetOptions(StringGrid4->Options() | goRowSelect);
    StringGrid4->SetScrollBars(ssNone);
    StringGrid4->SetVisible(false);

    MakeDialog(this, ColorDialog1, "ColorDialog1");
    MakeDialog(this, ColorDialog2, "ColorDialog2");
    MakeDialog(this, OpenPictureDialog1, "OpenPictureDialog1");
    MakeDialog(this, PrintDialog1, "PrintDialog1");
    MakeDialog(this, PrinterSetupDialog1, "PrinterSetupDialog1");
    MakeDialog(this, OpenDialog1, "OpenDialog1");
    OpenDialog1->Title = "部品読込";
    OpenDialog1->Filter = "部品データ|*.bbh;*.bhn|図面座標データ|*_data.txt";
    MakeDialog(this, SaveDialog1, "SaveDialog1");
    SaveDialog1->Title = "部品登録";
    SaveDialog1->Filter = "部品データ|*.bbh";
    SaveDialog1->DefaultExt = "bbh";
    SaveDialog1->OverwritePrompt = true;

    MakeTimer(this, Timer1, "Timer1", 300);
    MakeTimer(this, Timer2, "Timer2", 10);
    MakeTimer(this, Timer4, "Timer4", 10);

    // ---- Search page: the household fields of the plot in hand, which also take the
    // criteria of a search.
    TTabSheet* t = Tabs[0];
    const auto field = [&](TMemo*& caption, const char* captionName, const char* text, TEdit*& edit,
                           const char* editName, int x, int w, bool lower, const char* hint = "") {
        PlaceCaption(t, caption, captionName, text, {x, lower ? Caption2 : Caption1, w, CaptionH});
        PlaceEdit(t, edit, editName, {x, lower ? Field2 : Field1, w, FieldH}, "", hint);
    };
    field(Memo6, "Memo6", "組番号", Edit_no, "Edit_no", 4, 96, false);
    field(Memo8, "Memo8", "檀家名", Edit_name, "Edit_name", 104, 130, false);
    field(Memo10, "Memo10", "現世帯主", Edit_genn, "Edit_genn", 238, 120, false);
    field(Memo11, "Memo11", "地区名", Edit_tiku, "Edit_tiku", 362, 96, false);
    field(Memo13, "Memo13", "電話番号", Edit_tel, "Edit_tel", 462, 104, false);
    field(Memo14, "Memo14", "住所１", Edit_j1, "Edit_j1", 4, 270, true);
    field(Memo15, "Memo15", "住所２", Edit_j2, "Edit_j2", 278, 288, true);
    PlaceCaptioned(t, BitBtn35, "BitBtn35", "新規検索", {574, Row1, 76, ButtonH}, "項目クリア&検索モード");
    PlaceCaptioned(t, BitBtn36, "BitBtn36", "", {574, Row2, 37, ButtonH}, "前検索")->SetGlyph(StepGlyph(false));
    PlaceCaptioned(t, BitBtn37, "BitBtn37", "", {613, Row2, 37, ButtonH}, "次検索")->SetGlyph(StepGlyph(true));
    field(Memo22, "Memo22", "厨子備考", Edit_bikou, "Edit_bikou", 658, 170, false, "編集の完了は「Enter」");
    field(Memo16, "Memo16", "等級名", tou_name, "tou_name", 658, 170, true, "編集の完了は「Enter」");
    PlaceCaption(t, Memo7, "Memo7", "選択個数", {836, Caption1, 60, CaptionH});
    PlaceCaption(t, Memo9, "Memo9", "0", {836, Field1 + 2, 60, CaptionH + 2});
    PlaceCaption(t, neisyo, "neisyo", "", {836, Caption2, 164, CaptionH});
    PlaceEdit(t, file_neisyo, "file_neisyo", {836, Field2, 164, FieldH});
    PlaceCaptioned(t, BitBtn15, "BitBtn15", "作業終了", {920, Row1, 80, ButtonH}, "終了");

    // ---- Household page: the table fills the page between its buttons; the three grids
    // lie on one another, and only one of them shows at a time.
    t = Tabs[1];
    PlaceCaptioned(t, BitBtn28, "BitBtn28", "全表示", {4, 2, 70, 24});
    PlaceCaptioned(t, BitBtn29, "BitBtn29", "新規検索", {4, 27, 70, 24});
    PlaceCaptioned(t, BitBtn30, "BitBtn30", "表拡大", {4, 52, 70, 24}, "拡大表示");
    for (auto [grid, name] : {std::pair{&StringGrid1, "StringGrid1"}, std::pair{&StringGrid2, "StringGrid2"},
                              std::pair{&StringGrid3, "StringGrid3"}}) {
        TStringGrid* g = Place(t, *grid, name, {80, 2, 828, 74});
        g->SetAnchors(akLeft | akTop | akRight | akBottom);
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
    PlaceCaptioned(t, BitBtn31, "BitBtn31", "檀家セット", {914, Row1, 88, ButtonH})->SetAnchors(akTop | akRight);
    PlaceCaptioned(t, BitBtn43, "BitBtn43", "檀家リセット", {914, Row2, 88, ButtonH},
                   "割当てた檀家名がリセットされます")
        ->SetAnchors(akTop | akRight);

    // ---- Numbering page.
    t = Tabs[2];
    PlaceCaption(t, Memo25, "Memo25", "組別\r名", {4, 4, 28, 28});
    PlaceEdit(t, Edit3, "Edit3", {34, 8, 108, FieldH}, "北上段");
    PlaceCaption(t, Memo26, "Memo26", "初期\r値", {4, 43, 28, 28});
    PlaceEdit(t, Edit5, "Edit5", {34, 47, 40, FieldH}, "1");
    PlaceCaption(t, Memo28, "Memo28", "増減\r値", {78, 43, 28, 28});
    PlaceEdit(t, Edit6, "Edit6", {108, 47, 34, FieldH}, "1");
    PlaceCaption(t, Memo29, "Memo29", "番号割付方向", {154, Caption1, 148, CaptionH});
    struct TOrder {
        TBitBtn*& Button;
        const char* Name;
        const char* Hint;
        bool RowsFirst, FromRight, FromBottom;
    };
    const TOrder orders[] = {
        {BitBtn19, "BitBtn19", "左上から右下へ（横優先）", true, false, false},
        {BitBtn21, "BitBtn21", "右上から左下へ（横優先）", true, true, false},
        {BitBtn22, "BitBtn22", "左下から右上へ（横優先）", true, false, true},
        {BitBtn23, "BitBtn23", "右下から左上へ（横優先）", true, true, true},
        {BitBtn18, "BitBtn18", "左上から右下へ（縦優先）", false, false, false},
        {BitBtn24, "BitBtn24", "右上から左下へ（縦優先）", false, true, false},
        {BitBtn25, "BitBtn25", "左下から右上へ（縦優先）", false, false, true},
        {BitBtn26, "BitBtn26", "右下から左上へ（縦優先）", false, true, true},
    };
    for (int i = 0; i < 8; ++i) {
        const TOrder& o = orders[i];
        PlaceCaptioned(t, o.Button, o.Name, "", {154 + (i % 4) * 37, i < 4 ? 17 : 47, 36, 29}, o.Hint)
            ->SetGlyph(OrderGlyph(o.RowsFirst, o.FromRight, o.FromBottom));
    }
    PlaceCaption(t, Memo17, "Memo17", "選択個数", {312, Caption1, 60, CaptionH});
    PlaceCaption(t, Memo12, "Memo12", "0", {312, Field1 + 2, 60, CaptionH + 2});
    PlaceCaption(t, Memo27, "Memo27", "等級名", {384, Caption1, 150, CaptionH});
    PlaceCombo(t, ComboBox4, "ComboBox4", {384, Field1, 150, FieldH}, csDropDown, {}, -1, "等級名を直接書込めます。");
    PlaceCaptioned(t, tokyuu, "tokyuu", "等級名割振り", {538, Row1, 90, ButtonH});

    // ---- Drawing page: view, tools, plots, joins, selection and paste options, attributes.
    t = Tabs[3];
    PlaceCaptioned(t, BitBtn1, "BitBtn1", "拡大", {4, Row1, 40, ButtonH});
    PlaceCaptioned(t, BitBtn2, "BitBtn2", "縮小", {4, Row2, 40, ButtonH});
    PlaceCaptioned(t, BitBtn54, "BitBtn54", "", {46, Row1, 32, Row2 + ButtonH - Row1})->SetGlyph(LoupeGlyph());
    struct TTool {
        TBitBtn*& Button;
        const char* Name;
        const char* Caption;
    };
    const TTool tools[] = {
        {BitBtn7, "BitBtn7", ""},         {BitBtn3, "BitBtn3", "直線"},     {BitBtn33, "BitBtn33", "曲線"},
        {BitBtn47, "BitBtn47", "円"},     {BitBtn48, "BitBtn48", "寸法"},   {BitBtn51, "BitBtn51", "多角形"},
        {BitBtn52, "BitBtn52", "丸多角"}, {BitBtn53, "BitBtn53", "引出線"}, {BitBtn4, "BitBtn4", "四角形"},
        {BitBtn5, "BitBtn5", "文字"},
    };
    for (int i = 0; i < 10; ++i)
        PlaceCaptioned(t, tools[i].Button, tools[i].Name, tools[i].Caption,
                       {86 + (i % 5) * 45, i < 5 ? Row1 : Row2, 44, ButtonH});
    BitBtn7->SetHint("選択（マウスドラッグで範囲選択）");
    BitBtn7->SetGlyph(PointerGlyph());
    PlaceCaptioned(t, BitBtn6, "BitBtn6", "複厨子", {318, Row1, 60, ButtonH});
    PlaceCaptioned(t, BitBtn45, "BitBtn45", "単厨子", {318, Row2, 60, ButtonH});
    PlaceCaptioned(t, BitBtn8, "BitBtn8", "厨子個数設定", {380, Row1, 82, ButtonH});
    PlaceCaptioned(t, BitBtn46, "BitBtn46", "回", {380, Row2, 82, ButtonH});
    PlaceCaptioned(t, BitBtn49, "BitBtn49", "線開連結", {468, Row1, 60, ButtonH});
    PlaceCaptioned(t, BitBtn50, "BitBtn50", "線閉連結", {468, Row2, 60, ButtonH});
    PlaceRadios(t, liya, "liya", {534, 0, 86, 76}, "選択", {}, -1, 1, "墓地・厨子以外の選択をするか、しないかを設定");
    PlaceRadios(t, RadioGroup1, "RadioGroup1", {624, 0, 84, 56}, "コピ方向", {"横→", "縦 ↓"}, 0, 1,
                "「Ctrl+C」「Ctrl+V」で貼り付けの方向を決めます");
    PlaceCaptioned(t, CheckBox1, "CheckBox1", "反転コピー", {626, 57, 86, 19}, "コピー後、図形を反転させます。");
    PlaceCombo(t, pen_sty_conb, "pen_sty_conb", {716, 2, 92, FieldH}, csDropDownList,
               {"　実線", "　破線", "　点線", "一点鎖線", "二点鎖線"}, 0);
    PlaceCombo(t, pen_width_conb, "pen_width_conb", {716, 27, 92, FieldH}, csDropDownList,
               {"　細線", "　中線", "　太線"}, 0);
    PlaceCombo(t, brs_sty_conb, "brs_sty_conb", {716, 52, 92, FieldH}, csDropDownList,
               {"全塗り", "塗無し", "右上斜", "左上斜", "十字線", "クロス線", "横線", "縦線"}, 1);
    PlaceCaptioned(t, BitBtn57, "BitBtn57", "外枠色", {812, Row1, 52, ButtonH}, "枠線色変更");
    PlaceCaptioned(t, BitBtn56, "BitBtn56", "内部色", {812, Row2, 52, ButtonH}, "塗り潰し色変更");
    PlaceCaptioned(t, BitBtn38, "BitBtn38", "", {866, Row1, 44, ButtonH})->SetGlyph(DropperGlyph());
    PlaceCaptioned(t, BitBtn55, "BitBtn55", "適応", {866, Row2, 44, ButtonH});
    PlaceCaption(t, Memo18, "Memo18", "選択個数", {920, Caption2 - 16, 60, CaptionH});
    PlaceCaption(t, Memo2, "Memo2", "0", {920, Caption2, 60, CaptionH + 2});

    // ---- Editing page: the figure operations in three rows of small buttons, then the
    // name and text sizes, the name options and the font, z-order and alignment.
    t = Tabs[4];
    constexpr int SmallRow1 = 2, SmallRow2 = 27, SmallRow3 = 52, SmallH = 24;
    PlaceCaptioned(t, gp_set, "gp_set", "グループ化", {4, SmallRow1, 74, SmallH},
                   "一つの対象物にします。（履歴はクリアされます）");
    PlaceCaptioned(t, gp_reset, "gp_reset", "グループ解除", {4, SmallRow2, 74, SmallH},
                   "グループを解除します。（履歴はクリアされます）");
    PlaceCaptioned(t, BitBtn44, "BitBtn44", "共有所有", {80, SmallRow1, 56, SmallH});
    PlaceCaptioned(t, BitBtn14, "BitBtn14", "共有分離", {80, SmallRow2, 56, SmallH});
    PlaceCaptioned(t, botika_true, "botika_true", "図形を墓地", {138, SmallRow1, 64, SmallH});
    PlaceCaptioned(t, botika_false, "botika_false", "墓地化解除", {138, SmallRow2, 64, SmallH});
    PlaceCaptioned(t, buhinn, "buhinn", "部品読込", {204, SmallRow1, 56, SmallH}, "他の図面データを追加読込みます。");
    PlaceCaptioned(t, BitBtn32, "BitBtn32", "部品登録", {204, SmallRow2, 56, SmallH},
                   "選択されているデータを部品登録します。");
    PlaceCaptioned(t, hanni01, "hanni01", "作図拡大", {4, SmallRow3, 74, SmallH}, "作図範囲を広くします");
    PlaceCaptioned(t, hanni02, "hanni02", "作図縮小", {80, SmallRow3, 56, SmallH}, "作図範囲を狭くします");
    const auto updown = [&](TMemo*& caption, const char* captionName, const char* text, TUpDown*& u, const char* name,
                            int y, int lo, int hi, int step, int at) {
        PlaceCaption(t, caption, captionName, text, {266, y + 4, 102, CaptionH});
        PlaceUpDown(t, u, name, {368, y, 54, FieldH}, lo, hi, step, at);
    };
    updown(Memo21, "Memo21", "檀家名文字の大きさ", UpDown1, "UpDown1", SmallRow1, 3, 20, 1, 10);
    updown(Memo23, "Memo23", "檀家名向き変更", UpDown2, "UpDown2", SmallRow2, 1, 10, 1, 5);
    updown(Memo24, "Memo24", "寸法文字の大きさ", UpDown3, "UpDown3", SmallRow3, 100, 1000, 100, 500);
    PlaceCaptioned(t, CheckBox2, "CheckBox2", "厨子回転時、檀家名も回転させる", {428, SmallRow1 + 1, 202, 20})
        ->SetChecked(true);
    PlaceCaptioned(t, clip_Check, "clip_Check", "配置内で文字をクリッピングさせる", {428, SmallRow2 + 1, 202, 20})
        ->SetChecked(true);
    clip_Check->SetEnabled(false);
    PlaceCombo(t, ComboBox2, "ComboBox2", {428, SmallRow3, 118, FieldH}, csDropDownList, {}, -1);
    PlaceCaptioned(t, BitBtn9, "BitBtn9", "フォント変更", {548, SmallRow3, 82, FieldH}, "文字フォントの変更");
    PlaceCaptioned(t, GroupBox1, "GroupBox1", "前後", {634, 0, 56, 76});
    PlaceCaptioned(GroupBox1, BitBtn41, "BitBtn41", "前移動", {5, 18, 46, 27},
                   "最前面に移動（檀家割当て済は、常に最前面）");
    PlaceCaptioned(GroupBox1, BitBtn42, "BitBtn42", "後移動", {5, 46, 46, 27},
                   "最背面に移動（檀家割当て済は、常に最前面）");
    PlaceCaptioned(t, GroupBox2, "GroupBox2", "位置合", {694, 0, 304, 76});
    PlaceRadios(GroupBox2, RadioGroup2, "RadioGroup2", {3, 16, 130, 58}, "水平方向",
                {"無変更", "左寄せ", "右寄せ", "同間隔"}, 0, 2);
    PlaceRadios(GroupBox2, RadioGroup3, "RadioGroup3", {135, 16, 130, 58}, "垂直方向",
                {"無変更", "下寄せ", "上寄せ", "同間隔"}, 0, 2);
    PlaceCaptioned(GroupBox2, BitBtn10, "BitBtn10", "実行", {268, 22, 32, 50}, "位置合せ実行");

    // ---- Options and printing page.
    t = Tabs[5];
    PlaceCaptioned(t, ck_true, "ck_true", "作図直後、選択状態", {4, 3, 140, 20});
    PlaceCaption(t, Memo19, "Memo19", "[Ctrl][Shift]での移動\r量", {4, 25, 140, 28});
    PlaceCombo(t, ComboBox3, "ComboBox3", {4, 54, 84, FieldH}, csDropDown,
               {"移動量", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "20", "40"}, 0, "移動量");
    PlaceCaptioned(t, Button1, "Button1", "印　刷", {154, Row1, 56, Row2 + ButtonH - Row1});
    PlaceRadios(t, RadioGroup17, "RadioGroup17", {214, 0, 52, 76}, "", {"横", "縦"}, 0);
    PlaceRadios(t, RadioGroup19, "RadioGroup19", {268, 0, 62, 76}, "", {"Ａ３", "Ｂ４", "Ａ４", "Ｂ５"}, 2);
    PlaceRadios(t, RadioGroup20, "RadioGroup20", {332, 0, 72, 76}, "", {"カラー", "白黒"}, 0);
    PlaceCaption(t, taiou, "taiou", "", {416, Caption1 + 14, 190, CaptionH});
    PlaceCaptioned(t, R_time, "R_time", "変更を反映確認", {416, 36, 150, 20})->SetChecked(true);
    struct TColourButton {
        TBitBtn*& Button;
        const char* Name;
        const char* Caption;
        const char* Hint;
    };
    const TColourButton colours[] = {
        {BitBtn20, "BitBtn20", "Defalt", "初期色"},         {BitBtn12, "BitBtn12", "Paper ", "用紙色"},
        {BitBtn11, "BitBtn11", "Panel", "パネル色"},        {BitBtn13, "BitBtn13", "Form", "フォーム色"},
        {BitBtn16, "BitBtn16", " Gridline ", "グリッド色"}, {BitBtn17, "BitBtn17", "Ceterline", "中央線色"},
    };
    for (int i = 0; i < 6; ++i)
        PlaceCaptioned(t, colours[i].Button, colours[i].Name, colours[i].Caption,
                       {618 + (i % 3) * 74, i < 3 ? Row1 : Row2, 72, ButtonH}, colours[i].Hint);

    PageControl1->SetActivePageIndex(3);
    // Last: where the window has no frame (offscreen) the minimum enlarges the client area
    // at once, and the anchors have to know the size the controls were placed in.
    SetMinimumSize(FormMinWidth, FormMinHeight);
}

void TForm_zumenn::BindComponentEvents() {
    OnResize = [this] { FormResize(); };
    OnKeyDown = [this](unsigned short& key, TShiftState shift) { FormKeyDown(key, shift); };
    OnKeyUp = [this](unsigned short& key, TShiftState shift) { FormKeyUp(key, shift); };
    // A click on a tab reaches the page control as its change of page.
    PageControl1->OnChange = [this] {
        PageControl1MouseDown(mbLeft, 0, 0, 0);
    };
    PageControl1->OnDrawTab = [this](QPainter& p, int i, const QRect& r, bool active) {
        PageControl1DrawTab(p, i, r, active);
    };
    PaintBox1->OnPaint = [this](QPainter& p, const QRect& dirty) { PaintBox1Paint(p, dirty); };
    PaintBox1->OnMouseDown = [this](TMouseButton b, TShiftState s, int x, int y) { PaintBox1MouseDown(b, s, x, y); };
    PaintBox1->OnMouseMove = [this](TShiftState s, int x, int y) { PaintBox1MouseMove(s, x, y); };
    PaintBox1->OnMouseUp = [this](TMouseButton b, TShiftState s, int x, int y) { PaintBox1MouseUp(b, s, x, y); };
    PaintBox1->OnMouseWheel = [this](TShiftState s, int delta, int x, int y, bool& handled) {
        PaintBox1MouseWheel(s, delta, x, y, handled);
    };
    Memo1->OnChange = [this] { Memo1Change(); };
    Memo1->OnKeyDown = [this](unsigned short& key, TShiftState shift) { Memo1KeyDown(key, shift); };
    Memo1->OnKeyPress = [this](char32_t& key) { Memo1KeyPress(key); };
    StringGrid4->OnMouseDown = [this](TMouseButton b, TShiftState s, int x, int y) {
        StringGrid4MouseDown(b, s, x, y);
    };
    ComboBox1->OnChange = [this] { ComboBox1Change(); };
    ComboBox5->OnChange = [this] { ComboBox5Change(); };
    Timer1->OnTimer = [this] { Timer1Timer(); };
    Timer2->OnTimer = [this] { Timer2Timer(); };
    Timer4->OnTimer = [this] { Timer4Timer(); };

    for (TMemo* m :
         {Memo2,  Memo7,  Memo9,  Memo10, Memo11, Memo12, Memo13, Memo14, Memo15, Memo16, Memo17, Memo18, Memo19,
          Memo20, Memo21, Memo22, Memo23, Memo24, Memo25, Memo26, Memo27, Memo28, Memo29, neisyo, taiou})
        m->OnClick = [this] { Memo3Click(); };
    Memo6->OnClick = [this] { Memo6Click(); };
    Memo8->OnClick = [this] { Memo8Click(); };
    ForEachButton(this, [this](TButton* b) { b->OnMouseLeave = [this] { BitBtn1MouseLeave(); }; });

    // Search page.
    for (TEdit* e : {Edit_no, Edit_name, Edit_genn, Edit_tiku, Edit_tel, Edit_j1, Edit_j2})
        e->OnEnter = [this] { Edit_noEnter(); };
    for (TControl* c : std::initializer_list<TControl*>{Edit_bikou, Edit5, Edit6, ComboBox3}) {
        c->OnEnter = [this] { Edit_bikouEnter(); };
        c->OnExit = [this, c] { Edit_bikouExit(c); };
    }
    Edit_bikou->OnKeyPress = [this](char32_t& key) { Edit_bikouKeyPress(key); };
    tou_name->OnEnter = [this] { tou_nameEnter(); };
    tou_name->OnExit = [this] { tou_nameExit(); };
    tou_name->OnKeyPress = [this](char32_t& key) { tou_nameKeyPress(key); };
    BitBtn35->OnClick = [this] { BitBtn35Click(); };
    BitBtn36->OnClick = [this] { BitBtn36Click(); };
    BitBtn37->OnClick = [this] { BitBtn37Click(); };
    file_neisyo->OnEnter = [this] { file_neisyoEnter(); };
    file_neisyo->OnExit = [this] { file_neisyoExit(); };
    file_neisyo->OnKeyPress = [this](char32_t& key) { file_neisyoKeyPress(key); };
    BitBtn15->OnClick = [this] { BitBtn15Click(); };

    // Household page.
    BitBtn28->OnClick = [this] { BitBtn28Click(); };
    BitBtn29->OnClick = [this] { BitBtn29Click(); };
    BitBtn30->OnClick = [this] { BitBtn30Click(); };
    BitBtn31->OnClick = [this] { BitBtn31Click(); };
    BitBtn43->OnClick = [this] { BitBtn43Click(); };
    StringGrid1->OnDblClick = [this] { StringGrid1DblClick(); };
    StringGrid2->OnDblClick = [this] { StringGrid2DblClick(); };
    for (TStringGrid* g : {StringGrid1, StringGrid2, StringGrid3}) g->OnEnter = [this] { StringGrid2Enter(); };
    StringGrid1->OnExit = [this] { StringGrid1Exit(); };
    StringGrid2->OnExit = [this] { StringGrid2Exit(); };
    StringGrid3->OnExit = [this] { StringGrid3Exit(); };

    // Numbering page.
    Edit3->OnKeyPress = [this](char32_t& key) { Edit3KeyPress(key); };
    BitBtn18->OnClick = [this] { BitBtn18Click(); };
    BitBtn19->OnClick = [this] { BitBtn19Click(); };
    BitBtn21->OnClick = [this] { BitBtn21Click(); };
    BitBtn22->OnClick = [this] { BitBtn22Click(); };
    BitBtn23->OnClick = [this] { BitBtn23Click(); };
    BitBtn24->OnClick = [this] { BitBtn24Click(); };
    BitBtn25->OnClick = [this] { BitBtn25Click(); };
    BitBtn26->OnClick = [this] { BitBtn26Click(); };
    tokyuu->OnClick = [this] { tokyuuClick(); };
    tokyuu->OnMouseEnter = [this] { tokyuuMouseEnter(); };
    ComboBox4->OnEnter = [this] { ComboBox4Enter(); };
    ComboBox4->OnExit = [this] { ComboBox4Exit(); };
    ComboBox4->OnKeyPress = [this](char32_t& key) { ComboBox4KeyPress(key); };

    // Drawing page.
    BitBtn1->OnClick = [this] { Button1Click(); };
    BitBtn1->OnMouseEnter = [this] { BitBtn1MouseEnter(); };
    BitBtn2->OnClick = [this] { Button2Click(); };
    BitBtn2->OnMouseEnter = [this] { BitBtn2MouseEnter(); };
    BitBtn54->OnClick = [this] { BitBtn54Click(); };
    BitBtn54->OnMouseEnter = [this] { BitBtn54MouseEnter(); };
    BitBtn7->OnClick = [this] { Button6Click(); };
    BitBtn7->OnMouseEnter = [this] { BitBtn7MouseEnter(); };
    BitBtn3->OnClick = [this] { Button3Click(); };
    BitBtn33->OnClick = [this] { BitBtn33Click(); };
    BitBtn47->OnClick = [this] { BitBtn47Click(); };
    BitBtn48->OnClick = [this] { BitBtn48Click(); };
    BitBtn51->OnClick = [this] { BitBtn51Click(); };
    BitBtn52->OnClick = [this] { BitBtn52Click(); };
    BitBtn53->OnClick = [this] { BitBtn53Click(); };
    BitBtn4->OnClick = [this] { Button4Click(); };
    BitBtn5->OnClick = [this] { Button8Click(); };
    BitBtn6->OnClick = [this] { Button7Click(); };
    BitBtn45->OnClick = [this] { BitBtn45Click(); };
    BitBtn46->OnClick = [this] { BitBtn46Click(); };
    BitBtn8->OnClick = [this] { Button5Click(); };
    BitBtn8->OnMouseEnter = [this] { BitBtn8MouseEnter(); };
    BitBtn49->OnClick = [this] { BitBtn49Click(); };
    BitBtn49->OnMouseEnter = [this] { BitBtn49MouseEnter(); };
    BitBtn50->OnClick = [this] { BitBtn50Click(); };
    BitBtn50->OnMouseEnter = [this] { BitBtn50MouseEnter(); };
    liya->OnClick = [this] { liyaClick(); };
    for (TRadioGroup* g : {RadioGroup1, RadioGroup17, RadioGroup19, RadioGroup20})
        g->OnClick = [this] { RadioGroup1Click(); };
    // A choice in these lists is taken when it is made, as the list closes.
    pen_sty_conb->OnChange = [this] { pen_sty_conbCloseUp(); };
    pen_width_conb->OnChange = [this] { pen_width_conbCloseUp(); };
    brs_sty_conb->OnChange = [this] { brs_sty_conbCloseUp(); };
    pen_sty_conb->OnMouseEnter = [this] { pen_sty_conbMouseEnter(); };
    pen_width_conb->OnMouseEnter = [this] { pen_width_conbMouseEnter(); };
    brs_sty_conb->OnMouseEnter = [this] { brs_sty_conbMouseEnter(); };
    BitBtn57->OnClick = [this] { Button9Click(); };
    BitBtn57->OnMouseEnter = [this] { BitBtn57MouseEnter(); };
    BitBtn56->OnClick = [this] { Ch_box_clo(); };
    BitBtn56->OnMouseEnter = [this] { BitBtn56MouseEnter(); };
    BitBtn38->OnClick = [this] { BitBtn38Click(); };
    BitBtn38->OnMouseEnter = [this] { BitBtn38MouseEnter(); };
    BitBtn55->OnClick = [this] { BitBtn55Click(); };
    BitBtn55->OnMouseEnter = [this] { BitBtn55MouseEnter(); };

    // Editing page.
    gp_set->OnClick = [this] { gp_setClick(); };
    gp_reset->OnClick = [this] { gp_resetClick(); };
    BitBtn44->OnClick = [this] { BitBtn44Click(); };
    BitBtn14->OnClick = [this] { BitBtn14Click(); };
    botika_true->OnClick = [this] { botika_trueClick(); };
    botika_true->OnMouseEnter = [this] { botika_trueMouseEnter(); };
    botika_false->OnClick = [this] { botika_falseClick(); };
    botika_false->OnMouseEnter = [this] { botika_falseMouseEnter(); };
    UpDown1->OnClick = [this](TUDBtnType b) { UpDown1Click(b); };
    UpDown2->OnClick = [this](TUDBtnType b) { UpDown2Click(b); };
    UpDown3->OnClick = [this](TUDBtnType b) { UpDown3Click(b); };
    CheckBox2->OnClick = [this] { CheckBox2Click(); };
    clip_Check->OnClick = [this] { clip_CheckClick(); };
    ComboBox2->OnChange = [this] { ComboBox2Change(); };
    BitBtn9->OnClick = [this] { BitBtn9Click(); };
    BitBtn9->OnMouseEnter = [this] { BitBtn9MouseEnter(); };
    BitBtn41->OnClick = [this] { BitBtn41Click(); };
    BitBtn42->OnClick = [this] { BitBtn42Click(); };
    BitBtn10->OnClick = [this] { BitBtn10Click(); };
    buhinn->OnClick = [this] { buhinnClick(); };
    BitBtn32->OnClick = [this] { BitBtn32Click(); };
    hanni01->OnClick = [this] { hanni01Click(); };
    hanni02->OnClick = [this] { hanni02Click(); };

    // Options and printing page.
    Button1->OnClick = [this] { innsatu(); };
    ComboBox3->OnChange = [this] { ComboBox3Change(); };
    R_time->OnClick = [this] { R_timeClick(); };
    BitBtn11->OnClick = [this] { BitBtn11Click(); };
    BitBtn12->OnClick = [this] { BitBtn12Click(); };
    BitBtn13->OnClick = [this] { BitBtn13Click(); };
    BitBtn16->OnClick = [this] { BitBtn16Click(); };
    BitBtn17->OnClick = [this] { BitBtn17Click(); };
    BitBtn20->OnClick = [this] { BitBtn20Click(); };
}

void TForm_zumenn::PageControl1DrawTab(QPainter& painter, int index, const QRect& rect, bool active) {
    // Inside the outline the style drew round the tab.
    painter.fillRect(rect.adjusted(2, 2, -2, 0), ColorToQColor(active ? ActiveTabColor : clBtnFace));
    painter.setPen(ColorToQColor(clWindowText));
    painter.drawText(rect.adjusted(4, 4, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                     QString::fromStdString(PageControl1->Pages(index)->Caption()));
}

// The map itself is not painted yet. The paint box is opaque, so it must at least cover
// itself with its paper colour, or it would show whatever was on the screen before.

void TForm_zumenn::BitBtn1MouseLeave() { UpdateUndoHint(S); }

}  // namespace tarvek
