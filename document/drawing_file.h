// The drawing data file: a version line, 25 lines per figure, "endofdata", a comment
// line, "<form_data>" and the 41 view lines. Three older layouts are read and upgraded.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "document/figure.h"
#include "platform/textfile.h"

namespace tarvek {

struct TDrawingState;

enum class TDrawingFileVersion { Unversioned = 0, Ver2 = 2, Ver3 = 3, Ver4 = 4 };

constexpr const char* DrawingVersionLine = "Ver4.00";
constexpr const char* EndOfDataLine = "endofdata";
constexpr const char* FormDataCommentLine = "//-------------フォームDATA----------------";
constexpr const char* FormDataMarkerLine = "<form_data>";

constexpr const char* FigureReadErrorMessage = "図面座標読込エラー。図面に配置された座標が読込めません。";
constexpr const char* ViewReadErrorMessage = "図面ウインドウ表示位置読込みエラー。";

TDrawingFileVersion DrawingFileVersionOf(const std::string& firstLine);
// Lines per record. fontLine false: the version-4 record of old part files, which ends
// before the font (24 lines); other versions have no font line anyway.
int FigureRecordLength(TDrawingFileVersion v, bool fontLine = true);

// The 25 lines of one record as "Ver4.00" writes them.
void AppendFigureRecordLines(const TDateRec& r, TLines& out);

// The fields one record of the given layout carries, read from lines[pos...] into r
// (which the caller has reset). Line 9 (the plot key) is returned apart, since only
// plots keep it. False when the record is cut short or a value does not convert.
// Without the font line r keeps the FontName it has.
bool ReadFigureRecordFields(const TLines& lines, std::size_t pos, TDrawingFileVersion v,
                            TDateRec& r, std::int32_t& line9, bool fontLine = true);

// Where a record read from an older layout comes from: a drawing turns its old boxes into
// today's kinds and clears the anchor words of its lines; a part keeps its kinds and
// words as read and moves the anchors of lines of every version.
enum class TRecordSource { DrawingFile, PartFile };

// What a record of an older layout means in today's terms (corners, text direction, the
// plot flag, line anchors).
void UpgradeFigureRecord(TDateRec& r, TDrawingFileVersion v, TRecordSource source);

// stem + "_data.txt" of the given drawing name.
std::string DrawingDataFileName(const TDrawingState& s, const std::string& drawingName);

// Reads the data file of CurrentDrawingName and its view settings into the state.
// Failure sets StartupError with a beep and leaves StartupErrorMessage on the stage
// that failed; records read so far stay in the store.
bool LoadDrawingData(TDrawingState& s);

struct TSaveResult {
    TFileResult File;
    std::string DrawingName;  // the name the drawing now has (for the name field)
    // A renamed drawing's file under its old name, removed once the new one stands; a
    // failure leaves both files and is the caller's to report.
    std::string OldFile;
    TFileResult OldFileRemoval;
};

// Writes the data file. nameField is the text of the drawing-name field: a new drawing
// gets a name from the clock, an edited name renames the drawing. The file is written
// whole or not at all; on failure the drawing keeps its old name and file.
TSaveResult SaveDrawingFile(TDrawingState& s, const std::string& nameField,
                            const std::function<void(int max, int pos)>& progress = {});

}  // namespace tarvek
