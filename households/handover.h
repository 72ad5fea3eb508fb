// The hand-over file: the drawing's plot list shared with the ledger, written whenever
// the drawing is saved and merged at start-up. It is the only place where the plots'
// household data (household, plot number, remarks, grade, district) outlive a run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/textfile.h"

namespace tarvek {

struct TDrawingState;

constexpr const char* HandoverCsvFileName = "受渡し_fm.csv";

// One plot's line: id, household id as an integer, then plot number, remarks and grade
// in double quotes, -1, district id, and the drawing name in double quotes. The reader
// splits at every comma and drops every double quote, so commas, double quotes and line
// breaks inside the texts are written as "，", "”" and a blank.
// False when the household id is not an integer.
bool HandoverLine(const TDrawingState& s, std::int32_t index, std::string& line);

// Writes every live plot that has a key. A household id that is not an integer stops the writing
// before anything is written; the previous file stays.
TFileResult WriteHandoverCsv(const TDrawingState& s);

// The start-up stage (sets its own stage message). Merges the ledger's plot list into
// the plots: listed plots take the ledger's fields and the names of their household in
// s.Households; plots of kind 11 and 11000 with a key the list lacks are deleted; a plot id the
// drawing lacks gets a new plot, lined up to the right below the drawing. Lines with a
// plot id below 1 are ignored. Grades not yet in gradeItems are appended to it.
// A missing file changes nothing. Bad data (a number field that is not a 32-bit integer,
// a household table row whose ID is no integer where the search for a line's household
// meets it, a store without room for the new plots, an unreadable file) sets
// StartupError with a beep and changes nothing; false then.
bool ReadHandoverCsv(TDrawingState& s, std::vector<std::string>& gradeItems);

}  // namespace tarvek
