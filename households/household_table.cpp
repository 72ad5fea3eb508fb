#include "households/household_table.h"

#include "document/drawing_state.h"
#include "document/view_settings.h"
#include "platform/textfile.h"

#include <algorithm>
#include <string_view>

namespace tarvek {

// The view lines keep one width for each column of the household grids.
static_assert(HouseholdGridColumns == HouseholdColumns);

const std::array<const char*, HouseholdColumns> HouseholdHeaders = {
    "檀家ID", "檀家､屋号名", "現世帯主", "地区名", "住所１", "住所２", "電話番号", "地区ID", "檀家備考"};


THouseholdRow ParseHouseholdLine(const std::string& line) {
    THouseholdRow row;
    // Each field's double quotes become blanks and the blanks round it go: the field is
    // cut to what lies between, without a string of its own on the way.
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32 || c == '"'; };
    const std::string_view text = line;
    std::size_t start = 0;
    for (int c = 0; c < HouseholdColumns && start <= text.size(); ++c) {
        std::size_t comma = text.find(',', start);
        if (comma == std::string_view::npos) comma = text.size();
        std::size_t b = start, e = comma;
        while (b < e && blank(text[b])) ++b;
        while (e > b && blank(text[e - 1])) --e;
        std::string& field = row[static_cast<std::size_t>(c)];
        field.assign(text.substr(b, e - b));
        for (char& ch : field)
            if (ch == '"') ch = ' ';
        start = comma + 1;
    }
    std::string& id = row[0];
    if (CharCount(id) < 6) id.insert(0, 6 - CharCount(id), '0');
    return row;
}

void LoadHouseholdTable(TDrawingState& s) {
    s.Households.clear();
    // Line by line from the file's bytes: a ledger exports thousands of households.
    std::string bytes;
    const TFileResult read = ReadTextBytes(s.ExeFolder + HouseholdTableFileName, bytes);
    if (read.Status == TFileStatus::NotFound) {
        s.Households.push_back(ParseHouseholdLine(
            "\"888888\",\"テーブルリンク\",\"失敗  \",\"不明\",\"不明\",\"不明\",\"北浜県\",\"西原郡若葉町\",\"00-****\""));
        return;
    }
    std::size_t pos = 0;
    std::string_view lineBytes;
    if (!read || !NextLine(bytes, pos, lineBytes)) {
        // A table without a single household is not a ledger export.
        s.StartupError = 1;
        s.Ui.Beep();
        return;
    }
    s.Households.reserve(static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1);
    std::string line;
    do {
        Cp932ToUtf8(lineBytes, line);
        s.Households.push_back(ParseHouseholdLine(line));
    } while (NextLine(bytes, pos, lineBytes));
}

void CopyHouseholdNames(TDateRec& r, const THouseholdRow& row) {
    r.Text = row[0];
    r.HouseName = row[1];
    r.HeadName = row[2];
    r.DistrictName = row[3];
    r.Address1 = row[4];
    r.Address2 = row[5];
    r.Phone = row[6];
}

}  // namespace tarvek
