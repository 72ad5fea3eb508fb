// The page switch: the page in front decides what the map does with the mouse, which
// figures may stay selected, whether the mesh shows and what the help line says.
#include "forms/zumenn.h"

#include "document/history.h"
#include "document/selection.h"
#include "editing/drawing_tools.h"
#include "households/ledger_exchange.h"
#include "households/ledger_poll.h"
#include "households/plot_info.h"

namespace tarvek {

namespace {

constexpr int DrawingPage = 3;
constexpr int EditingPage = 4;

// Pages other than drawing and editing keep only plots selected; the drawing page obeys
// the selection filter and hands an owner's mark on to its members.
void FilterSelectionForPage(TDrawingState& s, int page, int filter) {
    if (page == EditingPage) return;
    for (std::int32_t k = 1; k <= s.SelectedCount && k < static_cast<std::int32_t>(s.SelectedList.size()); ++k) {
        const std::int32_t i = s.SelectedList[static_cast<std::size_t>(k)];
        if (!s.ValidIndex(i)) continue;
        TDateRec& r = s.Fig(i);
        if (!r.Selected) continue;
        if (page != DrawingPage) {
            if (!IsPlotRecord(r)) r.Selected = 0;
            continue;
        }
        if (filter == 2 && IsPlotRecord(r)) r.Selected = 0;
        if (filter == 1 && !IsPlotRecord(r)) r.Selected = 0;
        // Members stand before their owner, wherever it was created: all of them follow it.
        if (IsOwnerKind(r.Kind))
            for (std::int32_t j = 1; j <= s.FigureCount; ++j)
                if (!s.Fig(j).Deleted && s.Fig(j).OwnerIndex == i) s.Fig(j).Selected = r.Selected;
    }
}

std::string PageHelpLine(const TDrawingState& s, int page) {
    const std::string& w = s.PlotKindWord;
    switch (page) {
        case 0:
            return "図面の編集は上部タブ 「編集」・檀家割当ては 「檀家セット」から行います。「新規検索＞検索実行」で墓地を検索できます。";
        case 1:
            return (s.SelectedCount == 0 ? w + "を選択後、" : std::string()) +
                   "表から檀家を選択しダブルクリック、または「檀家セット」クリックで割当てられます。「新規検索＞検索実行」で檀家を検索できます。";
        case 2:
            return "各" + w + "に番号・等級を割当てます";
        case DrawingPage:
            return s.HelpText;
        case EditingPage:
            return "コピーCtrl+C　切取りCtrl+X　貼り付けCtrl+V　全選択Ctrl+A　元に戻すCtrl+Z　削除[DEL]";
        default:
            return "選択されている" + w +
                   "のみ檀家名も印刷します。「Shift」を押しながらクリック、またはマウスドラッグで追加できます。印刷範囲は概ね表示されている画面に合わせます。";
    }
}

}  // namespace

void TForm_zumenn::PageControl1MouseDown(TMouseButton, TShiftState, int, int) {
    const int page = PageControl1->ActivePageIndex();
    if (page == S.PreviousTab) return;

    // A figure in hand ends as the right button would end it, so that no piece is left
    // without its parent and its step.
    FinishDrawingInProgress(S);
    S.Dragging = 0;
    THistoryData selection;
    selection.AddNumber(S.CurrentHitIndex);
    selection.Append(BuildSelectionHistoryData(S));
    PushHistory(S, "選択").Data = selection;
    AddPageStepFields(S, *this, PushHistory(S, "タブページを戻す").Data);

    if (page != 1) {
        PageControl1->SetHeight(S.NormalPageHeight);
        BitBtn30->SetHint("拡大表示");
    }
    ResetPointMarkers(S, true);

    if (page == DrawingPage) {
        S.CurrentTool = S.PreviousTool;
        UpdatePaintCursor(S);
        S.Tools.MeshSnap = ComboBox5->ItemIndex() == 0 ? 1 : 0;
        S.MeshVisible = ComboBox1->Text() != "無し" ? 1 : 0;
        S.EditTabActive = 1;
    } else if (page == EditingPage) {
        S.PreviousTool = S.CurrentTool;
        S.CurrentTool = 0;
        PaintBox1->SetCursor(QCursor(Qt::ArrowCursor));
        S.Tools.MeshSnap = 1;
        S.MeshVisible = 0;
        S.EditTabActive = 1;
    } else {
        // The map only selects here. The drawing page takes back the tool of the page left
        // last, so a trip through two pages without tools brings the select tool back.
        S.PreviousTool = S.CurrentTool;
        S.CurrentTool = 0;
        SelectToolForSearch();
        S.MeshVisible = 0;
        S.EditTabActive = 0;
    }

    FilterSelectionForPage(S, page, liya->ItemIndex());
    if (page == DrawingPage || page == EditingPage) {
        SelectGroupMembers(S, 1);
        RebuildSelectionList(S, false);
    } else if (S.HouseholdOps.RebuildSortedSelectionList) {
        S.HouseholdOps.RebuildSortedSelectionList(S);
    } else {
        RebuildSelectionList(S, false);
    }
    S.HitCrossSuppressed = S.SelectedCount == 0 ? 1 : 0;

    if (page == 0) BitBtn35->SetCaption("新規検索");
    S.SetHelpLine(PageHelpLine(S, page));
    if (page == 0)
        SummariseSelection(S, *this);
    else
        StringGrid4->SetVisible(false);
    UpdateSelectionCount(S);
    ClassifySelectionKinds(S);

    for (TControl* c : std::initializer_list<TControl*>{Memo20, ComboBox1, ComboBox5, Label2})
        c->SetVisible(page == DrawingPage);
    S.PreviousTab = page;
    SendSelectionToLedger(S, *this);
    S.Search.EditingField = 0;
    PaintBox1->Invalidate();
}

void TForm_zumenn::ComboBox5Change() {
    S.Tools.MeshSnap = ComboBox5->ItemIndex() == 0 ? 1 : 0;
    Edit1->SetFocus();
}

}  // namespace tarvek
