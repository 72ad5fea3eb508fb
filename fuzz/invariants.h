// What must hold after a reader of outside data reports success, shared by the fuzz
// targets and the unit tests. Each function returns an empty text when everything holds,
// else what it found first.
#pragma once

#include <string>

#include "document/drawing_state.h"
#include "document/view_settings.h"

namespace tarvek::fuzz {

// One record as a reader leaves it: every number finite, flags 0 or 1, texts on one line
// in valid UTF-8.
std::string RecordProblem(const TDateRec& r);

// The figure store: counts in range, owner links valid or 0, every record sound (above),
// boxes around their points, plot keys only on plots and none above MaxPlotId, no empty
// text (a drawing file gives "0"; a part keeps what it holds, emptyTexts); and a view
// that cannot break the view.
std::string StoreProblem(const TDrawingState& s, bool emptyTexts = false);

// The fields the drawing data file keeps, compared as the file writes them (reals to 15
// digits, texts as CP932 bytes).
std::string RecordDifference(const TDateRec& a, const TDateRec& b);
// Every record 1..FigureCount and the counts.
std::string StoreDifference(const TDrawingState& a, const TDrawingState& b);
// Every field of every record 1..FigureCount (household fields and flags included).
std::string FullStoreDifference(const TDrawingState& a, const TDrawingState& b);
std::string FormDataDifference(const TFormData& a, const TFormData& b);

// A text as it comes back from a CP932 file it was written to.
std::string AsWritten(const std::string& text);

}  // namespace tarvek::fuzz
