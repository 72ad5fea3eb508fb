// Copy, cut, paste and delete on the map's keys, the rotate tool's preview and commit, the
// snap guides, and the editing page's align, order and group buttons: thin handlers over
// the clipboard, rotation and arrangement logic.
#include "editing/arrange.h"
#include "editing/clipboard.h"
#include "editing/rotation.h"
#include "forms/zumenn.h"

namespace tarvek {

void TForm_zumenn::BindArrange() {
    TToolOperations& ops = S.Tools.Ops;
    ops.FindSnapGuides = [this](int x, int y) { FindSnapGuides(S, x, y); };
    ops.DrawRotationPreview = [this](TCanvas& canvas, double angle) { DrawRotationPreview(S, canvas, angle); };
    ops.CommitRotation = [this](unsigned shift) {
        CommitRotation(S, shift);
        RepaintMap();
    };
    ops.CopyOrCutSelection = [this] {
        CopyOrCutSelection(S);
        RepaintMap();
    };
    ops.PasteCopiedFigures = [this] {
        PasteCopiedFigures(S);
        RepaintMap();
    };
    ops.PasteCutFigures = [this] {
        PasteCutFigures(S);
        RepaintMap();
    };
    ops.DeleteSelectedFigures = [this] {
        DeleteSelectedFigures(S);
        RepaintMap();
    };
}

bool TForm_zumenn::MirrorCopy() const { return CheckBox1->Checked(); }

std::string TForm_zumenn::DrawingNameText() const { return file_neisyo->Text(); }

void TForm_zumenn::BitBtn10Click() {
    AlignSelection(S, RadioGroup2->ItemIndex(), RadioGroup3->ItemIndex());
    Edit1->SetFocus();
    RepaintMap();
}

void TForm_zumenn::BitBtn41Click() {
    BringSelectionToFront(S);
    Edit1->SetFocus();
    RepaintMap();
}

void TForm_zumenn::BitBtn42Click() {
    SendSelectionToBack(S);
    Edit1->SetFocus();
    RepaintMap();
}

void TForm_zumenn::gp_setClick() {
    GroupSelection(S);
    Edit1->SetFocus();
    RepaintMap();
}

void TForm_zumenn::gp_resetClick() {
    UngroupSelection(S);
    Edit1->SetFocus();
    RepaintMap();
}

}  // namespace tarvek
