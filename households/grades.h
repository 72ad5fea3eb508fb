// Grades (等級): one name given to every selected plot from the numbering page, the
// current plot's grade edited on the search page, and the list of names offered.
#pragma once

#include <string>
#include <vector>

namespace tarvek {

struct TDrawingState;

// "等級名割振り": every selected plot (and the pieces of a compound one) takes grade;
// the plots are filled blue until the next repaint and one "変更" list is sent.
void AssignGradeToSelection(TDrawingState& s, const std::string& grade);

// The help line and hint of the assign button for this grade.
std::string GradeButtonHint(const TDrawingState& s, const std::string& grade);

// The grade field got the focus with this text.
void BeginGradeEdit(TDrawingState& s, const std::string& text);
// The grade field was left, or Enter was pressed in it. A changed text goes into the
// current hit and to the ledger; a new name joins grades. With no current hit nothing
// changes, and while the fields take search criteria (searchArmed) the text stays one.
// Returns the text as kept, without the characters the ledger's lines cannot hold.
std::string EndGradeEdit(TDrawingState& s, const std::string& typed, bool searchArmed,
                         std::vector<std::string>& grades);

// The grade list's text was left or confirmed with Enter: a typed text (no item chosen)
// joins the list. Returns the text as kept.
std::string KeepTypedGrade(const std::string& typed, int itemIndex, std::vector<std::string>& grades);

}  // namespace tarvek
