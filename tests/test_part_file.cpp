// Part files without a window: the parts folder, parsing every layout a part can come in,
// and appending a part to a drawing with its keys, links, step and change list.
#include <gtest/gtest.h>

#include <functional>

#include "document/drawing_file.h"
#include "document/figure_store.h"
#include "document/part_file.h"
#include "households/ledger_exchange.h"
#include "test_support.h"

namespace tarvek {
namespace {

using testing::TTempFolder;

struct TLedgerOn : TLedgerView {
    bool RealTimeReflection() const override { return true; }
    void SetRealTimeReflection(bool) override {}
};

// One version-4 record as a file holds it; font empty: the 24-line record of old parts.
std::vector<std::string> Rec4(int kind, std::array<const char*, 8> pts, const std::string& text, int key,
                              const char* setAside, int share, int owner, const char* isPlot, const char* font) {
    std::vector<std::string> r{std::to_string(kind), pts[0], pts[1], pts[2], pts[3], text, "255", "7321527",
                               std::to_string(key), pts[4], pts[5], pts[6], pts[7], "1", "0", "0", "0",
                               setAside, std::to_string(share), std::to_string(owner), "2", "1", "0", isPlot};
    if (*font) r.push_back(font);
    return r;
}

// A line and a plot in a group, and a text whose link names no record of the part.
TLines HandMadePart(bool fontLine) {
    const char* font = fontLine ? "ＭＳ ゴシック" : "";
    TLines lines{"Ver4.00"};
    for (const auto& r : {Rec4(1, {"0", "0", "0", "0", "100", "50", "100", "50"}, "0", 0, "0", 0, 3, "0", font),
                          Rec4(11000, {"0", "0", "4000", "0", "4000", "3000", "0", "3000"}, "000123", 55, "-1", 9, 3, "-1", font),
                          Rec4(30, {"0", "0", "4000", "0", "4000", "3000", "0", "3000"}, "0", 0, "0", 0, 0, "0", font),
                          Rec4(22, {"10", "10", "200", "10", "200", "40", "10", "40"}, "山門", 0, "0", 0, 9, "0", font)})
        lines.insert(lines.end(), r.begin(), r.end());
    lines.push_back("endofdata");
    return lines;
}

TLines Fixture(const std::string& name) {
    TLines lines;
    EXPECT_TRUE(ReadTextLines(testing::FixturePath(name), lines));
    return lines;
}

class PartLoading : public ::testing::Test {
protected:
    PartLoading() : S(Ui) {
        testing::PointAtDrawing(S, Dir.Folder(), "寺", "厨子", "図面1");
        S.CurFontName = "既定明朝";
        // A drawing of 100 lines, one of them selected, whose largest plot key is 500.
        for (std::int32_t i = 1; i <= 100; ++i) {
            ApplyNewFigureDefaults(S, S.Fig(i));
            S.Fig(i).Kind = fkLine;
        }
        S.FigureCount = 100;
        S.MaxPlotId = 500;
        S.Fig(5).Selected = 1;
        S.SelectedList = {0, 5};
        S.SelectedCount = 1;
    }

    TLines ReturnLines() const {
        TLines lines;
        ReadTextLines(LedgerReturnFile(S), lines);
        return lines;
    }

    TTempFolder Dir;
    TScriptedUi Ui;
    TDrawingState S;
    TLedgerOn Ledger;
};

struct TPointCheck {
    int Record;  // 1-based within the part
    std::array<double, 8> Points;
};

struct TLoadCase {
    const char* Name;
    std::function<TLines()> Lines;
    const char* FileName;
    std::vector<std::int32_t> Kinds;
    std::vector<std::int32_t> Owners;   // after the shift
    std::vector<std::int32_t> PlotIds;  // 0 for figures
    std::vector<std::string> Texts;
    std::vector<TPointCheck> Points;
    const char* Font;  // of every record; nullptr: not checked
    bool OneGroup;
};

TEST_F(PartLoading, EveryLayoutLandsSelectedWithNewKeysLinksAndOneStep) {
    const std::vector<TLoadCase> cases = {
        {"registered part", [] { return HandMadePart(true); }, "部品.bbh", {1, 11000, 30, 22}, {103, 103, 0, 0},
         {0, 501, 0, 0}, {"0", "0", "0", "山門"}, {{1, {0, 0, 0, 0, 100, 50, 100, 50}}}, "ＭＳ ゴシック", true},
        // Windows names ignore case: upper case is still a part with font lines.
        {"upper-case name", [] { return HandMadePart(true); }, "PART.BBH", {1, 11000, 30, 22}, {103, 103, 0, 0},
         {0, 501, 0, 0}, {"0", "0", "0", "山門"}, {}, "ＭＳ ゴシック", true},
        {"old part without fonts", [] { return HandMadePart(false); }, "古い部品.bhn", {1, 11000, 30, 22},
         {103, 103, 0, 0}, {0, 501, 0, 0}, {"0", "0", "0", "山門"}, {}, "既定明朝", true},
        // A whole drawing: its view section is not read; links to no parent become 0.
        {"drawing data file", [] { return Fixture("ver4_data.txt"); }, "寺厨子図面2_data.txt",
         {11000, 11000, 11000, 22, 30, 22, 3}, {0, 0, 0, 105, 0, 0, 0}, {501, 502, 0, 0, 0, 0, 0},
         {"0", "0", "0", "<form_data>", "0", "～－髙①\ue000ｱ\\", "0"},
         {{1, {0, 0, 4000.5, 0, 4000.5, 3000.25, 0, 3000.25}}}, nullptr, false},
        // Only kind 11000 becomes a plot: kind 11, which is never drawn, stays as read,
        // without a key, and the ledger hears nothing of it.
        {"version 2", [] { return Fixture("ver2_data.txt"); }, "v2_data.txt", {1, 11, 22, 3}, {0, 0, 0, 0},
         {0, 0, 0, 0}, {"右上", "000031", "山門", "0"},
         {{1, {100, 0, 100, 0, 0, 50, 0, 50}}, {3, {0, 0, 10, 0, 10, 90, 0, 90}}, {4, {0, 0, 50, 50, 50, 50, 0, 50}}},
         "既定明朝", false},
        {"version 3", [] { return Fixture("ver3_data.txt"); }, "v3_data.txt", {22, 11000, 11000, 1}, {0, 0, 0, 0},
         {0, 501, 502, 0}, {"鐘楼", "0", "0", "左上"},
         {{1, {0, 0, 0, 0, 0, 500, 0, 500}}, {4, {0, 0, 0, 0, 100, 50, 100, 50}}}, "既定明朝", false},
        // No kind conversion for parts: kinds 11, 3 and 2 stay as read.
        {"unversioned", [] { return Fixture("unversioned_data.txt"); }, "old_data.txt", {11, 3, 1, 22, 2, 11},
         {0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}, {"000012", "0", "左上", "本堂", "", "0"},
         {{1, {0, 0, 10000, 5000, 0, 0, 0, 0}}, {3, {0, 0, 0, 0, 100, 50, 100, 50}}}, "既定明朝", false},
    };
    for (const TLoadCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TTempFolder dir;
        TScriptedUi ui;
        TDrawingState s(ui);
        testing::PointAtDrawing(s, dir.Folder(), "寺", "厨子", "図面1");
        s.CurFontName = S.CurFontName;
        for (std::int32_t i = 1; i <= 100; ++i) s.Fig(i) = S.Fig(i);
        s.FigureCount = 100;
        s.MaxPlotId = 500;
        s.Fig(5).Selected = 1;
        s.SelectedList = {0, 5};
        s.SelectedCount = 1;

        const TPartRecords parsed = ParsePartLines(c.Lines(), c.FileName, s.CurFontName);
        ASSERT_TRUE(parsed.ok()) << static_cast<int>(parsed.Error) << " at " << parsed.BadRecord;
        const TPartAppendResult added = AppendPartRecords(s, Ledger, parsed.Records);

        const auto n = static_cast<std::int32_t>(c.Kinds.size());
        ASSERT_EQ(added.Added, n);
        ASSERT_EQ(s.FigureCount, 100 + n);
        EXPECT_EQ(added.OneGroup, c.OneGroup);
        EXPECT_EQ(s.Fig(5).Selected, 0) << "the former selection is cleared";
        EXPECT_EQ(s.SelectedCount, n);
        TLines expectedReturn{ChangeRecordHeader(VerbAdded)};
        for (std::int32_t k = 1; k <= n; ++k) {
            SCOPED_TRACE("record " + std::to_string(k));
            const std::size_t e = static_cast<std::size_t>(k - 1);
            const TDateRec& r = s.Fig(100 + k);
            EXPECT_EQ(r.Kind, c.Kinds[e]);
            EXPECT_EQ(r.OwnerIndex, c.Owners[e]);
            EXPECT_EQ(r.PlotId, c.PlotIds[e]);
            EXPECT_EQ(r.Text, c.Texts[e]);
            EXPECT_EQ(r.Selected, 1);
            EXPECT_EQ(r.SetAside, 0);
            EXPECT_EQ(r.ShareSetId, 0);
            EXPECT_EQ(r.PlotNumber, "000000");
            EXPECT_EQ(r.HouseName, "空");
            EXPECT_EQ(r.DrawingName, "図面1");
            EXPECT_EQ(s.SelectedList[static_cast<std::size_t>(k)], 100 + k);
            if (c.Font) {
                EXPECT_EQ(r.FontName, c.Font);
            }
            EXPECT_DOUBLE_EQ(r.BoxX2, std::max({r.X1, r.X2, r.X3, r.X4}));
            if (c.PlotIds[e] > 0) expectedReturn.push_back(std::to_string(c.PlotIds[e]) + ",0,000000,,,0,0,図面1");
        }
        for (const TPointCheck& p : c.Points) {
            const TDateRec& r = s.Fig(100 + p.Record);
            EXPECT_EQ((std::array<double, 8>{r.X1, r.Y1, r.X2, r.Y2, r.X3, r.Y3, r.X4, r.Y4}), p.Points)
                << "points of record " << p.Record;
        }
        const std::int32_t plots = static_cast<std::int32_t>(expectedReturn.size()) - 1;
        EXPECT_EQ(s.MaxPlotId, 500 + plots);
        if (plots > 0) {
            TLines sent;
            ASSERT_TRUE(ReadTextLines(LedgerReturnFile(s), sent));
            EXPECT_EQ(sent, expectedReturn);
        } else {
            EXPECT_FALSE(FileExists(LedgerReturnFile(s))) << "no plot, no list";
        }
        EXPECT_EQ(s.LedgerUnchanged, plots > 0 ? 0 : 1);
        EXPECT_EQ(s.DrawingUnchanged, 0);
        // The step holds the count and the records announced to the ledger; the selection
        // step of the cleared selection lies below it.
        ASSERT_GE(s.HistoryCount, 2);
        EXPECT_EQ(s.History[static_cast<std::size_t>(s.HistoryCount)].Label, PartLoadStepLabel);
        const THistoryData& step = s.History[static_cast<std::size_t>(s.HistoryCount)].Data;
        ASSERT_EQ(step.Size(), 1u + static_cast<std::size_t>(plots));
        EXPECT_EQ(*step.Number(0), n);
        for (std::size_t k = 1; k < step.Size(); ++k)
            EXPECT_EQ(PlotExchangeLine(s, static_cast<std::int32_t>(*step.Number(k))), expectedReturn[k]);
        EXPECT_EQ(s.History[static_cast<std::size_t>(s.HistoryCount - 1)].Label, "選択");
        EXPECT_TRUE(ui.Shown.empty());
    }
}

TEST_F(PartLoading, PiecesOfACompoundPlotShareTheirParentsNewKey) {
    TLines lines{"Ver4.00"};
    for (const auto& r : {Rec4(77, {"0", "0", "0", "0", "10", "0", "10", "0"}, "0", 7, "0", 0, 3, "-1", "F"),
                          Rec4(77, {"10", "0", "10", "0", "0", "10", "0", "10"}, "0", 7, "0", 0, 3, "-1", "F"),
                          Rec4(31, {"0", "0", "10", "0", "10", "10", "0", "10"}, "0", 7, "0", 0, 0, "-1", "F")})
        lines.insert(lines.end(), r.begin(), r.end());
    lines.push_back("endofdata");
    const TPartRecords parsed = ParsePartLines(lines, "p.bbh", S.CurFontName);
    ASSERT_TRUE(parsed.ok());
    ASSERT_EQ(AppendPartRecords(S, Ledger, parsed.Records).Added, 3);
    EXPECT_EQ(S.Fig(101).PlotId, 501);
    EXPECT_EQ(S.Fig(102).PlotId, 501);
    EXPECT_EQ(S.Fig(103).PlotId, 501);
    EXPECT_EQ(S.MaxPlotId, 501);
    EXPECT_EQ(ReturnLines(), (TLines{ChangeRecordHeader(VerbAdded), "501,0,000000,,,0,0,図面1"}));
}

TEST(PartParsing, ACutOrUnreadableFileGivesNoRecordsAndNamesTheRecord) {
    const TLines good = HandMadePart(true);
    TLines cut(good.begin(), good.begin() + 1 + 25 * 2 + 7);
    TLines bad = good;
    bad[1 + 25 + 3] = "abc";  // the second record's X2
    TLines noEnd(good.begin(), good.end() - 1);
    struct TCase {
        const char* Name;
        TLines Lines;
        TPartReadError Error;
        std::int32_t Record;
    };
    for (const TCase& c : {TCase{"cut in the third record", cut, TPartReadError::Cut, 3},
                           TCase{"a coordinate that is no number", bad, TPartReadError::BadValue, 2},
                           TCase{"no end marker", noEnd, TPartReadError::Cut, 5},
                           TCase{"empty file", {}, TPartReadError::Cut, 1}}) {
        const TPartRecords parsed = ParsePartLines(c.Lines, "/部品/p.bbh", "F");
        EXPECT_EQ(parsed.Error, c.Error) << c.Name;
        EXPECT_EQ(parsed.BadRecord, c.Record) << c.Name;
        EXPECT_TRUE(parsed.Records.empty()) << c.Name;
        EXPECT_NE(PartReadErrorMessage("/部品/p.bbh", parsed).find("/部品/p.bbh"), std::string::npos) << c.Name;
    }
    // A part read as 24-line records would shift every record after the first.
    EXPECT_FALSE(ParsePartLines(good, "p.bhn", "F").ok());
}

TEST_F(PartLoading, AFullStoreRefusesThePartWhole) {
    S.FigureCount = MaxFigures - 2;  // room for one more record, not for four
    const TPartRecords parsed = ParsePartLines(HandMadePart(true), "p.bbh", "F");
    const TPartAppendResult added = AppendPartRecords(S, Ledger, parsed.Records);
    EXPECT_EQ(added.Added, 0);
    EXPECT_EQ(S.FigureCount, MaxFigures - 2);
    EXPECT_EQ(S.MaxPlotId, 500);
    EXPECT_FALSE(FileExists(LedgerReturnFile(S)));
    ASSERT_EQ(Ui.Shown.size(), 1u);
    EXPECT_EQ(Ui.Shown[0].Text, StoreFullMessage);
    EXPECT_NE(S.History[static_cast<std::size_t>(S.HistoryCount)].Label, PartLoadStepLabel);
}

TEST_F(PartLoading, AFullStoreIsCompactedFirstAndTheLinksFollowTheNewCount) {
    S.FigureCount = MaxFigures - 2;
    for (std::int32_t i = 10; i < 20; ++i) S.Fig(i).Deleted = 1;  // ten slots to win back
    const TPartRecords parsed = ParsePartLines(HandMadePart(true), "p.bbh", "F");
    const TPartAppendResult added = AppendPartRecords(S, Ledger, parsed.Records);
    const std::int32_t former = MaxFigures - 2 - 10;
    ASSERT_EQ(added.Added, 4);
    EXPECT_EQ(S.FigureCount, former + 4);
    EXPECT_EQ(S.Fig(former + 1).OwnerIndex, former + 3);
    EXPECT_EQ(S.Fig(former + 2).OwnerIndex, former + 3);
    EXPECT_EQ(S.Fig(former + 3).Kind, fkGroup);
    EXPECT_EQ(S.History[static_cast<std::size_t>(S.HistoryCount)].Data.Fields,
              (std::vector<THistoryField>{std::int64_t{4}, std::int64_t{former + 2}}));
    EXPECT_TRUE(Ui.Shown.empty());
}

TEST(PartsFolder, BesideTheProgramFolderWhenItExists) {
    TTempFolder dir;
    TScriptedUi ui;
    TDrawingState s(ui);
    s.ExeFolder = dir.File("プログラム") + "/";
    EXPECT_EQ(PartsFolder(s), dir.Path.string() + "/ゼルボデータ/部品/");
    EXPECT_EQ(PartDialogFolder(s), s.ExeFolder);
    std::filesystem::create_directories(dir.Path / "ゼルボデータ" / "部品");
    EXPECT_EQ(PartDialogFolder(s), PartsFolder(s));
}

}  // namespace
}  // namespace tarvek
