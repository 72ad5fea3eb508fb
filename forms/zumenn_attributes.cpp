// The attribute controls of the drawing and editing pages, the mesh and move-step boxes,
// the joins and the drawing range: the handlers read their controls, call the logic in
// editing/ and show what it asks for.
#include <QAbstractItemView>
#include <QComboBox>

#include "editing/attributes.h"
#include "editing/drawing_range.h"
#include "editing/drawing_tools.h"
#include "editing/join_curves.h"
#include "forms/zumenn.h"
#include "platform/canvas.h"

namespace tarvek {

namespace {

class TFormAttributeView final : public TAttributeView {
public:
    explicit TFormAttributeView(TForm_zumenn& form) : F(form) {}

    bool ChooseColour(TColourDialog dialog, TColor& colour) override {
        TColorDialog* d = dialog == TColourDialog::Frame ? F.ColorDialog1 : F.ColorDialog2;
        d->Color = colour;
        if (!d->Execute()) return false;
        colour = d->Color;
        return true;
    }
    void ShowPenStyle(int item) override { F.pen_sty_conb->SetItemIndex(item); }
    void SetPenStyleEnabled(bool enabled) override { F.pen_sty_conb->SetEnabled(enabled); }
    void ShowPenWidth(int item) override { F.pen_width_conb->SetItemIndex(item); }
    void ShowBrushStyle(int item) override { F.brs_sty_conb->SetItemIndex(item); }
    void RepaintSamples(TSampleList list) override { F.RepaintAttributeSamples(list); }
    void ShowMeshInterval(const std::string& text) override { F.ComboBox1->SetText(text); }
    void ShowMeshSnap(int item) override { F.ComboBox5->SetItemIndex(item); }
    void ShowMoveStep(const std::string& text) override { F.ComboBox3->SetText(text); }

private:
    TForm_zumenn& F;
};

}  // namespace

void TForm_zumenn::RepaintAttributeSamples(TSampleList list) {
    TComboBox* box = list == TSampleList::PenStyle   ? pen_sty_conb
                     : list == TSampleList::PenWidth ? pen_width_conb
                                                     : brs_sty_conb;
    box->Combo()->update();
    box->Combo()->view()->viewport()->update();
}

void TForm_zumenn::BindAttributes() {
    const std::pair<TComboBox*, TSampleList> samples[] = {{pen_sty_conb, TSampleList::PenStyle},
                                                          {pen_width_conb, TSampleList::PenWidth},
                                                          {brs_sty_conb, TSampleList::BrushStyle}};
    for (const auto& [box, list] : samples) {
        box->SetOwnerDraw(true);
        box->OnDrawItem = [this, box = box, list = list](TCanvas& c, int index, const TRect& r, bool selected) {
            DrawAttributeSample(S, list, c, index, r, selected, box->ItemText(index));
        };
    }
    BindFontList();
}

// Each font's name in its own face, in both editions.
void TForm_zumenn::BindFontList() {
    ComboBox2->SetOwnerDraw(true);
    ComboBox2->OnDrawItem = [this](TCanvas& c, int index, const TRect& r, bool selected) {
        DrawFontSample(c, r, selected, ComboBox2->ItemText(index));
    };
}

// ---- Drawing page: colours, styles, widths ------------------------------------------

void TForm_zumenn::Button9Click() {
    TFormAttributeView view(*this);
    ChangePenColor(S, view);
}

void TForm_zumenn::Ch_box_clo() {
    TFormAttributeView view(*this);
    ChangeBrushColor(S, view);
}

void TForm_zumenn::pen_sty_conbCloseUp() {
    TFormAttributeView view(*this);
    ChoosePenStyle(S, view, pen_sty_conb->ItemIndex());
}

void TForm_zumenn::pen_width_conbCloseUp() {
    TFormAttributeView view(*this);
    ChoosePenWidth(S, view, pen_width_conb->ItemIndex());
}

void TForm_zumenn::brs_sty_conbCloseUp() {
    TFormAttributeView view(*this);
    ChooseBrushStyle(S, view, brs_sty_conb->ItemIndex());
}

void TForm_zumenn::BitBtn38Click() {
    TFormAttributeView view(*this);
    TakeAttributesFromSelection(S, view);
}

void TForm_zumenn::BitBtn55Click() {
    TFormAttributeView view(*this);
    ApplyAttributesToSelection(S, view);
}

void TForm_zumenn::pen_sty_conbMouseEnter() { S.SetHelpLine("外枠線のスタイルを設定"); }
void TForm_zumenn::pen_width_conbMouseEnter() { S.SetHelpLine("外枠の線の太さを設定"); }
void TForm_zumenn::brs_sty_conbMouseEnter() { S.SetHelpLine("塗りつぶしのブラシスタイルを設定"); }
void TForm_zumenn::BitBtn57MouseEnter() { S.SetHelpLine("外枠の色を変更させます"); }
void TForm_zumenn::BitBtn56MouseEnter() { S.SetHelpLine("塗潰しの色を変更させます"); }
void TForm_zumenn::BitBtn38MouseEnter() { S.SetHelpLine("選択されている図形から色属性を取り出します（スポイト）"); }
void TForm_zumenn::BitBtn55MouseEnter() { S.SetHelpLine("選択されている図形を、現在の色属性に変更させます"); }

// ---- Drawing page: joins; the mesh box below the map --------------------------------

void TForm_zumenn::BitBtn49Click() {
    if (JoinSelectedLines(S, false)) UpdatePaintCursor(S);
}

void TForm_zumenn::BitBtn50Click() {
    if (JoinSelectedLines(S, true)) UpdatePaintCursor(S);
}

void TForm_zumenn::BitBtn49MouseEnter() { S.SetHelpLine("複数の直線間を曲線で繋ぎます。"); }
void TForm_zumenn::BitBtn50MouseEnter() { S.SetHelpLine("複数の直線間を曲線で繋ぎ、始点と終点も連結させます。"); }

void TForm_zumenn::ComboBox1Change() {
    TFormAttributeView view(*this);
    ChooseMeshInterval(S, view, ComboBox1->Text());
}

// ---- Editing page -------------------------------------------------------------------

void TForm_zumenn::ComboBox2Change() { ChooseFont(S, ComboBox2->Text()); }

void TForm_zumenn::BitBtn9Click() { ApplyFontToSelection(S); }

void TForm_zumenn::BitBtn9MouseEnter() {
    S.SetHelpLine("選択されている図形のフォントを" + S.CurFontName + "に変更します。");
}

void TForm_zumenn::UpDown1Click(TUDBtnType) { ChangeNameTextSize(S, UpDown1->Position()); }

void TForm_zumenn::UpDown2Click(TUDBtnType) { UpDown2->SetPosition(TurnNameDirection(S, UpDown2->Position())); }

void TForm_zumenn::UpDown3Click(TUDBtnType) { ChangeDimensionTextSize(S, UpDown3->Position()); }

void TForm_zumenn::CheckBox2Click() {
    const bool rotate = CheckBox2->Checked();
    clip_Check->SetEnabled(!rotate);
    UpDown2->SetEnabled(rotate);
    S.DrawingUnchanged = 0;
    PaintBox1->Invalidate();
}

void TForm_zumenn::hanni01Click() {
    if (!EnlargeDrawingRange(S)) return;
    UpDown3->SetPosition(S.DimensionTextSize);
    PaintBox1->Invalidate();
}

void TForm_zumenn::hanni02Click() {
    if (!ReduceDrawingRange(S)) return;
    UpDown3->SetPosition(S.DimensionTextSize);
    PaintBox1->Invalidate();
}

// ---- Options page -------------------------------------------------------------------

void TForm_zumenn::ComboBox3Change() {
    TFormAttributeView view(*this);
    ChooseMoveStep(S, view, ComboBox3->Text());
}

}  // namespace tarvek
