// The search page: plot search and hit navigation, the co-owner list over the map and
// the remarks field of the plot information.
#include "forms/zumenn.h"

#include "households/assignment.h"
#include "households/plot_info.h"
#include "households/plot_search.h"
#include "platform/numbers.h"

namespace tarvek {

namespace {

// The co-owner list's rows are 15 pixels high; the grid is sized to its rows.
constexpr int CoOwnerRowPitch = 17;
constexpr int CoOwnerListWidth = 383;

}  // namespace

void TForm_zumenn::BindPlotSearch() {
    S.HouseholdOps.SelectNextSearchHit = [this](TDrawingState&) { tarvek::SelectNextSearchHit(S, *this); };
    S.HouseholdOps.RebuildSortedSelectionList = [this](TDrawingState&) { tarvek::RebuildSortedSelectionList(S, *this); };
}

void TForm_zumenn::ShowCurrentHit() { ShowCurrentSearchHit(S, *this); }

// ---------------------------------------------------------------------------------
// TPlotSearchView

std::array<std::string, 9> TForm_zumenn::SearchCriteria() const {
    // The tablet has no house name and first address field: those criteria stay empty.
    const auto text = [](const TEdit* e) { return e ? e->Text() : std::string(); };
    return {text(Edit_no), text(Edit_name), text(Edit_genn),  text(Edit_tel), text(Edit_tiku),
            text(Edit_j1), text(Edit_j2),   text(Edit_bikou), text(tou_name)};
}

std::string TForm_zumenn::RemarksText() const { return Edit_bikou->Text(); }

void TForm_zumenn::SetRemarksText(const std::string& text) { Edit_bikou->SetText(text); }

// Without a search button (the tablet) the fields are never criteria.
std::string TForm_zumenn::SearchButtonCaption() const { return BitBtn35 ? BitBtn35->Caption() : SearchIdleCaption; }

void TForm_zumenn::SetSearchButtonCaption(const std::string& caption) {
    if (BitBtn35) BitBtn35->SetCaption(caption);
}

void TForm_zumenn::SetSearchCount(int count) {
    std::vector<std::string> lines = Memo9->Lines();
    if (lines.empty()) lines.emplace_back();
    lines[0] = IntToStr(count);
    Memo9->SetLines(lines);
}

void TForm_zumenn::FocusSearchInput() {
    if (Edit_name) Edit_name->SetFocus();
}

bool TForm_zumenn::CoOwnerListVisible() const { return StringGrid4->Visible(); }

void TForm_zumenn::ShowCoOwnerList(const std::vector<TCoOwnerRow>& rows, int currentRow) {
    if (Tablet()) {
        ShowTabletCoOwnerList(rows, currentRow);
        return;
    }
    const int count = static_cast<int>(rows.size());
    StringGrid4->SetRowCount(count + 1);
    StringGrid4->SetFixedRows(1);
    for (int r = 0; r < count; ++r)
        for (int c = 0; c < 5; ++c)
            StringGrid4->SetCell(c, r + 1, rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]);
    StringGrid4->SetBounds(StringGrid4->Left(), StringGrid4->Top(), CoOwnerListWidth, CoOwnerRowPitch * (count + 1));
    if (currentRow >= 1 && currentRow <= count) StringGrid4->SetRow(currentRow);
    StringGrid4->SetVisible(true);
    StringGrid4->BringToFront();
}

void TForm_zumenn::HideCoOwnerList() { StringGrid4->SetVisible(false); }

void TForm_zumenn::SetCoOwnerRow(int row) {
    // The tablet's list has no header row: its first row is row 0.
    const int gridRow = Tablet() ? row - 1 : row;
    if (gridRow >= StringGrid4->FixedRows() && gridRow < StringGrid4->RowCount()) StringGrid4->SetRow(gridRow);
}

// ---------------------------------------------------------------------------------
// Handlers

// Shared by the household fields: while plots are selected only the remarks can be
// edited; otherwise the fields are emptied to take search criteria.
void TForm_zumenn::Edit_noEnter() {
    if (S.Search.EditingField == 1) return;
    if (S.HasSelection == 1) {
        Edit_bikou->SetFocus();
        return;
    }
    tarvek::ShowHouseholdFields(S, *this, -1);
    S.Search.EditingField = 1;
}

void TForm_zumenn::Edit_bikouEnter() { BeginRemarksEdit(S, Edit_bikou->Text()); }

void TForm_zumenn::Edit_bikouExit(const TControl* sender) { EndRemarksEdit(S, *this, sender == Edit_bikou); }

void TForm_zumenn::Edit_bikouKeyPress(char32_t& key) {
    if (key == 13) {
        key = 0;
        Edit_bikouExit(Edit_bikou);
        return;
    }
    if (IsRefusedRemarksChar(key)) {
        key = 0;
        S.Ui.Beep();
    }
}

void TForm_zumenn::BitBtn35Click() { PressSearchButton(S, *this); }

void TForm_zumenn::BitBtn36Click() { SelectPreviousSearchHit(S, *this); }

void TForm_zumenn::BitBtn37Click() { tarvek::SelectNextSearchHit(S, *this); }

void TForm_zumenn::StringGrid4MouseDown(TMouseButton, TShiftState, int x, int y) {
    // A press on the header or beside the rows picks nothing.
    int col = 0, row = 0;
    if (!StringGrid4->MouseToCell(x, y, col, row)) return;
    SelectListedCoOwner(S, *this, StringGrid4->Cells(4, StringGrid4->Row()));
}

}  // namespace tarvek
