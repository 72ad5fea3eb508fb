// The tablet's selection and household operations on its form: the co-owner list over
// the map, a tap on one of its rows, the button that sets the household a request showed,
// "檀家リセット", and what the mouse and keys reach of the shared tools.
#include "document/selection.h"
#include "editing/clipboard.h"
#include "editing/drawing_tools.h"
#include "forms/zumenn.h"
#include "households/assignment.h"
#include "households/household_reset.h"
#include "tablet/tablet_selection.h"

namespace tarvek {

namespace {

// The co-owner list: a head's name and the copy's position in the selection list, which
// is kept in a column too narrow to read.
constexpr int HeadColumnWidth = 123, PositionColumnWidth = 2;
constexpr int CoOwnerRowHeight = 25;

}  // namespace

void TForm_zumenn::BindTabletSelection() {
    TToolOperations& ops = S.Tools.Ops;
    ops.SelectAllFigures = [this] { SelectAllTabletFigures(S, *this); };
    // The tablet moves, rotates, types and places nothing: an armed pick ends at its
    // release or the next press, as the tools do when no move is bound.
    ops.DrawDragPreview = nullptr;
    ops.CommitMoveOrTransform = nullptr;
    ops.DrawRotationPreview = nullptr;
    ops.CommitRotation = nullptr;
    ops.PlaceTextMemo = nullptr;
    ops.PlaceBlock = nullptr;
    // Delete with its households question and "削除" list, and no step.
    ops.DeleteSelectedFigures = [this] {
        DeleteSelectedFigures(S, false);
        RepaintMap();
    };

    // After a plain assignment the plot in hand stays current.
    S.HouseholdOps.SelectNextSearchHit = nullptr;
    S.HouseholdOps.ShowSelectionSummary = [this](TDrawingState&) { ShowTabletSelectionSummary(); };
}

void TForm_zumenn::ShowTabletSelectionSummary() { tarvek::ShowTabletSelectionSummary(S, *this); }

void TForm_zumenn::ShowTabletCoOwnerList(const std::vector<TCoOwnerRow>& rows, int currentRow) {
    const int count = static_cast<int>(rows.size());
    // Exactly the rows listed: a row left from an earlier selection would name a plot the
    // user never chose.
    StringGrid4->SetFixedRows(0);
    StringGrid4->SetRowCount(count);
    for (int r = 0; r < count; ++r) {
        StringGrid4->SetCell(0, r, rows[static_cast<std::size_t>(r)][0]);
        StringGrid4->SetCell(1, r, rows[static_cast<std::size_t>(r)][4]);
    }
    StringGrid4->SetBounds(StringGrid4->Left(), StringGrid4->Top(), HeadColumnWidth + PositionColumnWidth + 3,
                           count * (CoOwnerRowHeight + 1) + 3);
    if (currentRow >= 1 && currentRow <= count) StringGrid4->SetRow(currentRow - 1);
    StringGrid4->SetVisible(true);
    StringGrid4->BringToFront();
}

void TForm_zumenn::TabletStringGrid4MouseDown(TMouseButton, TShiftState, int x, int y) {
    // A press below the rows picks nothing.
    int col = 0, row = 0;
    if (!StringGrid4->MouseToCell(x, y, col, row)) return;
    SelectTabletCoOwner(S, *this, StringGrid4->Cells(1, row));
    PaintBox1->Invalidate();
}

void TForm_zumenn::SetRequestedHouseholdClick() {
    AssignHousehold(S, *this);
    // The fields show the plot in hand with the household it has now.
    if (const std::int32_t inHand = CursorEntry(S); inHand > 0) tarvek::ShowHouseholdFields(S, *this, inHand);
    PaintBox1->Invalidate();
}

void TForm_zumenn::ResetHouseholdsClick() {
    if (ResetSelectedHouseholds(S)) PaintBox1->Invalidate();
}

}  // namespace tarvek
