// The edit-history list: one step per change the user can take back with Ctrl+Z.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace tarvek {

struct TDrawingState;
struct TDateRec;

// One field of a step's data: a number (indices, rounded coordinates, flags) or a text.
using THistoryField = std::variant<std::int64_t, std::string>;

// A step's data, in the order its operation lists the fields. Kept typed rather than as
// one padded string so that long values, "*" and "," in texts survive an undo intact.
class THistoryData {
public:
    void AddNumber(std::int64_t value) { Fields.emplace_back(value); }
    void AddFlag(bool value) { Fields.emplace_back(std::int64_t{value ? 1 : 0}); }
    void AddText(std::string text) { Fields.emplace_back(std::move(text)); }
    void Append(const THistoryData& other) {
        Fields.insert(Fields.end(), other.Fields.begin(), other.Fields.end());
    }
    void Clear() { Fields.clear(); }

    std::size_t Size() const { return Fields.size(); }
    bool Empty() const { return Fields.empty(); }
    bool IsNumber(std::size_t i) const {
        return i < Fields.size() && std::holds_alternative<std::int64_t>(Fields[i]);
    }
    // Out of range or of the other type: nullptr, so that an undo can fail cleanly.
    const std::int64_t* Number(std::size_t i) const;
    const std::string* Text(std::size_t i) const;

    bool operator==(const THistoryData&) const = default;

    std::vector<THistoryField> Fields;
};

struct Trireki {
    std::string Label;
    THistoryData Data;
};

constexpr const char* HistoryStopLabel = "stop";

// Opens a new top step and updates the hint line. The caller fills the Data of the step
// handed back, never History[HistoryCount]: an edition without history hands back a
// scratch step.
Trireki& PushHistory(TDrawingState& s, const std::string& label);
void GrowHistory(TDrawingState& s);
// Empties the list the way compaction and a full store do: nothing left to undo, entries
// 0 and 1 the bottom marks and the count 1.
void EmptyHistory(TDrawingState& s);
// The hint line for the step now on top.
void UpdateUndoHint(TDrawingState& s);

// Fixed-width forms for texts users see (plot numbers): pad prepended until the text
// has at least width bytes of the ledger's code page; a longer value is never cut.
std::string PadNumber(std::int64_t number, int width, const std::string& pad);
std::string PadText(int width, const std::string& pad, const std::string& text);
// Strips the leading pad characters again.
std::string StripPad(const std::string& padded, char pad = '*');

// The indices of every selected record, in index order.
THistoryData BuildSelectionHistoryData(const TDrawingState& s);

// A figure's geometry as the move, transform, rotation, alignment and share steps keep
// it: the index, then X1, Y1 .. X4, Y4, BoxX1, BoxY1, BoxX2, BoxY2, Aux1 .. Aux4, each
// rounded half to even (17 numbers).
void AppendGeometryToHistory(THistoryData& data, std::int32_t index, const TDateRec& r);

}  // namespace tarvek
