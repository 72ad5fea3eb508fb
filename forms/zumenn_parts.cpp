// Part files and printing on the editing and print pages: "部品登録", "部品読込" and
// "印　刷".
#include "document/part_file.h"
#include "forms/zumenn.h"
#include "households/questions.h"
#include "platform/vcl_dialogs.h"
#include "view/printing.h"

namespace tarvek {

void TForm_zumenn::BitBtn32Click() {
    if (S.SelectedCount == 0) return;
    SaveDialog1->InitialDir = PartDialogFolder(S);
    SaveDialog1->FileName.clear();
    if (SaveDialog1->Execute()) {
        const std::string path = SaveDialog1->FileName;
        const TFileResult written = WriteTextLines(path, BuildPartLines(S));
        if (!written) ShowFileError(path, written);
    }
    Edit1->SetFocus();
}

void TForm_zumenn::buhinnClick() {
    OpenDialog1->InitialDir = PartDialogFolder(S);
    OpenDialog1->FileName.clear();
    if (!OpenDialog1->Execute()) return;
    const TPartAppendResult added = LoadPartFile(S, *this, OpenDialog1->FileName);
    Edit1->SetFocus();
    if (added.Added == 0 || added.OneGroup) return;
    if (Ask(S, PartGroupQuestion, mbYes | mbNo) == mrYes) gp_setClick();
}

void TForm_zumenn::innsatu() {
    TPrintChoice choice;
    choice.Orientation = RadioGroup17->ItemIndex();
    choice.Paper = RadioGroup19->ItemIndex();
    choice.Colour = RadioGroup20->ItemIndex();
    PrintMap(S, MapPaintInputs(), choice);
}

}  // namespace tarvek
