#include "bench/large_temple.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <memory>
#include <random>

#include "document/drawing_file.h"
#include "document/drawing_state.h"
#include "document/startup.h"
#include "households/handover.h"
#include "households/household_table.h"
#include "platform/numbers.h"
#include "platform/ui_services.h"

namespace tarvek::bench {

namespace {

constexpr std::uint32_t Seed = 20240601u;

// Own mapping of the raw engine output: the engine's sequence is fixed by the standard,
// the library distributions are not, so the temple is the same everywhere.
class TGen {
public:
    explicit TGen(std::uint32_t seed) : Engine(seed) {}
    std::uint32_t Below(std::uint32_t n) { return static_cast<std::uint32_t>(Engine() % n); }
    double Unit() { return static_cast<double>(Engine()) / 4294967296.0; }
    // Millimetres with three decimals, like coordinates entered on a real drawing.
    double Coord(double lo, double hi) { return std::round((lo + (hi - lo) * Unit()) * 1000.0) / 1000.0; }

private:
    std::mt19937 Engine;
};

const char* const Surnames[] = {"西村", "田村", "石井", "菊地", "工藤", "大塚", "小野", "佐藤", "鈴木", "高橋",
                                "渡辺", "伊藤", "山本", "中村", "小林", "加藤", "吉田", "山田", "佐々木", "松本"};
const char* const GivenNames[] = {"良一", "誠", "敏夫", "忠雄", "豊", "正人", "一郎", "花子", "進", "和子",
                                  "博", "清", "茂", "美代子", "勝", "實"};
const char* const Districts[] = {"中通", "新田", "宮前", "県外", "東町", "川原", "若葉台", "本郷"};
const char* const AreaTexts[] = {
    "東区画　第３列", "西区画　第１２列", "南区画　第７列", "北区画　第２０列",
    "管理事務所", "水汲み場", "参道入口", "駐車場（第二）", "合葬墓", "休憩所",
};

struct THousehold {
    std::string Id, House, Head, District, Address1, Address2, Phone, DistrictId, Remark;
};

std::vector<THousehold> MakeHouseholds() {
    TGen g(Seed + 1);
    std::vector<THousehold> rows;
    rows.reserve(HouseholdTotal);
    for (int n = 1; n <= HouseholdTotal; ++n) {
        THousehold h;
        char id[8];
        std::snprintf(id, sizeof id, "%06d", n);
        h.Id = id;
        const std::string surname = Surnames[g.Below(std::size(Surnames))];
        h.House = surname + "家";
        h.Head = surname + "　" + GivenNames[g.Below(std::size(GivenNames))];
        const std::uint32_t d = g.Below(std::size(Districts));
        h.District = Districts[d];
        h.Address1 = d == 3 ? "東峰県高森市本郷" : "北浜県西原郡若葉町";
        h.Address2 = h.District + IntToStr(1 + g.Below(5)) + "-" + IntToStr(1 + g.Below(20)) + "-" +
                     IntToStr(1 + g.Below(30));
        char phone[16];
        std::snprintf(phone, sizeof phone, "0123-%02u-%04u", g.Below(100), g.Below(10000));
        h.Phone = phone;
        h.DistrictId = IntToStr(d + 1);
        h.Remark = g.Below(10) == 0 ? "世話人" : "";
        rows.push_back(std::move(h));
    }
    return rows;
}

const std::vector<THousehold>& Households() {
    static const std::vector<THousehold> rows = MakeHouseholds();
    return rows;
}

void SetCorners(TDateRec& r, double x1, double y1, double x2, double y2) {
    r.X1 = x1, r.Y1 = y1;
    r.X2 = x2, r.Y2 = y1;
    r.X3 = x2, r.Y3 = y2;
    r.X4 = x1, r.Y4 = y2;
}

void SetBox(TDateRec& r) {
    r.BoxX1 = std::min({r.X1, r.X2, r.X3, r.X4});
    r.BoxX2 = std::max({r.X1, r.X2, r.X3, r.X4});
    r.BoxY1 = std::min({r.Y1, r.Y2, r.Y3, r.Y4});
    r.BoxY2 = std::max({r.Y1, r.Y2, r.Y3, r.Y4});
}

TDateRec BaseRecord(std::int32_t kind) {
    TDateRec r;
    r.Kind = kind;
    r.Text = "0";
    r.PenColor = 0;
    r.BrushColor = 7321527;
    r.PenWidth = 1;
    r.PenStyle = 0;
    r.BrushStyle = 1;
    r.FontName = "ＭＳ 明朝";
    r.DrawingName = DrawingName;
    return r;
}

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

}  // namespace

TLines HouseholdLines() {
    TLines lines;
    for (const THousehold& h : Households())
        lines.push_back(Quoted(h.Id) + "," + Quoted(h.House) + "," + Quoted(h.Head) + "," + Quoted(h.District) + "," +
                        Quoted(h.Address1) + "," + Quoted(h.Address2) + "," + Quoted(h.Phone) + "," +
                        Quoted(h.DistrictId) + "," + Quoted(h.Remark));
    return lines;
}

std::vector<TDateRec> MakeRecords() {
    TGen g(Seed);
    std::vector<TDateRec> recs(1);
    recs.reserve(FigureTotal + 1);
    std::int32_t plotId = 0;
    int groups = 0;
    int lot = 0;
    const auto& households = Households();
    while (static_cast<std::int32_t>(recs.size()) <= FigureTotal) {
        const std::int32_t room = FigureTotal + 1 - static_cast<std::int32_t>(recs.size());
        const std::uint32_t pick = g.Below(1000);
        if (pick < 860) {  // plot
            TDateRec r = BaseRecord(fkPlot);
            r.IsPlot = 1;
            r.PlotId = ++plotId;
            const double x = (lot % LotsPerRow) * LotWidth + g.Coord(0, 300);
            const double y = (lot / LotsPerRow) * LotHeight + g.Coord(0, 300);
            ++lot;
            SetCorners(r, x, y, x + g.Coord(1800, 2200), y + g.Coord(2500, 3000));
            char number[16];
            std::snprintf(number, sizeof number, "%d-%02d", lot / LotsPerRow + 1, lot % LotsPerRow + 1);
            r.PlotNumber = number;
            r.Grade = g.Below(4) == 0 ? "特等" : "一般";
            r.SourceIndex = -1;
            if (g.Below(10) < 7) {
                const THousehold& h = households[g.Below(HouseholdTotal)];
                r.Text = h.Id;
                r.HouseName = h.House;
                r.HeadName = h.Head;
                r.DistrictName = h.District;
                r.Address1 = h.Address1;
                r.Address2 = h.Address2;
                r.Phone = h.Phone;
                r.DistrictId = static_cast<std::int32_t>(StrToInt(h.DistrictId).value_or(0));
            }
            recs.push_back(std::move(r));
        } else if (pick < 920) {  // line
            TDateRec r = BaseRecord(fkLine);
            const double x = g.Coord(0, 450000), y = g.Coord(0, 600000);
            SetCorners(r, x, y, x + g.Coord(-20000, 20000), y + g.Coord(-20000, 20000));
            // A line runs from point 1 to point 3; points 2 and 4 repeat its ends.
            r.X2 = r.X1, r.Y2 = r.Y1, r.X4 = r.X3, r.Y4 = r.Y3;
            recs.push_back(std::move(r));
        } else if (pick < 965) {  // text
            TDateRec r = BaseRecord(fkText);
            r.Text = AreaTexts[g.Below(std::size(AreaTexts))];
            const double x = g.Coord(0, 450000), y = g.Coord(0, 600000);
            SetCorners(r, x, y, x + g.Coord(3000, 9000), y + g.Coord(500, 900));
            r.Aux1 = 1.0;
            recs.push_back(std::move(r));
        } else if (pick < 995 || groups >= 40 || room < 8) {  // rectangle
            TDateRec r = BaseRecord(fkRectangle);
            const double x = g.Coord(0, 450000), y = g.Coord(0, 600000);
            SetCorners(r, x, y, x + g.Coord(1000, 15000), y + g.Coord(1000, 15000));
            r.BrushStyle = static_cast<std::int32_t>(g.Below(2));
            recs.push_back(std::move(r));
        } else {  // a group: its record, then members pointing at it
            ++groups;
            const std::int32_t owner = static_cast<std::int32_t>(recs.size());
            const double x = g.Coord(0, 450000), y = g.Coord(0, 600000);
            TDateRec head = BaseRecord(fkGroup);
            SetCorners(head, x, y, x + 10000.0, y + 10000.0);
            recs.push_back(std::move(head));
            const int members = 3 + static_cast<int>(g.Below(5));
            for (int m = 0; m < members; ++m) {
                TDateRec r = BaseRecord(m % 2 == 0 ? fkRectangle : fkLine);
                const double mx = x + g.Coord(0, 8000), my = y + g.Coord(0, 8000);
                SetCorners(r, mx, my, mx + g.Coord(100, 2000), my + g.Coord(100, 2000));
                r.OwnerIndex = owner;
                recs.push_back(std::move(r));
            }
        }
    }
    for (std::size_t i = 1; i < recs.size(); ++i) SetBox(recs[i]);
    return recs;
}

TFigureCounts CountFigures(const std::vector<TDateRec>& records) {
    TFigureCounts n;
    for (std::size_t i = 1; i < records.size(); ++i) {
        const TDateRec& r = records[i];
        if (r.OwnerIndex > 0) ++n.Members;
        switch (r.Kind) {
        case fkPlot:
            ++n.Plots;
            if (r.Text != "0") ++n.Owned;
            break;
        case fkLine: ++n.Lines; break;
        case fkText: ++n.Texts; break;
        case fkRectangle: ++n.Rectangles; break;
        case fkGroup: ++n.Groups; break;
        default: break;
        }
    }
    return n;
}

bool WriteProgramFolder(const std::string& folder, const std::vector<TDateRec>& records, const TOpenView& view) {
    TScriptedUi ui;
    auto s = std::make_unique<TDrawingState>(ui);
    s->ExeFolder = folder;
    s->TempleName = Temple;
    s->PlotKindWord = PlotWord;
    s->CurrentDrawingName = DrawingName;
    for (std::size_t i = 1; i < records.size(); ++i) s->Fig(static_cast<std::int32_t>(i)) = records[i];
    s->FigureCount = static_cast<std::int32_t>(records.size() - 1);
    s->Zoom = view.Zoom;
    s->View.FormLeft = 0;
    s->View.FormTop = 0;
    s->View.FormWidth = view.FormWidth;
    s->View.FormHeight = view.FormHeight;
    s->View.PaintWidth = static_cast<std::int32_t>(450000LL * view.Zoom / 1000 + 100);
    s->View.PaintHeight = static_cast<std::int32_t>(600000LL * view.Zoom / 1000 + 100);
    s->View.ScrollX = view.ScrollX;
    s->View.ScrollY = view.ScrollY;
    if (!SaveDrawingFile(*s, DrawingName).File) return false;
    if (!WriteTextLines(folder + HouseholdTableFileName, HouseholdLines())) return false;
    TLines handover;
    for (std::size_t i = 1; i < records.size(); ++i) {
        const TDateRec& r = records[i];
        if (!IsPlotRecord(r)) continue;
        handover.push_back(IntToStr(r.PlotId) + "," + IntToStr(StrToInt(r.Text).value_or(0)) + "," +
                           Quoted(r.PlotNumber) + "," + Quoted(r.PlotRemarks) + "," + Quoted(r.Grade) + ",-1," +
                           IntToStr(r.DistrictId) + "," + Quoted(DrawingName));
    }
    if (!WriteTextLines(folder + HandoverCsvFileName, handover)) return false;
    const std::string request = Quoted(PlotWord) + "," + Quoted("") + "," + Quoted("") + "," + Quoted(Temple) + "," +
                                Quoted("") + "," + Quoted(DrawingName);
    return static_cast<bool>(WriteTextLines(folder + SelectedDrawingFileName, {request}));
}

}  // namespace tarvek::bench
