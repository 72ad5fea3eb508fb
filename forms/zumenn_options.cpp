// The last page's colours (panel, paper picture, form, mesh, centre line, defaults) and
// the small option handlers: paste direction and the caption memos.
#include "forms/zumenn.h"

namespace tarvek {

namespace {

constexpr TColor DefaultFormColor = 0xEAF5F7;
constexpr TColor DefaultCenterLineColor = 0x808080;

}  // namespace

std::vector<TMemo*> TForm_zumenn::CaptionMemos() const {
    std::vector<TMemo*> memos;
    // The tablet's form has only some of them.
    for (TMemo* m : {Memo2,  Memo4,  Memo6,  Memo7,  Memo8,  Memo9,  Memo10, Memo11, Memo12, Memo13, Memo14, Memo15,
                     Memo16, Memo17, Memo18, Memo21, Memo22, Memo23, Memo24, Memo27, neisyo, taiou, Memo19})
        if (m) memos.push_back(m);
    return memos;
}

void TForm_zumenn::BitBtn11Click() {
    if (!ColorDialog1->Execute()) return;
    Panel1->SetColor(ColorDialog1->Color);
    S.DrawingUnchanged = 0;
}

void TForm_zumenn::BitBtn12Click() {
    const int answer = S.Ui.MessageDlg("用紙に画像を貼り付けますか？\r画像を選択する[はい]　画像を消去する[いいえ]",
                                       TMsgDlgType::mtInformation, mbYes | mbNo);
    S.DrawingUnchanged = 0;
    if (answer == mrYes) {
        if (!OpenPictureDialog1->Execute()) return;
        const std::string name = OpenPictureDialog1->FileName;
        // A file that is no picture leaves the paper as it was; so does a path CP932
        // cannot hold, which the display settings would keep as "?" and lose.
        if (!IsCp932Encodable(name) || !Image1->LoadFromFile(name)) {
            S.Ui.Beep();
            return;
        }
        S.BackgroundPicturePath = name;
    } else {
        Image1->Clear();
        S.BackgroundPicturePath.clear();
    }
    PaintBox1->Invalidate();
}

void TForm_zumenn::BitBtn13Click() {
    if (!ColorDialog1->Execute()) return;
    SetColor(ColorDialog1->Color);
    for (TMemo* m : CaptionMemos()) m->SetColor(ColorDialog1->Color);
    S.DrawingUnchanged = 0;
}

void TForm_zumenn::BitBtn16Click() {
    if (!ColorDialog1->Execute()) return;
    S.MeshColor = ColorDialog1->Color;
    S.DrawingUnchanged = 0;
    PaintBox1->Invalidate();
}

void TForm_zumenn::BitBtn17Click() {
    if (!ColorDialog1->Execute()) return;
    S.CenterLineColor = ColorDialog1->Color;
    S.DrawingUnchanged = 0;
    PaintBox1->Invalidate();
}

void TForm_zumenn::BitBtn20Click() {
    S.MeshColor = clBtnFace;
    S.CenterLineColor = DefaultCenterLineColor;
    Panel1->SetColor(DefaultFormColor);
    SetColor(DefaultFormColor);
    for (TMemo* m : CaptionMemos()) m->SetColor(DefaultFormColor);
    S.BackgroundPicturePath.clear();
    Image1->Clear();
    S.DrawingUnchanged = 0;
    PaintBox1->Invalidate();
}

void TForm_zumenn::RadioGroup1Click() { S.Tools.PasteDirection = RadioGroup1->ItemIndex() != 0 ? 1 : 0; }

void TForm_zumenn::Memo3Click() { Edit1->SetFocus(); }
void TForm_zumenn::Memo6Click() { Edit1->SetFocus(); }
void TForm_zumenn::Memo8Click() { Edit1->SetFocus(); }

}  // namespace tarvek
