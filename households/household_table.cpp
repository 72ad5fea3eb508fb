#include "households/household_table.h"

#include "document/drawing_state.h"
#include "platform/textfile.h"

namespace tarvek {

const std::array<const char*, HouseholdColumns> HouseholdHeaders = {
    "檀家ID", "檀家､屋号名", "現世帯主", "地区名", "住所１", "住所２", "電話番号", "地区ID", "檀家備考"};
const std::array<int, HouseholdColumns> HouseholdColumnWidths = {55, 85, 85, 60, 90, 150, 60, 0, 280};

namespace {

std::string TrimBlanks(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= 32) ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32) --e;
    return s.substr(b, e - b);
}

}  // namespace

THouseholdRow ParseHouseholdLine(const std::string& line) {
    THouseholdRow row;
    std::size_t start = 0;
    for (int c = 0; c < HouseholdColumns && start <= line.size(); ++c) {
        std::size_t comma = line.find(',', start);
        if (comma == std::string::npos) comma = line.size();
        std::string field = line.substr(start, comma - start);
        for (char& ch : field)
            if (ch == '"') ch = ' ';
        row[static_cast<std::size_t>(c)] = TrimBlanks(field);
        start = comma + 1;
    }
    std::string& id = row[0];
    if (CharCount(id) < 6) id.insert(0, 6 - CharCount(id), '0');
    return row;
}

void LoadHouseholdTable(TDrawingState& s) {
    s.Households.clear();
    TLines lines;
    const TFileResult read = ReadTextLines(s.ExeFolder + HouseholdTableFileName, lines);
    if (read.Status == TFileStatus::NotFound) {
        lines = {"\"888888\",\"テーブルリンク\",\"失敗  \",\"不明\",\"不明\",\"不明\",\"北浜県\",\"西原郡若葉町\",\"00-****\""};
    } else if (!read || lines.empty()) {
        // A table without a single household is not a ledger export.
        s.StartupError = 1;
        s.Ui.Beep();
        return;
    }
    s.Households.reserve(lines.size());
    for (const std::string& line : lines) s.Households.push_back(ParseHouseholdLine(line));
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
