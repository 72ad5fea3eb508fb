// The search page's plot search: the nine fields as criteria, the hits as the selection
// list, stepping through them (wrapping round), the co-owner list of a shared plot and
// the view brought to the current hit.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "households/plot_search_state.h"

namespace tarvek {

struct TDrawingState;
struct TDateRec;

constexpr const char* SearchIdleCaption = "新規検索";
constexpr const char* SearchArmedCaption = "検索実行";
constexpr const char* HitStepLabel = "選択変更を戻す";
// The zoom at which a found plot is shown.
constexpr int SearchHitZoom = 2;

// True when the plot holds every non-empty criterion (same order as SearchCriteria) as
// a run of characters; letter case counts, nothing is trimmed.
bool PlotMatchesCriteria(const TDateRec& plot, const std::array<std::string, 9>& criteria);

// The search button: "新規検索" clears the selection and the fields for criteria,
// "検索実行" runs the search.
void PressSearchButton(TDrawingState& s, TPlotSearchView& view);

// Selects every live plot that matches the fields; refused (a beep) while a selection
// exists or when every field is empty. The first hit is shown at the search zoom.
void SearchPlots(TDrawingState& s, TPlotSearchView& view);

// 次検索 and 前検索: the next or previous hit, wrapping round.
void SelectNextSearchHit(TDrawingState& s, TPlotSearchView& view);
void SelectPreviousSearchHit(TDrawingState& s, TPlotSearchView& view);

// A row of the co-owner list was clicked: positionCell is its selection-list position.
// A cell that names no entry does nothing.
void SelectListedCoOwner(TDrawingState& s, TPlotSearchView& view, const std::string& positionCell);

// Fills the co-owner list with the current hit's share set, or moves its current row.
void ListSharedPlotsOfHit(TDrawingState& s, TPlotSearchView& view);

// Takes the current hit from the cursor, marks it for the painter, shows its fields and,
// when a start-up or a ledger request asked for it, sets up the view on it at the
// search zoom. An empty list or a cursor on no entry changes no hit.
void ShowCurrentSearchHit(TDrawingState& s, TPlotSearchView& view);

// Scrolls the map so that the marked hit is in the middle, at the search zoom when
// zoomIn, else at the current zoom. No step for the idle handler's scroll history.
void CentreViewOnHit(TDrawingState& s, bool zoomIn);

}  // namespace tarvek
