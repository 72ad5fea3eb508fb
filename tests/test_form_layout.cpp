// The make-up of the full editor's main window: every component as laid out, the words
// the start-up puts into it, the geometry of the tab pages and the shared handlers that
// are already built, driven through the real form offscreen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QPixmap>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <optional>
#include <set>
#include <typeinfo>

#include "document/history.h"
#include "form_test_support.h"
#include "scripted_dialogs.h"

namespace tarvek {
namespace {

using testing::StartForm;
using testing::TProgramFolder;

constexpr TColor FormColor = 15398391;     // $EAF5F7
constexpr TColor PanelColor = 0x00D9EDF0;  // $D9EDF0: light beige, $00BBGGRR

// What the layout sets on a component; fields that do not apply to its kind stay empty.
struct TLaidOut {
    std::string Text{};  // caption, text, or the text a combo box shows
    std::string Hint{};
    std::vector<std::string> Items{};
    int ItemIndex = -1;
    // Up-down: Min, Max, Increment, Position. Timer: Interval. Grid: ColCount, FixedCols,
    // FixedRows, DefaultRowHeight.
    std::vector<int> Numbers{};
    bool Checked = false;
    bool Visible = true;
    bool Enabled = true;
    std::optional<TColor> Color{};
};

struct TRow {
    const char* Name;
    TComponent* (*Member)(const TForm_zumenn&);
    bool (*IsKind)(const TComponent*);
    int Tab;  // the page it sits on, -1 for none
    TLaidOut Want;
};

template <class T>
bool Is(const TComponent* c) {
    return dynamic_cast<const T*>(c) != nullptr && typeid(*c) == typeid(T);
}

#define M(name) #name, [](const TForm_zumenn& f) -> TComponent* { return f.name; }
#define PAGE(i) "TabSheet" #i, [](const TForm_zumenn& f) -> TComponent* { return f.Tabs[i - 1]; }

const std::vector<std::string> MeshSizes{"無し", "10", "12", "14", "16", "18", "20", "40"};
const std::vector<std::string> MoveSteps{"移動量", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "20", "40"};
const std::vector<std::string> PenStyles{"　実線", "　破線", "　点線", "一点鎖線", "二点鎖線"};
const std::vector<std::string> PenWidths{"　細線", "　中線", "　太線"};
const std::vector<std::string> BrushStyles{"全塗り", "塗無し",   "右上斜", "左上斜",
                                           "十字線", "クロス線", "横線",   "縦線"};
const std::vector<int> HouseholdGrid{9, 0, 1, 15};
constexpr const char* EnterToFinish = "編集の完了は「Enter」";

const TRow LaidOut[] = {
    {PAGE(1), Is<TTabSheet>, -1, {.Text = "　　　検　索"}},
    {PAGE(2), Is<TTabSheet>, -1, {.Text = "　　檀家セット"}},
    {PAGE(3), Is<TTabSheet>, -1, {.Text = " 　　組番号"}},
    {PAGE(4), Is<TTabSheet>, -1, {.Text = " 　　作　図"}},
    {PAGE(5), Is<TTabSheet>, -1, {.Text = " 　　編　集"}},
    {PAGE(6), Is<TTabSheet>, -1, {.Text = "　その他・印刷"}},
    {M(PageControl1), Is<TPageControl>, -1, {}},
    {M(Memo4), Is<TMemo>, -1, {.Enabled = false, .Color = FormColor}},
    {M(Edit1), Is<TEdit>, -1, {}},
    {M(Panel1), Is<TPanel>, -1, {.Color = PanelColor}},
    {M(ScrollBox1), Is<TScrollBox>, -1, {.Color = clWhite}},
    {M(Image1), Is<TImage>, -1, {}},
    {M(PaintBox1), Is<TPaintBox>, -1, {.Color = clWhite}},
    {M(Memo1), Is<TMemo>, -1, {.Text = "Text用", .Visible = false}},
    {M(Label3), Is<TLabel>, -1, {.Text = "図面の編集は上部タブ 「編集」・檀家割当ては 「檀家セット」から行います"}},
    {M(Label2), Is<TLabel>, -1, {.Text = "データ位置", .Visible = false, .Color = FormColor}},
    {M(Memo20), Is<TMemo>, -1, {.Text = "メッシュの大きさ", .Visible = false, .Color = FormColor}},
    {M(ComboBox1), Is<TComboBox>, -1,
     {.Text = "20", .Hint = "メッシュ間隔", .Items = MeshSizes, .ItemIndex = 6, .Visible = false}},
    {M(ComboBox5), Is<TComboBox>, -1,
     {.Text = "クリップOn", .Hint = "メッシュにクリップさせる、させない", .Items = {"クリップOn", "クリップOff"},
      .ItemIndex = 0, .Visible = false}},
    {M(StatusBar1), Is<TStatusBar>, -1, {}},
    {M(SaveProgressBar), Is<TProgressBar>, -1, {}},
    {M(StringGrid4), Is<TStringGrid>, -1, {.Numbers = {5, 0, 1, 15}, .Visible = false}},
    {M(ColorDialog1), Is<TColorDialog>, -1, {}},
    {M(ColorDialog2), Is<TColorDialog>, -1, {}},
    {M(OpenPictureDialog1), Is<TOpenPictureDialog>, -1, {}},
    {M(PrintDialog1), Is<TPrintDialog>, -1, {}},
    {M(PrinterSetupDialog1), Is<TPrinterSetupDialog>, -1, {}},
    {M(OpenDialog1), Is<TOpenDialog>, -1, {}},
    {M(SaveDialog1), Is<TSaveDialog>, -1, {}},
    {M(Timer1), Is<TTimer>, -1, {.Numbers = {300}, .Enabled = false}},
    {M(Timer2), Is<TTimer>, -1, {.Numbers = {10}, .Enabled = false}},
    {M(Timer4), Is<TTimer>, -1, {.Numbers = {10}, .Enabled = false}},

    {M(Memo6), Is<TMemo>, 0, {.Text = "組番号", .Color = FormColor}},
    {M(Edit_no), Is<TEdit>, 0, {}},
    {M(Memo8), Is<TMemo>, 0, {.Text = "檀家名", .Color = FormColor}},
    {M(Edit_name), Is<TEdit>, 0, {}},
    {M(Memo10), Is<TMemo>, 0, {.Text = "現世帯主", .Color = FormColor}},
    {M(Edit_genn), Is<TEdit>, 0, {}},
    {M(Memo11), Is<TMemo>, 0, {.Text = "地区名", .Color = FormColor}},
    {M(Edit_tiku), Is<TEdit>, 0, {}},
    {M(Memo13), Is<TMemo>, 0, {.Text = "電話番号", .Color = FormColor}},
    {M(Edit_tel), Is<TEdit>, 0, {}},
    {M(Memo14), Is<TMemo>, 0, {.Text = "住所１", .Color = FormColor}},
    {M(Edit_j1), Is<TEdit>, 0, {}},
    {M(Memo15), Is<TMemo>, 0, {.Text = "住所２", .Color = FormColor}},
    {M(Edit_j2), Is<TEdit>, 0, {}},
    {M(Memo22), Is<TMemo>, 0, {.Text = "厨子備考", .Color = FormColor}},
    {M(Edit_bikou), Is<TEdit>, 0, {.Hint = EnterToFinish}},
    {M(Memo16), Is<TMemo>, 0, {.Text = "等級名", .Color = FormColor}},
    {M(tou_name), Is<TEdit>, 0, {.Hint = EnterToFinish}},
    {M(BitBtn35), Is<TBitBtn>, 0, {.Text = "新規検索", .Hint = "項目クリア&検索モード"}},
    {M(BitBtn36), Is<TBitBtn>, 0, {.Hint = "前検索"}},
    {M(BitBtn37), Is<TBitBtn>, 0, {.Hint = "次検索"}},
    {M(Memo7), Is<TMemo>, 0, {.Text = "選択個数", .Color = FormColor}},
    {M(Memo9), Is<TMemo>, 0, {.Text = "0", .Color = FormColor}},
    {M(neisyo), Is<TMemo>, 0, {.Color = FormColor}},
    {M(file_neisyo), Is<TEdit>, 0, {}},
    {M(BitBtn15), Is<TBitBtn>, 0, {.Text = "作業終了", .Hint = "終了"}},

    {M(BitBtn28), Is<TBitBtn>, 1, {.Text = "全表示"}},
    {M(BitBtn29), Is<TBitBtn>, 1, {.Text = "新規検索"}},
    {M(BitBtn30), Is<TBitBtn>, 1, {.Text = "表拡大", .Hint = "拡大表示"}},
    // The failed load left the table without a data row, and so without its fixed row.
    {M(StringGrid1), Is<TStringGrid>, 1,
     {.Hint = "ダブルクリックで檀家割当", .Numbers = {9, 0, 0, 15}, .Visible = false}},
    {M(StringGrid2), Is<TStringGrid>, 1, {.Numbers = HouseholdGrid, .Visible = false}},
    {M(StringGrid3), Is<TStringGrid>, 1, {.Hint = "検索項目入力", .Numbers = HouseholdGrid, .Visible = false}},
    {M(BitBtn31), Is<TBitBtn>, 1, {.Text = "檀家セット"}},
    {M(BitBtn43), Is<TBitBtn>, 1, {.Text = "檀家リセット", .Hint = "割当てた檀家名がリセットされます"}},

    {M(Memo25), Is<TMemo>, 2, {.Text = "組別\n名", .Color = FormColor}},
    {M(Edit3), Is<TEdit>, 2, {.Text = "北上段"}},
    {M(Memo26), Is<TMemo>, 2, {.Text = "初期\n値", .Color = FormColor}},
    {M(Edit5), Is<TEdit>, 2, {.Text = "1"}},
    {M(Memo28), Is<TMemo>, 2, {.Text = "増減\n値", .Color = FormColor}},
    {M(Edit6), Is<TEdit>, 2, {.Text = "1"}},
    {M(Memo29), Is<TMemo>, 2, {.Text = "番号割付方向", .Color = FormColor}},
    {M(BitBtn19), Is<TBitBtn>, 2, {.Hint = "左上から右下へ（横優先）"}},
    {M(BitBtn21), Is<TBitBtn>, 2, {.Hint = "右上から左下へ（横優先）"}},
    {M(BitBtn22), Is<TBitBtn>, 2, {.Hint = "左下から右上へ（横優先）"}},
    {M(BitBtn23), Is<TBitBtn>, 2, {.Hint = "右下から左上へ（横優先）"}},
    {M(BitBtn18), Is<TBitBtn>, 2, {.Hint = "左上から右下へ（縦優先）"}},
    {M(BitBtn24), Is<TBitBtn>, 2, {.Hint = "右上から左下へ（縦優先）"}},
    {M(BitBtn25), Is<TBitBtn>, 2, {.Hint = "左下から右上へ（縦優先）"}},
    {M(BitBtn26), Is<TBitBtn>, 2, {.Hint = "右下から左上へ（縦優先）"}},
    {M(Memo17), Is<TMemo>, 2, {.Text = "選択個数", .Color = FormColor}},
    {M(Memo12), Is<TMemo>, 2, {.Text = "0", .Color = FormColor}},
    {M(Memo27), Is<TMemo>, 2, {.Text = "等級名", .Color = FormColor}},
    {M(ComboBox4), Is<TComboBox>, 2, {.Hint = "等級名を直接書込めます。"}},
    {M(tokyuu), Is<TBitBtn>, 2, {.Text = "等級名割振り"}},

    {M(BitBtn1), Is<TBitBtn>, 3, {.Text = "拡大"}},
    {M(BitBtn2), Is<TBitBtn>, 3, {.Text = "縮小"}},
    {M(BitBtn54), Is<TBitBtn>, 3, {}},
    {M(BitBtn7), Is<TBitBtn>, 3, {.Hint = "選択（マウスドラッグで範囲選択）"}},
    {M(BitBtn3), Is<TBitBtn>, 3, {.Text = "直線"}},
    {M(BitBtn33), Is<TBitBtn>, 3, {.Text = "曲線"}},
    {M(BitBtn47), Is<TBitBtn>, 3, {.Text = "円"}},
    {M(BitBtn48), Is<TBitBtn>, 3, {.Text = "寸法"}},
    {M(BitBtn51), Is<TBitBtn>, 3, {.Text = "多角形"}},
    {M(BitBtn52), Is<TBitBtn>, 3, {.Text = "丸多角"}},
    {M(BitBtn53), Is<TBitBtn>, 3, {.Text = "引出線"}},
    {M(BitBtn4), Is<TBitBtn>, 3, {.Text = "四角形"}},
    {M(BitBtn5), Is<TBitBtn>, 3, {.Text = "文字"}},
    {M(BitBtn6), Is<TBitBtn>, 3, {.Text = "複厨子"}},
    {M(BitBtn45), Is<TBitBtn>, 3, {.Text = "単厨子"}},
    {M(BitBtn46), Is<TBitBtn>, 3, {.Text = "回"}},
    {M(BitBtn8), Is<TBitBtn>, 3, {.Text = "厨子個数設定"}},
    {M(BitBtn49), Is<TBitBtn>, 3, {.Text = "線開連結"}},
    {M(BitBtn50), Is<TBitBtn>, 3, {.Text = "線閉連結"}},
    {M(liya), Is<TRadioGroup>, 3, {.Text = "選択", .Hint = "墓地・厨子以外の選択をするか、しないかを設定"}},
    {M(RadioGroup1), Is<TRadioGroup>, 3,
     {.Text = "コピ方向", .Hint = "「Ctrl+C」「Ctrl+V」で貼り付けの方向を決めます", .Items = {"横→", "縦 ↓"}, .ItemIndex = 0}},
    {M(CheckBox1), Is<TCheckBox>, 3, {.Text = "反転コピー", .Hint = "コピー後、図形を反転させます。"}},
    {M(pen_sty_conb), Is<TComboBox>, 3, {.Text = "　実線", .Items = PenStyles, .ItemIndex = 0}},
    {M(pen_width_conb), Is<TComboBox>, 3, {.Text = "　細線", .Items = PenWidths, .ItemIndex = 0}},
    {M(brs_sty_conb), Is<TComboBox>, 3, {.Text = "塗無し", .Items = BrushStyles, .ItemIndex = 1}},
    {M(BitBtn57), Is<TBitBtn>, 3, {.Text = "外枠色", .Hint = "枠線色変更"}},
    {M(BitBtn56), Is<TBitBtn>, 3, {.Text = "内部色", .Hint = "塗り潰し色変更"}},
    {M(BitBtn38), Is<TBitBtn>, 3, {}},
    {M(BitBtn55), Is<TBitBtn>, 3, {.Text = "適応"}},
    {M(Memo18), Is<TMemo>, 3, {.Text = "選択個数", .Color = FormColor}},
    {M(Memo2), Is<TMemo>, 3, {.Text = "0", .Color = FormColor}},

    {M(gp_set), Is<TBitBtn>, 4, {.Text = "グループ化", .Hint = "一つの対象物にします。（履歴はクリアされます）"}},
    {M(gp_reset), Is<TBitBtn>, 4, {.Text = "グループ解除", .Hint = "グループを解除します。（履歴はクリアされます）"}},
    {M(BitBtn44), Is<TBitBtn>, 4, {.Text = "共有所有"}},
    {M(BitBtn14), Is<TBitBtn>, 4, {.Text = "共有分離"}},
    {M(botika_true), Is<TBitBtn>, 4, {.Text = "図形を墓地"}},
    {M(botika_false), Is<TBitBtn>, 4, {.Text = "墓地化解除"}},
    {M(Memo21), Is<TMemo>, 4, {.Text = "檀家名文字の大きさ", .Color = FormColor}},
    {M(UpDown1), Is<TUpDown>, 4, {.Numbers = {3, 20, 1, 10}}},
    {M(Memo23), Is<TMemo>, 4, {.Text = "檀家名向き変更", .Color = FormColor}},
    {M(UpDown2), Is<TUpDown>, 4, {.Numbers = {1, 10, 1, 5}}},
    {M(Memo24), Is<TMemo>, 4, {.Text = "寸法文字の大きさ", .Color = FormColor}},
    {M(UpDown3), Is<TUpDown>, 4, {.Numbers = {100, 1000, 100, 500}}},
    {M(CheckBox2), Is<TCheckBox>, 4, {.Text = "厨子回転時、檀家名も回転させる", .Checked = true}},
    {M(clip_Check), Is<TCheckBox>, 4, {.Text = "配置内で文字をクリッピングさせる", .Checked = true, .Enabled = false}},
    {M(ComboBox2), Is<TComboBox>, 4, {}},
    {M(BitBtn9), Is<TBitBtn>, 4, {.Text = "フォント変更", .Hint = "文字フォントの変更"}},
    {M(GroupBox1), Is<TGroupBox>, 4, {.Text = "前後"}},
    {M(BitBtn41), Is<TBitBtn>, 4, {.Text = "前移動", .Hint = "最前面に移動（檀家割当て済は、常に最前面）"}},
    {M(BitBtn42), Is<TBitBtn>, 4, {.Text = "後移動", .Hint = "最背面に移動（檀家割当て済は、常に最前面）"}},
    {M(GroupBox2), Is<TGroupBox>, 4, {.Text = "位置合"}},
    {M(RadioGroup2), Is<TRadioGroup>, 4,
     {.Text = "水平方向", .Items = {"無変更", "左寄せ", "右寄せ", "同間隔"}, .ItemIndex = 0}},
    {M(RadioGroup3), Is<TRadioGroup>, 4,
     {.Text = "垂直方向", .Items = {"無変更", "下寄せ", "上寄せ", "同間隔"}, .ItemIndex = 0}},
    {M(BitBtn10), Is<TBitBtn>, 4, {.Text = "実行", .Hint = "位置合せ実行"}},
    {M(buhinn), Is<TBitBtn>, 4, {.Text = "部品読込", .Hint = "他の図面データを追加読込みます。"}},
    {M(BitBtn32), Is<TBitBtn>, 4, {.Text = "部品登録", .Hint = "選択されているデータを部品登録します。"}},
    {M(hanni01), Is<TBitBtn>, 4, {.Text = "作図拡大", .Hint = "作図範囲を広くします"}},
    {M(hanni02), Is<TBitBtn>, 4, {.Text = "作図縮小", .Hint = "作図範囲を狭くします"}},

    {M(ck_true), Is<TCheckBox>, 5, {.Text = "作図直後、選択状態"}},
    {M(Button1), Is<TButton>, 5, {.Text = "印　刷"}},
    {M(RadioGroup17), Is<TRadioGroup>, 5, {.Items = {"横", "縦"}, .ItemIndex = 0}},
    {M(RadioGroup19), Is<TRadioGroup>, 5, {.Items = {"Ａ３", "Ｂ４", "Ａ４", "Ｂ５"}, .ItemIndex = 2}},
    {M(RadioGroup20), Is<TRadioGroup>, 5, {.Items = {"カラー", "白黒"}, .ItemIndex = 0}},
    {M(Memo19), Is<TMemo>, 5, {.Text = "[Ctrl][Shift]での移動\n量", .Color = FormColor}},
    {M(ComboBox3), Is<TComboBox>, 5, {.Text = "移動量", .Hint = "移動量", .Items = MoveSteps, .ItemIndex = 0}},
    {M(taiou), Is<TMemo>, 5, {.Color = FormColor}},
    {M(R_time), Is<TCheckBox>, 5, {.Text = "変更を反映確認", .Checked = true}},
    {M(BitBtn20), Is<TBitBtn>, 5, {.Text = "Defalt", .Hint = "初期色"}},
    {M(BitBtn12), Is<TBitBtn>, 5, {.Text = "Paper ", .Hint = "用紙色"}},
    {M(BitBtn11), Is<TBitBtn>, 5, {.Text = "Panel", .Hint = "パネル色"}},
    {M(BitBtn13), Is<TBitBtn>, 5, {.Text = "Form", .Hint = "フォーム色"}},
    {M(BitBtn16), Is<TBitBtn>, 5, {.Text = " Gridline ", .Hint = "グリッド色"}},
    {M(BitBtn17), Is<TBitBtn>, 5, {.Text = "Ceterline", .Hint = "中央線色"}},
};

#undef M
#undef PAGE

std::optional<std::string> TextOf(const TComponent* c) {
    if (auto* b = dynamic_cast<const TButton*>(c)) return b->Caption();
    if (auto* x = dynamic_cast<const TCheckBox*>(c)) return x->Caption();
    if (auto* l = dynamic_cast<const TLabel*>(c)) return l->Caption();
    if (auto* g = dynamic_cast<const TGroupBox*>(c)) return g->Caption();
    if (auto* t = dynamic_cast<const TTabSheet*>(c)) return t->Caption();
    if (auto* p = dynamic_cast<const TPanel*>(c)) return p->Caption();
    if (auto* m = dynamic_cast<const TMemo*>(c)) return m->Text();
    if (auto* e = dynamic_cast<const TEdit*>(c)) return e->Text();
    if (auto* cb = dynamic_cast<const TComboBox*>(c)) return cb->Text();
    return std::nullopt;
}

std::vector<std::string> ItemsOf(const TComponent* c) {
    if (auto* cb = dynamic_cast<const TComboBox*>(c)) return cb->Items();
    if (auto* g = dynamic_cast<const TRadioGroup*>(c)) return g->Items();
    return {};
}

int ItemIndexOf(const TComponent* c) {
    if (auto* cb = dynamic_cast<const TComboBox*>(c)) return cb->ItemIndex();
    if (auto* g = dynamic_cast<const TRadioGroup*>(c)) return g->ItemIndex();
    return -1;
}

std::vector<int> NumbersOf(const TComponent* c) {
    if (auto* u = dynamic_cast<const TUpDown*>(c)) return {u->Min(), u->Max(), u->Increment(), u->Position()};
    if (auto* t = dynamic_cast<const TTimer*>(c)) return {t->Interval()};
    if (auto* g = dynamic_cast<const TStringGrid*>(c))
        return {g->ColCount(), g->FixedCols(), g->FixedRows(), g->DefaultRowHeight()};
    return {};
}

int TabOf(const TForm_zumenn& form, const TComponent* c) {
    for (const TWinControl* p = c->Owner(); p; p = p->Owner())
        for (std::size_t i = 0; i < form.Tabs.size(); ++i)
            if (p == form.Tabs[i]) return static_cast<int>(i);
    return -1;
}

void ForEachControl(const TWinControl* container, const std::function<void(TControl*)>& f) {
    for (int i = 0; i < container->ControlCount(); ++i) {
        TControl* c = container->Controls(i);
        f(c);
        if (auto* w = dynamic_cast<TWinControl*>(c)) ForEachControl(w, f);
    }
}

// A start that fails at its first stage (the household export has no line): nothing of
// the start-up has touched the form, so it shows the layout itself.
class LaidOutForm : public ::testing::Test {
protected:
    void SetUp() override {
        dir.LayOutDefault();
        testing::WriteBytes(dir.File(HouseholdTableFileName), "");
        form = std::make_unique<TForm_zumenn>(dir.Folder(), ui);
        ASSERT_EQ(form->S.StartupError, 1);
    }
    TProgramFolder dir;
    TScriptedUi ui;
    std::unique_ptr<TForm_zumenn> form;
};

TEST_F(LaidOutForm, EveryComponentIsThereAsLaidOut) {
    std::set<std::string> names;
    for (const TRow& row : LaidOut) {
        SCOPED_TRACE(row.Name);
        EXPECT_TRUE(names.insert(row.Name).second) << "listed twice";
        TComponent* c = row.Member(*form);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->Name, row.Name);
        EXPECT_TRUE(row.IsKind(c));
        EXPECT_EQ(TabOf(*form, c), row.Tab);
        const TLaidOut& want = row.Want;
        if (const auto text = TextOf(c)) {
            EXPECT_EQ(*text, want.Text);
        }
        EXPECT_EQ(ItemsOf(c), want.Items);
        EXPECT_EQ(ItemIndexOf(c), want.ItemIndex);
        EXPECT_EQ(NumbersOf(c), want.Numbers);
        if (auto* box = dynamic_cast<TCheckBox*>(c)) {
            EXPECT_EQ(box->Checked(), want.Checked);
        }
        if (auto* timer = dynamic_cast<TTimer*>(c)) {
            EXPECT_EQ(timer->Enabled(), want.Enabled);
        }
        if (auto* control = dynamic_cast<TControl*>(c)) {
            EXPECT_EQ(form->FindComponent(row.Name), control);
            EXPECT_EQ(control->Hint(), want.Hint);
            EXPECT_EQ(control->Visible(), want.Visible);
            EXPECT_EQ(control->Enabled(), want.Enabled);
            if (want.Color) {
                EXPECT_EQ(control->Color(), *want.Color);
            }
        } else {
            EXPECT_EQ(c->Owner(), form.get());
        }
    }
    // And the table leaves out no control of the window.
    ForEachControl(form.get(),
                   [&](TControl* c) { EXPECT_TRUE(names.count(c->Name)) << "unlisted: '" << c->Name << "'"; });
}

TEST_F(LaidOutForm, TheWindowAroundTheComponents) {
    EXPECT_EQ(form->Name, "Form_zumenn");
    EXPECT_EQ(form->ClientWidth(), 1011);
    EXPECT_EQ(form->Color(), FormColor);
    EXPECT_EQ(form->FontName(), "Tahoma");
    EXPECT_EQ(form->FontSize(), 8);
    EXPECT_TRUE(form->KeyPreview());
    EXPECT_EQ(form->PageControl1->Height(), 104);
    EXPECT_EQ(form->PageControl1->Width(), 1011);
    EXPECT_EQ(form->PageControl1->Anchors(), akLeft | akTop | akRight);
    EXPECT_TRUE(form->PageControl1->OwnerDraw());
    EXPECT_EQ(form->ActivePageIndex(), 3);
    EXPECT_EQ(form->StatusBar1->Height(), 12);
    EXPECT_EQ(form->StatusBar1->Align(), alBottom);
    EXPECT_EQ(form->Panel1->Anchors(), akLeft | akTop | akRight | akBottom);
    EXPECT_EQ(form->ScrollBox1->Anchors(), akLeft | akTop | akRight | akBottom);
    EXPECT_EQ(form->Image1->Align(), alClient);
    EXPECT_TRUE(form->Image1->Stretch());
    EXPECT_EQ(form->Memo1->Parent(), form->Panel1);  // laid over the scroll box
}

TEST_F(LaidOutForm, TheFileDialogsOfThePartFiles) {
    EXPECT_EQ(form->OpenDialog1->Title, "部品読込");
    EXPECT_EQ(DialogFilterToQt(form->OpenDialog1->Filter), "部品データ (*.bbh *.bhn);;図面座標データ (*_data.txt)");
    EXPECT_EQ(form->SaveDialog1->Title, "部品登録");
    EXPECT_EQ(DialogFilterToQt(form->SaveDialog1->Filter), "部品データ (*.bbh)");
    EXPECT_EQ(form->SaveDialog1->DefaultExt, "bbh");
    EXPECT_TRUE(form->SaveDialog1->OverwritePrompt);
}

TEST_F(LaidOutForm, EveryDialogIsAnsweredThroughTheRunner) {
    testing::TScriptedDialogs dialogs;
    for (const bool answer : {true, false}) {
        dialogs.Answer = answer;
        for (TComponentDialog* d : std::initializer_list<TComponentDialog*>{
                 form->ColorDialog1, form->ColorDialog2, form->OpenPictureDialog1, form->PrintDialog1,
                 form->PrinterSetupDialog1, form->OpenDialog1, form->SaveDialog1})
            EXPECT_EQ(d->Execute(), answer) << d->Name;
    }
    EXPECT_EQ(dialogs.Ran.size(), 14u);
    EXPECT_EQ(dialogs.Ran.front(), "ColorDialog1");
    EXPECT_EQ(form->ColorDialog2->Color, clRed);
    EXPECT_EQ(form->OpenPictureDialog1->FileName, "/紙/背景.png");
}

// The words the start-up puts into the layout: the request's plot-kind word.
TEST(FormLayout, ACleanStartPutsThePlotKindWordIntoCaptionsAndHints) {
    TProgramFolder dir;
    dir.LayOutDefault();
    TScriptedUi ui;
    auto form = StartForm(dir, ui);
    ASSERT_TRUE(ui.Shown.empty());
    struct TWords {
        TControl* Control;
        const char* Text;
        const char* Hint;
    };
    const TWords started[] = {
        {form->BitBtn6, "複数厨子", "複数の厨子を配置します。配置個数は「厨子個数設定」で行います。"},
        {form->BitBtn45, "単数厨子", "１個の厨子を配置します。"},
        {form->BitBtn8, "厨子個数設定", "厨子の配置個数を別ウインドで設定します。"},
        {form->BitBtn46, "回\r転", ""},
        {form->botika_true, "図形を厨子", "選択されている図形を檀家割当て可能な厨子にします"},
        {form->botika_false, "厨子を図形", "選択されている厨子を普通の図形にします"},
        {form->BitBtn44, "共有所有", "複数厨子をひとつの共有所有にする。"},
        {form->BitBtn14, "共有分離", "共有所有の厨子を分離させます。"},
        {form->Memo22, "厨子備考", ""},
        {form->neisyo, "厨子名称", ""},
        {form->taiou, "「厨子台帳」にリアルタイム", ""},
    };
    for (const TWords& w : started) {
        SCOPED_TRACE(w.Control->Name);
        EXPECT_EQ(TextOf(w.Control).value_or("(no text)"), w.Text);
        EXPECT_EQ(w.Control->Hint(), w.Hint);
    }
    EXPECT_TRUE(form->StringGrid1->Visible());
    EXPECT_FALSE(form->StringGrid2->Visible());
}

// Started cleanly and shown at the size the form is laid out for.
class ShownForm : public ::testing::Test {
protected:
    void SetUp() override {
        dir.LayOutDefault();
        form = StartForm(dir, ui);
        ASSERT_TRUE(ui.Shown.empty());
        form->SetClientSize(1011, 549);
        QApplication::processEvents();
    }
    TProgramFolder dir;
    TScriptedUi ui;
    std::unique_ptr<TForm_zumenn> form;
};

TEST_F(ShownForm, TheWindowCannotBeMadeSmallerThanItsMinimum) {
    form->SetWindowBounds(10, 10, 600, 400);
    QApplication::processEvents();
    EXPECT_GE(form->WindowWidth(), 953);
    EXPECT_GE(form->WindowHeight(), 580);
    form->SetWindowBounds(10, 10, 1200, 700);
    QApplication::processEvents();
    EXPECT_EQ(form->WindowWidth(), 1200);  // and no larger than asked for
}

// At zoom 1, however the window is sized, the form, the map's panel and its scroll box
// come out even, and the paper fills the scroll box less its margin.
TEST_F(ShownForm, AResizeAtZoomOneKeepsTheMapEvenInSize) {
    while (form->S.Zoom > 1) form->BitBtn2->Click();  // "縮小"
    ASSERT_EQ(form->S.Zoom, 1);
    const std::pair<int, int> sizes[] = {{1011, 701}, {1200, 699}, {1101, 777}, {1000, 700}};
    for (const auto& [w, h] : sizes) {
        SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
        form->SetWindowBounds(10, 10, w, h);
        QApplication::processEvents();
        EXPECT_EQ(form->WindowWidth(), w + w % 2);
        EXPECT_EQ(form->WindowHeight(), h + h % 2);
        for (const TControl* c : std::initializer_list<const TControl*>{form->Panel1, form->ScrollBox1}) {
            SCOPED_TRACE(c->Name);
            EXPECT_EQ(c->Width() % 2, 0) << c->Width();
            EXPECT_EQ(c->Height() % 2, 0) << c->Height();
        }
        EXPECT_EQ(form->PaintBox1->Width(), form->ScrollBox1->Width() - 36);
        EXPECT_EQ(form->PaintBox1->Height(), form->ScrollBox1->Height() - 36);
        EXPECT_EQ(form->S.ViewBaseWidth, form->PaintBox1->Width());
        EXPECT_EQ(form->S.ViewBaseHeight, form->PaintBox1->Height());
    }
}

// Controls of one container, in its own coordinates: inside it and apart from each
// other. The three household grids share their place: only one of them shows at a time.
void ExpectApartAndInside(const TWinControl* container, const QRect& area) {
    const std::set<std::string> sharing{"StringGrid1", "StringGrid2", "StringGrid3"};
    for (int i = 0; i < container->ControlCount(); ++i) {
        const TControl* a = container->Controls(i);
        EXPECT_TRUE(area.contains(a->BoundsRect())) << a->Name << " leaves " << container->Name;
        for (int j = i + 1; j < container->ControlCount(); ++j) {
            const TControl* b = container->Controls(j);
            if (sharing.count(a->Name) && sharing.count(b->Name)) continue;
            EXPECT_FALSE(a->BoundsRect().intersects(b->BoundsRect())) << a->Name << " overlaps " << b->Name;
        }
        if (auto* inner = dynamic_cast<const TGroupBox*>(a))
            ExpectApartAndInside(inner, QRect(QPoint(0, 0), inner->Widget()->size()));
    }
}

TEST_F(ShownForm, ControlsOfATabPageLieApartInsideThePage) {
    for (TTabSheet* page : form->Tabs) {
        SCOPED_TRACE(page->Name);
        EXPECT_GE(page->Width(), 1000);
        ExpectApartAndInside(page, QRect(QPoint(0, 0), page->Widget()->size()));
    }
}

TEST_F(ShownForm, TheMapLiesBetweenTheTabsAndTheHelpLine) {
    const int client = form->ClientHeight();
    EXPECT_EQ(form->Panel1->Top(), form->PageControl1->Top() + form->PageControl1->Height());
    EXPECT_LE(form->Panel1->Top() + form->Panel1->Height(), form->Label3->Top());
    EXPECT_LE(form->Label3->Top() + form->Label3->Height(), form->StatusBar1->Top());
    EXPECT_EQ(form->StatusBar1->Top() + form->StatusBar1->Height(), client);
    EXPECT_EQ(form->Label3->Left(), 4);
    // The mesh controls at the bottom right, side by side in the help line's strip.
    const TControl* mesh[] = {form->Memo20, form->ComboBox1, form->ComboBox5, form->Label2};
    for (std::size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(mesh[i]->Name);
        EXPECT_GE(mesh[i]->Top(), form->Panel1->Top() + form->Panel1->Height());
        EXPECT_LE(mesh[i]->Top() + mesh[i]->Height(), form->StatusBar1->Top());
        EXPECT_LE(mesh[i]->Left() + mesh[i]->Width(), form->ClientWidth());
        if (i > 0) {
            EXPECT_LE(mesh[i - 1]->Left() + mesh[i - 1]->Width(), mesh[i]->Left());
        }
    }
    // Memo4 fills the strip right of the last tab caption.
    EXPECT_GT(form->Memo4->Left(), form->PageControl1->TabRect(5).right());
    EXPECT_EQ(form->Memo4->Left() + form->Memo4->Width(), form->ClientWidth());
}

// How many rows of the table are of one of these kinds, on a tab page or anywhere.
int CountRows(std::initializer_list<bool (*)(const TComponent*)> kinds, bool onTabsOnly) {
    int n = 0;
    for (const TRow& row : LaidOut)
        for (auto kind : kinds)
            if (row.IsKind == kind && (!onTabsOnly || row.Tab >= 0)) ++n;
    return n;
}

// Every caption is shown whole: its widest line fits the control, its lines its height.
TEST_F(ShownForm, EveryCaptionFitsItsControl) {
    const auto fits = [](const TControl* c, const std::string& text, int padW, int padH) {
        const QFontMetrics fm = c->Widget()->fontMetrics();
        const QStringList lines = QString::fromStdString(text).split(QRegularExpression("\r\n|\r|\n"));
        int widest = 0;
        for (const QString& line : lines) widest = std::max(widest, fm.horizontalAdvance(line));
        EXPECT_LE(widest + padW, c->Width()) << c->Name << ": " << text;
        EXPECT_LE(static_cast<int>(lines.size()) * fm.lineSpacing() + padH, c->Height()) << c->Name << ": " << text;
    };
    int checked = 0;
    for (TTabSheet* page : form->Tabs) {
        ForEachControl(page, [&](TControl* c) {
            if (auto* b = dynamic_cast<TButton*>(c))
                fits(b, b->Caption(), 8, 4);
            else if (auto* m = dynamic_cast<TMemo*>(c))
                fits(m, m->Text(), 0, 0);
            else if (auto* x = dynamic_cast<TCheckBox*>(c))
                EXPECT_LE(x->Widget()->sizeHint().width(), x->Width()) << x->Name;
            else if (auto* g = dynamic_cast<TRadioGroup*>(c)) {
                for (int i = 0; i < static_cast<int>(g->Items().size()); ++i)
                    EXPECT_LE(g->Button(i)->sizeHint().width(), g->Button(i)->width())
                        << g->Name << " " << g->Items()[i];
            } else {
                return;
            }
            ++checked;
        });
    }
    EXPECT_EQ(checked, CountRows({Is<TBitBtn>, Is<TButton>, Is<TMemo>, Is<TCheckBox>, Is<TRadioGroup>}, true));
}

TEST_F(ShownForm, TheTabInFrontIsPaintedInItsOwnColour) {
    form->PageControl1->SetActivePageIndex(2);
    QApplication::processEvents();
    const QImage shot = form->PageControl1->Widget()->grab().toImage();
    for (int tab = 0; tab < form->PageControl1->PageCount(); ++tab) {
        SCOPED_TRACE(tab);
        const QRect r = form->PageControl1->TabRect(tab);
        const QColor fill = ColorToQColor(tab == 2 ? TColor{0x00F0CAA6} : clBtnFace);
        // Near the right end, where no caption reaches.
        EXPECT_EQ(shot.pixelColor(r.right() - 4, r.center().y()).rgb(), fill.rgb());
        // The caption starts at (left + 4, top + 4): nothing but the fill above and left of it.
        int top = r.bottom(), left = r.right();
        for (int y = r.top() + 2; y < r.bottom(); ++y)
            for (int x = r.left() + 2; x < r.right() - 2; ++x)
                if (shot.pixelColor(x, y).rgb() != fill.rgb()) top = std::min(top, y), left = std::min(left, x);
        EXPECT_GE(top, r.top() + 4);
        EXPECT_LE(top, r.top() + 4 + QFontMetrics(form->PageControl1->Widget()->font()).ascent());
        EXPECT_GE(left, r.left() + 4);
    }
}

// Leaving any button puts the undo hint back into the help line.
TEST_F(ShownForm, LeavingAnyButtonShowsTheNextUndoStep) {
    std::vector<TButton*> buttons;
    ForEachControl(form.get(), [&](TControl* c) {
        if (auto* b = dynamic_cast<TButton*>(c)) buttons.push_back(b);
    });
    ASSERT_EQ(static_cast<int>(buttons.size()), CountRows({Is<TBitBtn>, Is<TButton>}, false));
    const auto leaveEach = [&](const std::string& hint) {
        for (TButton* b : buttons) {
            form->S.SetHelpLine("他のヒント");
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(b->Widget(), &leave);
            EXPECT_EQ(form->Label3->Caption(), hint) << b->Name;
        }
    };
    leaveEach("次の「Ctrl+Z」はありません。");
    PushHistory(form->S, "移動");
    leaveEach("次の「Ctrl+Z」移動");
}

}  // namespace
}  // namespace tarvek
