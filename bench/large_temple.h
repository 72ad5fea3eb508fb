// A full-size temple made up for the benchmark: 29999 figures (the most the store loads
// whole) and 5000 households, as a record table and as a program folder laid out the way
// the ledger leaves it before it starts the editor. The same seed gives the same temple
// on every machine.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "document/figure.h"
#include "platform/textfile.h"

namespace tarvek::bench {

constexpr std::int32_t FigureTotal = 29999;
constexpr int HouseholdTotal = 5000;

constexpr const char* Temple = "光明寺";
constexpr const char* PlotWord = "墓地";
constexpr const char* DrawingName = "本堂裏";

// Plots sit on lots of 2500 x 3500 units, 180 to a row: the site is 450000 units wide.
constexpr int LotsPerRow = 180;
constexpr double LotWidth = 2500.0, LotHeight = 3500.0;

// The household table as the ledger exports it: nine columns, ids 000001.. .
TLines HouseholdLines();

// Records 1..FigureTotal ([0] unused), owned plots carrying their household's fields.
std::vector<TDateRec> MakeRecords();

struct TFigureCounts {
    int Plots = 0, Owned = 0, Lines = 0, Texts = 0, Rectangles = 0, Groups = 0, Members = 0;
};
TFigureCounts CountFigures(const std::vector<TDateRec>& records);

// The view a large temple is opened with.
struct TOpenView {
    int Zoom = 1;
    int ScrollX = 0, ScrollY = 0;
    int FormWidth = 1100, FormHeight = 800;
};

// Writes a program folder (path with a trailing "/"): a fresh drawing request, the
// household table, the drawing data file of the records with the given view, and the
// hand-over file listing every plot. False when a file could not be written.
bool WriteProgramFolder(const std::string& folder, const std::vector<TDateRec>& records, const TOpenView& view);

}  // namespace tarvek::bench
