// The plot operations of the household, numbering, search and editing pages: household
// reset, shared-ownership sets, plot numbers, grades, turning figures into plots and
// back, and the red marks they leave on the map until its next paint.
#include "forms/zumenn.h"

#include "document/startup.h"
#include "editing/text_entry.h"
#include "households/grades.h"
#include "households/household_reset.h"
#include "households/plot_conversion.h"
#include "households/plot_info.h"
#include "households/plot_search.h"
#include "households/shared_ownership.h"
#include "platform/canvas.h"
#include "platform/numbers.h"

namespace tarvek {

// ---------------------------------------------------------------------------------
// Marks until the next paint

void TForm_zumenn::MarkUntilRepaint(const std::vector<TMapMark>& marks) {
    if (marks.empty()) return;
    PendingMarks.insert(PendingMarks.end(), marks.begin(), marks.end());
    PaintBox1->Invalidate();
}

void TForm_zumenn::PaintPendingMarks() {
    if (PendingMarks.empty() || MapImage.isNull()) return;
    TImageCanvas canvas(MapImage);
    canvas.SetOrigin(ScrollBox1->HorzScrollPos(), ScrollBox1->VertScrollPos());
    const double scale = S.Zoom / 1000.0;
    for (const TMapMark& m : PendingMarks) {
        canvas.Pen.Color = m.PenColor;
        canvas.Pen.Width = m.PenWidth;
        canvas.Pen.Mode = TPenMode::pmCopy;
        canvas.Pen.Style = TPenStyle::psSolid;
        canvas.Brush.Style = m.BrushColor ? TBrushStyle::bsSolid : TBrushStyle::bsClear;
        if (m.BrushColor) canvas.Brush.Color = *m.BrushColor;
        std::array<TPoint, 4> points;
        for (std::size_t k = 0; k < 4; ++k)
            points[k] = {RoundToInt32(m.Corners[2 * k] * scale), RoundToInt32(m.Corners[2 * k + 1] * scale)};
        canvas.Polygon(points);
    }
    PendingMarks.clear();
}

// ---------------------------------------------------------------------------------
// Household page

void TForm_zumenn::BitBtn43Click() {
    if (ResetSelectedHouseholds(S)) PaintBox1->Invalidate();
}

// ---------------------------------------------------------------------------------
// Numbering page

void TForm_zumenn::Edit3KeyPress(char32_t& key) {
    if (IsSymbolChar(key)) key = 0;
    else RefuseNonCp932Key(S, key);
}

void TForm_zumenn::NumberPlots(TNumberingOrder order) {
    // A pasted name passes the key filter; the field shows what the plots get.
    const std::string group = WithoutRefusedRemarksChars(Edit3->Text());
    if (group != Edit3->Text()) Edit3->SetText(group);
    if (NumberSelectedPlots(S, order, {group, Edit5->Text(), Edit6->Text()})) PaintBox1->Invalidate();
}

void TForm_zumenn::BitBtn19Click() { NumberPlots(TNumberingOrder::RowsLeftTopFirst); }
void TForm_zumenn::BitBtn21Click() { NumberPlots(TNumberingOrder::RowsRightTopFirst); }
void TForm_zumenn::BitBtn22Click() { NumberPlots(TNumberingOrder::RowsLeftBottomFirst); }
void TForm_zumenn::BitBtn23Click() { NumberPlots(TNumberingOrder::RowsRightBottomFirst); }
void TForm_zumenn::BitBtn18Click() { NumberPlots(TNumberingOrder::ColumnsLeftTopFirst); }
void TForm_zumenn::BitBtn24Click() { NumberPlots(TNumberingOrder::ColumnsRightTopFirst); }
void TForm_zumenn::BitBtn25Click() { NumberPlots(TNumberingOrder::ColumnsLeftBottomFirst); }
void TForm_zumenn::BitBtn26Click() { NumberPlots(TNumberingOrder::ColumnsRightBottomFirst); }

void TForm_zumenn::tokyuuClick() {
    const std::string grade = WithoutRefusedRemarksChars(ComboBox4->Text());
    if (grade != ComboBox4->Text()) ComboBox4->SetText(grade);
    AssignGradeToSelection(S, grade);
    PaintBox1->Invalidate();
}

void TForm_zumenn::tokyuuMouseEnter() {
    const std::string hint = GradeButtonHint(S, ComboBox4->Text());
    S.SetHelpLine(hint);
    tokyuu->SetHint(hint);
}

void TForm_zumenn::ComboBox4Enter() {}

void TForm_zumenn::ComboBox4Exit() {
    std::vector<std::string> grades = ComboBox4->Items();
    const std::size_t before = grades.size();
    const std::string text = KeepTypedGrade(ComboBox4->Text(), ComboBox4->ItemIndex(), grades);
    for (std::size_t k = before; k < grades.size(); ++k) ComboBox4->AddItem(grades[k]);
    if (text != ComboBox4->Text()) ComboBox4->SetText(text);
}

void TForm_zumenn::ComboBox4KeyPress(char32_t& key) {
    if (key == 13) {
        key = 0;
        ComboBox4Exit();
        return;
    }
    if (IsRefusedRemarksChar(key)) {
        key = 0;
        S.Ui.Beep();
    }
}

// ---------------------------------------------------------------------------------
// Search page: the current plot's grade

void TForm_zumenn::tou_nameEnter() { BeginGradeEdit(S, tou_name->Text()); }

void TForm_zumenn::tou_nameExit() {
    std::vector<std::string> grades = ComboBox4->Items();
    const std::size_t before = grades.size();
    const std::string text =
        EndGradeEdit(S, tou_name->Text(), SearchButtonCaption() == SearchArmedCaption, grades);
    for (std::size_t k = before; k < grades.size(); ++k) ComboBox4->AddItem(grades[k]);
    if (text != tou_name->Text()) tou_name->SetText(text);
}

void TForm_zumenn::tou_nameKeyPress(char32_t& key) {
    if (key == 13) {
        key = 0;
        tou_nameExit();
        return;
    }
    if (IsRefusedRemarksChar(key)) {
        key = 0;
        S.Ui.Beep();
    }
}

// ---------------------------------------------------------------------------------
// Editing page

void TForm_zumenn::BitBtn44Click() {
    JoinSharedOwnership(S);
    Edit1->SetFocus();
}

void TForm_zumenn::BitBtn14Click() {
    SplitSharedOwnership(S);
    Edit1->SetFocus();
}

void TForm_zumenn::botika_trueClick() {
    ConvertSelectionToPlots(S);
    Edit1->SetFocus();
}

void TForm_zumenn::botika_trueMouseEnter() {
    S.SetHelpLine("選択されている図形を檀家割当て可能な" + S.PlotKindWord + "にします");
}

void TForm_zumenn::botika_falseClick() {
    ConvertSelectionToFigures(S);
    Edit1->SetFocus();
}

void TForm_zumenn::botika_falseMouseEnter() {
    S.SetHelpLine("選択されている" + S.PlotKindWord + "を檀家割当てできない図形にします");
}

}  // namespace tarvek
