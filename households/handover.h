// The hand-over file: the drawing's plot list shared with the ledger, written whenever
// the drawing is saved and merged at start-up.
#pragma once

#include <string>

#include "platform/textfile.h"

namespace tarvek {

struct TDrawingState;

constexpr const char* HandoverCsvFileName = "受渡し_fm.csv";

// One plot's line: id, household id as an integer, then plot number, remarks and grade
// in double quotes, -1, district id, and the drawing name in double quotes.
// False when the household id is not an integer.
bool HandoverLine(const TDrawingState& s, std::int32_t index, std::string& line);

// Writes every live plot. A household id that is not an integer stops the writing
// before anything is written; the previous file stays.
TFileResult WriteHandoverCsv(const TDrawingState& s);

// The start-up stage. A missing file is no error.
bool ReadHandoverCsv(TDrawingState& s);

}  // namespace tarvek
