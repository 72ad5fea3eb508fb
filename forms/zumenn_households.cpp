// The household page: the three grids (table, results, query) and their buttons.
#include "forms/zumenn.h"
#include "households/household_table.h"

namespace tarvek {

namespace {

void CopyColumnWidths(const TStringGrid& from, TStringGrid& to) {
    for (int c = 0; c < from.ColCount() && c < to.ColCount(); ++c) to.SetColWidth(c, from.ColWidths(c));
}

}  // namespace

void TForm_zumenn::BitBtn28Click() {
    StringGrid1->SetVisible(true);
    StringGrid1->SetEnabled(true);
    StringGrid1->SetFocus();
    StringGrid2->SetVisible(false);
    StringGrid3->SetVisible(false);
}

void TForm_zumenn::BitBtn30Click() {
    if (StringGrid3->Visible()) return;
    if (PageControl1->Height() == S.NormalPageHeight) {
        // The enlarged table covers the top of the map.
        PageControl1->SetHeight(300);
        PageControl1->BringToFront();
        BitBtn30->SetHint("縮小表示");
    } else {
        PageControl1->SetHeight(S.NormalPageHeight);
        BitBtn30->SetHint("拡大表示");
    }
    if (StringGrid1->Visible())
        StringGrid1->SetFocus();
    else if (StringGrid2->Visible())
        StringGrid2->SetFocus();
}

void TForm_zumenn::StringGrid2Enter() { S.GridFocused = 1; }

// The three grids keep equal column widths: whichever the user leaves passes its own on.
void TForm_zumenn::StringGrid1Exit() {
    CopyColumnWidths(*StringGrid1, *StringGrid2);
    CopyColumnWidths(*StringGrid1, *StringGrid3);
    S.GridFocused = 0;
}

void TForm_zumenn::StringGrid2Exit() {
    CopyColumnWidths(*StringGrid2, *StringGrid1);
    CopyColumnWidths(*StringGrid2, *StringGrid3);
    S.GridFocused = 0;
}

void TForm_zumenn::StringGrid3Exit() {
    CopyColumnWidths(*StringGrid3, *StringGrid1);
    CopyColumnWidths(*StringGrid3, *StringGrid2);
    S.GridFocused = 0;
}

}  // namespace tarvek
