// The household page: the three grids (table, results, query) and their buttons.
#include "forms/zumenn.h"

#include "document/selection.h"
#include "households/assignment.h"
#include "households/household_search.h"
#include "households/household_table.h"
#include "households/ledger_exchange.h"
#include "households/ledger_poll.h"
#include "households/plot_info.h"

namespace tarvek {

namespace {

void CopyColumnWidths(const TStringGrid& from, TStringGrid& to) {
    for (int c = 0; c < from.ColCount() && c < to.ColCount(); ++c) to.SetColWidth(c, from.ColWidths(c));
}

void FillRows(TStringGrid& grid, const std::vector<THouseholdRow>& rows) {
    grid.SetRowCount(static_cast<int>(rows.size()) + 1);
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (int c = 0; c < HouseholdColumns && c < grid.ColCount(); ++c)
            grid.SetCell(c, static_cast<int>(r) + 1, rows[r][static_cast<std::size_t>(c)]);
}

}  // namespace

void TForm_zumenn::BindHouseholds() {
    S.HouseholdOps.SendChanges = [this](const TLines& list, bool noFinalLineEnd) {
        S.Ledger.tuika = list;
        FlushChangesToLedger(S, *this, noFinalLineEnd ? TListEnd::None : TListEnd::CrLf);
    };
}

// ---------------------------------------------------------------------------------
// TLedgerView

bool TForm_zumenn::RealTimeReflection() const { return R_time->Checked(); }

void TForm_zumenn::SetRealTimeReflection(bool checked) { R_time->SetChecked(checked); }

bool TForm_zumenn::QuestionOpen() const { return S.HouseholdOps.QuestionsOpen > 0 || S.Ui.BoxOpen(); }

void TForm_zumenn::SetActivePage(int page) { PageControl1->SetActivePageIndex(page); }

void TForm_zumenn::SelectToolForSearch() {
    PaintBox1->SetCursor(QCursor(Qt::ArrowCursor));
    S.Tools.MeshSnap = 1;
}

int TForm_zumenn::MeshStepIndex() const { return ComboBox1->ItemIndex(); }

int TForm_zumenn::MeshClipIndex() const { return ComboBox5->ItemIndex(); }

bool TForm_zumenn::RotateNamesChecked() const { return CheckBox2->Checked(); }

bool TForm_zumenn::ClipNamesChecked() const { return clip_Check->Checked(); }

void TForm_zumenn::SelectionChanged() {
    if (S.HouseholdOps.RebuildSortedSelectionList)
        S.HouseholdOps.RebuildSortedSelectionList(S);
    else
        RebuildSelectionList(S, true);
    SummariseSelection(S, *this);
}

void TForm_zumenn::ShowHouseholdAlone(int row) {
    if (row < 1 || row > static_cast<int>(S.Households.size())) return;
    // The result grid is what an assignment then reads from. A request shows the
    // household's columns 0 to 7; its remarks stay out.
    THouseholdRow shown = S.Households[static_cast<std::size_t>(row - 1)];
    shown[HouseholdColumns - 1].clear();
    S.HouseholdOps.ResultRows = {shown};
    StringGrid4->SetVisible(false);
    ShowResultRows(S.HouseholdOps.ResultRows);
}

// ---------------------------------------------------------------------------------
// THouseholdView

THouseholdGrid TForm_zumenn::VisibleHouseholdGrid() const {
    // The tablet sets only the household a request showed alone.
    if (Tablet()) return THouseholdGrid::Results;
    if (StringGrid3->Visible()) return THouseholdGrid::Query;
    if (StringGrid2->Visible()) return THouseholdGrid::Results;
    return THouseholdGrid::Table;
}

int TForm_zumenn::CurrentHouseholdRow() const {
    return VisibleHouseholdGrid() == THouseholdGrid::Results ? StringGrid2->Row() : StringGrid1->Row();
}

void TForm_zumenn::SetCurrentHouseholdRow(int row) {
    if (StringGrid1->Visible()) StringGrid1->SetRow(row);
    else if (StringGrid2->Visible()) StringGrid2->SetRow(row);
}

THouseholdRow TForm_zumenn::QueryRow() const {
    THouseholdRow row;
    for (int c = 0; c < HouseholdColumns; ++c) row[static_cast<std::size_t>(c)] = StringGrid3->Cells(c, 1);
    return row;
}

void TForm_zumenn::ShowResultRows(const std::vector<THouseholdRow>& rows) {
    FillRows(*StringGrid2, rows);
    StringGrid2->SetRow(1);
    StringGrid1->SetVisible(false);
    StringGrid3->SetVisible(false);
    StringGrid2->SetVisible(true);
    StringGrid2->SetEnabled(true);
}

void TForm_zumenn::ShowResultGrid(const std::vector<THouseholdRow>& rows) {
    ShowResultRows(rows);
    StringGrid2->SetFocus();
}

void TForm_zumenn::LeaveHouseholdSearchMode() {
    if (BitBtn29) BitBtn29->SetCaption("新規検索");
    StringGrid1->SetVisible(true);
    StringGrid1->SetEnabled(true);
    StringGrid2->SetVisible(false);
    StringGrid3->SetVisible(false);
    Edit1->SetFocus();
}

void TForm_zumenn::ShowHouseholdFields(const std::array<std::string, 9>& f) {
    TEdit* const fields[] = {Edit_no, Edit_name, Edit_genn, Edit_tel, Edit_tiku, Edit_j1, Edit_j2, Edit_bikou, tou_name};
    // The tablet shows seven of them; the hover display shows a plot again at every tick,
    // so unchanged fields are left alone.
    for (std::size_t i = 0; i < 9; ++i)
        if (fields[i] && fields[i]->Text() != f[i]) fields[i]->SetText(f[i]);
}

// ---------------------------------------------------------------------------------
// Handlers

void TForm_zumenn::BitBtn29Click() {
    if (BitBtn29->Caption() != "新規検索") {
        RunHouseholdGridSearch(S, *this);
        BitBtn29->SetCaption("新規検索");
        return;
    }
    PageControl1->SetHeight(S.NormalPageHeight);
    BitBtn30->SetHint("拡大表示");
    StringGrid1->SetVisible(false);
    StringGrid2->SetVisible(false);
    StringGrid3->SetRowCount(2);
    CopyColumnWidths(*StringGrid1, *StringGrid3);
    for (int c = 0; c < StringGrid3->ColCount(); ++c) StringGrid3->SetCell(c, 1, "");
    StringGrid3->SetRow(1);
    StringGrid3->SetVisible(true);
    StringGrid3->SetEnabled(true);
    StringGrid3->SetFocus();
    BitBtn29->SetCaption("検索実行");
}

void TForm_zumenn::BitBtn31Click() {
    AssignHousehold(S, *this);
    PaintBox1->Invalidate();
}

void TForm_zumenn::StringGrid1DblClick() { BitBtn31Click(); }

void TForm_zumenn::StringGrid2DblClick() { BitBtn31Click(); }

void TForm_zumenn::R_timeClick() { RealTimeReflectionClicked(S, *this, R_time->Checked()); }

void TForm_zumenn::Timer1Timer() {
    Timer1->SetEnabled(false);
    const TPollResult result = PollLedgerRequest(S, *this);
    // A request whose acknowledgement failed has still changed the selection.
    if (result == TPollResult::Handled || result == TPollResult::Stopped) PaintBox1->Invalidate();
    if (result != TPollResult::Stopped) Timer1->SetEnabled(true);
}

void TForm_zumenn::Timer2Timer() {
    S.HoverBusy = 0;
    Timer2->SetEnabled(false);
}

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
