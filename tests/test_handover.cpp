// The hand-over file on a small drawing without a form: what is written, and how the
// ledger's list is merged into the plots at start-up.
#include <gtest/gtest.h>

#include <functional>

#include "document/drawing_state.h"
#include "document/startup.h"
#include "households/handover.h"
#include "test_support.h"

namespace tarvek {
namespace {

using testing::ReadBytes;
using testing::TTempFolder;
using testing::WriteBytes;

const std::vector<THouseholdRow> Households{
    {"000012", "山田家", "山田　太郎", "北区", "北浜県若葉町", "1-2", "0123", "5", "総代"},
    {"000034", "森家", "森　一郎", "南区", "西原郡北町", "3-4", "0789", "7", ""},
};

class HandoverMerge : public ::testing::Test {
protected:
    HandoverMerge() : S(Ui) {
        S.ExeFolder = Dir.Folder();
        S.Households = Households;
        S.CurrentDrawingName = "図面1";
        S.CurPenColor = 255, S.CurBrushColor = 7321527, S.CurPenWidth = 2, S.CurBrushStyle = 0;
        S.CurFontName = "ＭＳ ゴシック";
        Plot = Add(fkPlot, 5, 0, 0);
        Unlisted = Add(fkPlot, 6, 5000, 0);
        OldPlot = Add(fkOldPlot, 8, 10000, 0);
        Converted = Add(fkRectangle, 7, 15000, 0);
        S.Fig(Converted).IsPlot = 1;
        Label = Add(fkText, 0, 20000, 0);  // no plot id: a line for 0 must not reach it
        S.Fig(Label).Text = "本堂";
        Line = Add(fkLine, 9, 0, 20000);  // a stale id on a figure that is no plot
        S.Fig(Line).X3 = S.Fig(Line).X4 = 30000, S.Fig(Line).Y3 = S.Fig(Line).Y4 = 25000;
        S.MaxPlotId = 8;
    }

    std::int32_t Add(std::int32_t kind, std::int32_t plotId, double x, double y) {
        const std::int32_t i = ++S.FigureCount;
        TDateRec& r = S.Fig(i);
        r.Kind = kind;
        r.IsPlot = kind == fkPlot;
        r.PlotId = plotId;
        r.Text = "0";
        r.X1 = r.X4 = x, r.X2 = r.X3 = x + 4000;
        r.Y1 = r.Y2 = y, r.Y3 = r.Y4 = y + 3000;
        return i;
    }

    void WriteLedgerFile(const TLines& lines) { ASSERT_TRUE(WriteTextLines(Dir.File(HandoverCsvFileName), lines)); }
    bool Merge() { return ReadHandoverCsv(S, Grades); }

    TTempFolder Dir;
    TScriptedUi Ui;
    TDrawingState S;
    std::vector<std::string> Grades{"特等"};
    std::int32_t Plot, Unlisted, OldPlot, Converted, Label, Line;
};

TEST_F(HandoverMerge, TheLedgerListIsTheMasterOfThePlots) {
    WriteLedgerFile({
        "5,12,\"北1\",\"墓誌あり\",\"一等\",-1,4,\"本堂裏\"",
        "0,34,\"x\",\"x\",\"零\",-1,0,\"x\"",
        "-999,-999,,,,-999,-999,変更",
        "9,34,\"東1\",\"\",\"二等\",-1,7,\"本堂裏\"",
        "20,777,\"東2\",\"\",\"一等\",-1,3,\"本堂裏\"",
        "9,34,\"東1\",\"\",\"特等\",-1,7,\"本堂裏\"",
    });
    S.Zoom = 8;  // the gap between new plots is screen pixels at the zoom in force
    S.BlockGapX = 3;
    ASSERT_TRUE(Merge());
    EXPECT_EQ(S.StartupError, 0);
    EXPECT_EQ(Ui.Beeps, 0);
    EXPECT_EQ(S.StartupErrorMessage, HandoverStageMessage);

    // 12 in the file is the table's 000012; the district stays the ledger's.
    const TDateRec& p = S.Fig(Plot);
    EXPECT_EQ(p.Deleted, 0);
    EXPECT_EQ(p.Text, "000012");
    EXPECT_EQ(p.HouseName, "山田家");
    EXPECT_EQ(p.HeadName, "山田　太郎");
    EXPECT_EQ(p.DistrictName, "北区");
    EXPECT_EQ(p.Address1, "北浜県若葉町");
    EXPECT_EQ(p.Address2, "1-2");
    EXPECT_EQ(p.Phone, "0123");
    EXPECT_EQ(p.DistrictId, 4);
    EXPECT_EQ(p.PlotNumber, "北1");
    EXPECT_EQ(p.PlotRemarks, "墓誌あり");
    EXPECT_EQ(p.Grade, "一等");
    EXPECT_EQ(p.SourceIndex, -1);
    EXPECT_EQ(p.DrawingName, "本堂裏");

    // Unlisted plots of kinds 11000 and 11 go; a figure turned into a plot stays.
    EXPECT_EQ(S.Fig(Unlisted).Deleted, 1);
    EXPECT_EQ(S.Fig(OldPlot).Deleted, 1);
    EXPECT_EQ(S.Fig(Converted).Deleted, 0);
    // Id 0 and the header line reach nothing; a figure that is no plot is never a plot's line.
    EXPECT_EQ(S.Fig(Label).Text, "本堂");
    EXPECT_EQ(S.Fig(Line).Text, "0");
    EXPECT_EQ(S.Fig(Line).Grade, "");

    // Ids 9 and 20 get new plots side by side from the largest X2 and the largest Y2 of
    // the drawing (the line's far end reaches further, but is its point 3); the second
    // line for 9 updates the plot the first one made.
    ASSERT_EQ(S.FigureCount, 8);
    const TDateRec& a = S.Fig(7);
    const TDateRec& b = S.Fig(8);
    EXPECT_EQ(a.PlotId, 9);
    EXPECT_EQ(b.PlotId, 20);
    EXPECT_EQ(S.MaxPlotId, 20);
    EXPECT_EQ(a.Grade, "特等");
    EXPECT_EQ(a.Text, "000034");
    EXPECT_EQ(a.HouseName, "森家");
    EXPECT_EQ(b.Text, "777");  // not in the table: kept as the ledger wrote it
    EXPECT_EQ(b.HouseName, "空");
    for (const TDateRec* r : {&a, &b}) {
        EXPECT_EQ(r->Kind, fkPlot);
        EXPECT_EQ(r->IsPlot, 1);
        EXPECT_EQ(r->Deleted, 0);
        EXPECT_EQ(r->Selected, 0);
        EXPECT_EQ(r->Y1, 20000);
        EXPECT_EQ(r->X3 - r->X1, 4000);
        EXPECT_EQ(r->Y3 - r->Y1, 3000);
        EXPECT_EQ(r->X2, r->X3);
        EXPECT_EQ(r->X4, r->X1);
        EXPECT_EQ(r->Y2, r->Y1);
        EXPECT_EQ(r->Y4, r->Y3);
        EXPECT_EQ(r->BoxX1, r->X1);
        EXPECT_EQ(r->BoxY2, r->Y3);
        EXPECT_EQ(r->PenColor, 255);
        EXPECT_EQ(r->BrushColor, 7321527);
        EXPECT_EQ(r->PenWidth, 2);
        EXPECT_EQ(r->BrushStyle, 0);
        EXPECT_EQ(r->FontName, "ＭＳ ゴシック");
        EXPECT_EQ(r->OwnerIndex, 0);
        EXPECT_EQ(r->ShareSetId, 0);
    }
    EXPECT_EQ(a.X1, 24000);
    EXPECT_EQ(b.X1, a.X2 + 375);

    // Each new grade joins the list once; the empty grade and the ignored lines never.
    EXPECT_EQ(Grades, (std::vector<std::string>{"特等", "一等", "二等"}));
}

TEST_F(HandoverMerge, AnEmptyLineOrEndOfDataEndsTheReading) {
    for (const char* end : {"", "endofdata"}) {
        SCOPED_TRACE(std::string("end line '") + end + "'");
        TScriptedUi ui;
        TDrawingState s(ui);
        s.ExeFolder = Dir.Folder();
        s.FigureCount = 1;
        s.Fig(1) = S.Fig(Plot);
        WriteLedgerFile({"5,34,\"北1\",\"\",\"一等\",-1,7,\"\"", end, "21,0,\"\",\"\",\"三等\",-1,0,\"\"", "not a line"});
        std::vector<std::string> grades;
        ASSERT_TRUE(ReadHandoverCsv(s, grades));
        EXPECT_EQ(s.FigureCount, 1);
        EXPECT_EQ(s.Fig(1).Text, "34");
        EXPECT_EQ(grades, std::vector<std::string>{"一等"});
    }
}

TEST_F(HandoverMerge, BadDataFailsTheStageAndChangesNothing) {
    struct TCase {
        const char* Name;
        std::function<void(const std::string& path)> Write;
        std::vector<THouseholdRow> Table = {};
    };
    // A household ID that is no number, reached by the search for a line's household
    // before a match: the merge compares it, so it is bad data.
    const std::vector<THouseholdRow> damagedTable{
        {"000012", "山田家", "", "", "", "", "", "", ""}, {"abc", "不正家", "", "", "", "", "", "", ""},
        {"000034", "森家", "", "", "", "", "", "", ""}};
    const auto lines = [](TLines l) {
        return [l](const std::string& path) { ASSERT_TRUE(WriteTextLines(path, l)); };
    };
    const TCase cases[] = {
        {"plot id no integer", lines({"5,12,\"\",\"\",\"\",-1,4,\"\"", "x5,12,\"\",\"\",\"\",-1,4,\"\""})},
        {"household no integer", lines({"5,十二,\"\",\"\",\"\",-1,4,\"\""})},
        {"district no integer", lines({"5,12,\"\",\"\",\"\",-1,四,\"\""})},
        {"fewer than seven fields", lines({"5,12,\"北1\""})},
        {"a comma inside a text", lines({"5,12,\"北1\",\"墓誌,あり\",\"一等\",-1,4,\"本堂裏\""})},
        {"not a file", [](const std::string& path) { std::filesystem::create_directory(path); }},
        // Every integer field has the same 32-bit bound.
        {"household below the 32-bit range", lines({"5,-2147483649,\"\",\"\",\"\",-1,4,\"\""})},
        {"household above the 32-bit range", lines({"5,99999999999999999999,\"\",\"\",\"\",-1,4,\"\""})},
        {"plot id above the 32-bit range", lines({"2147483648,12,\"\",\"\",\"\",-1,4,\"\""})},
        {"district below the 32-bit range", lines({"5,12,\"\",\"\",\"\",-1,-2147483649,\"\""})},
        {"table ID no number before the household", lines({"5,34,\"\",\"\",\"\",-1,4,\"\""}), damagedTable},
        {"table ID no number, household found nowhere", lines({"5,0,\"\",\"\",\"\",-1,4,\"\""}), damagedTable},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TTempFolder dir;
        TScriptedUi ui;
        TDrawingState s(ui);
        s.ExeFolder = dir.Folder();
        s.Households = c.Table;
        s.FigureCount = 2;
        s.Fig(1) = S.Fig(Plot);
        s.Fig(2) = S.Fig(Unlisted);
        c.Write(dir.File(HandoverCsvFileName));
        std::vector<std::string> grades;
        EXPECT_FALSE(ReadHandoverCsv(s, grades));
        EXPECT_EQ(s.StartupError, 1);
        EXPECT_EQ(ui.Beeps, 1);
        EXPECT_EQ(s.StartupErrorMessage, HandoverStageMessage);
        EXPECT_EQ(s.FigureCount, 2);
        EXPECT_EQ(s.Fig(1).Text, "0");
        EXPECT_EQ(s.Fig(2).Deleted, 0);
        EXPECT_TRUE(grades.empty());
    }
}

TEST_F(HandoverMerge, ATableIdThatIsNoNumberAfterTheMatchIsNeverCompared) {
    S.Households = {{"000012", "山田家", "", "", "", "", "", "", ""}, {"abc", "不正家", "", "", "", "", "", "", ""}};
    WriteLedgerFile({"5,12,\"\",\"\",\"\",-1,4,\"\"", "6,-2147483648,\"\",\"\",\"\",-1,2147483647,\"\""});
    S.Households.insert(S.Households.begin() + 1, {"-2147483648", "端家", "", "", "", "", "", "", ""});
    ASSERT_TRUE(Merge());
    EXPECT_EQ(S.Fig(Plot).HouseName, "山田家");
    EXPECT_EQ(S.Fig(Unlisted).HouseName, "端家");  // the range's ends are integers
    EXPECT_EQ(S.Fig(Unlisted).DistrictId, 2147483647);
}

TEST_F(HandoverMerge, NoFileChangesNothingAnEmptyFileDropsThePlots) {
    // An old part's kind 11 has no key: no list can name it, so none drops it.
    const std::int32_t keyless = Add(fkOldPlot, 0, 25000, 0);
    ASSERT_TRUE(Merge());
    EXPECT_EQ(S.Fig(Plot).Deleted, 0);
    EXPECT_EQ(S.Fig(Unlisted).Deleted, 0);
    EXPECT_EQ(Ui.Beeps, 0);

    WriteBytes(Dir.File(HandoverCsvFileName), "");
    ASSERT_TRUE(Merge());
    EXPECT_EQ(S.FigureCount, 7);
    EXPECT_EQ(S.Fig(Plot).Deleted, 1);
    EXPECT_EQ(S.Fig(OldPlot).Deleted, 1);
    EXPECT_EQ(S.Fig(Converted).Deleted, 0);
    EXPECT_EQ(S.Fig(keyless).Deleted, 0);
    EXPECT_EQ(Grades, std::vector<std::string>{"特等"});
}

TEST_F(HandoverMerge, NewPlotsNeedRoomInTheStore) {
    struct TCase {
        const char* Name;
        std::int32_t Count;
        int Deleted;
        std::int32_t DeletedPlotId;  // 0: the deleted records are no plots
        bool Merged;
    };
    // The file names plot 5, a new plot 30, and plot 31.
    const TCase cases[] = {
        {"full, nothing to free", MaxFigures - 1, 0, 0, false},
        {"full, two deleted records freed", MaxFigures - 1, 2, 0, true},
        {"room for exactly the new plots", MaxFigures - 3, 0, 0, true},
        // Compaction drops the deleted plot 31, which then needs a record of its own.
        {"full, the freed record is a listed plot", MaxFigures - 1, 1, 31, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TScriptedUi ui;
        TDrawingState s(ui);
        s.ExeFolder = Dir.Folder();
        s.Households = Households;
        s.FigureCount = c.Count;
        s.Fig(1) = S.Fig(Plot);
        for (int k = 0; k < c.Deleted; ++k) {
            TDateRec& r = s.Fig(10 + k);
            r.Deleted = 1;
            if (c.DeletedPlotId > 0) r = S.Fig(Unlisted), r.PlotId = c.DeletedPlotId, r.Deleted = 1;
        }
        // The listed plot 5 follows the new one: a compaction must not have lost it.
        WriteLedgerFile({"30,12,\"\",\"\",\"\",-1,4,\"\"", "5,34,\"\",\"\",\"\",-1,7,\"\"",
                         "31,12,\"\",\"\",\"\",-1,4,\"\""});
        std::vector<std::string> grades;
        EXPECT_EQ(ReadHandoverCsv(s, grades), c.Merged);
        EXPECT_EQ(s.StartupError, c.Merged ? 0 : 1);
        EXPECT_EQ(s.Fig(1).PlotId, 5);
        EXPECT_EQ(s.Fig(1).Deleted, 0);
        EXPECT_LT(s.FigureCount, MaxFigures);
        if (c.Merged) {
            EXPECT_TRUE(ui.Shown.empty());
            EXPECT_EQ(s.FigureCount, c.Count - c.Deleted + 2);
            EXPECT_EQ(s.Fig(s.FigureCount - 1).PlotId, 30);
            EXPECT_EQ(s.Fig(s.FigureCount).PlotId, 31);
            EXPECT_EQ(s.Fig(1).Text, "000034");
        } else {
            // A failed merge leaves the store as it was, not even compacted.
            ASSERT_EQ(ui.Shown.size(), 1u);
            EXPECT_EQ(ui.Shown[0].Text, "これ以上データを置けません");
            EXPECT_EQ(s.FigureCount, c.Count);
            EXPECT_EQ(s.Fig(1).Text, "0");
            for (int k = 0; k < c.Deleted; ++k) EXPECT_EQ(s.Fig(10 + k).Deleted, 1);
        }
    }
}

TEST_F(HandoverMerge, WhatIsWrittenReadsBackWithTheSameFields) {
    TDateRec& p = S.Fig(Plot);
    p.Text = "000012";
    p.PlotNumber = "北,1";
    p.PlotRemarks = "墓誌\"旧\",\r\n新";
    p.Grade = "一等";
    p.DistrictId = 4;
    p.DrawingName = "本堂裏";
    S.Fig(Converted).Deleted = 1;
    // An old part's kind 11 keeps the household of the drawing it came from, but no key.
    const std::int32_t keyless = Add(fkOldPlot, 0, 25000, 0);
    S.Fig(keyless).Text = "000012";
    ASSERT_TRUE(WriteHandoverCsv(S));
    TLines written;
    ASSERT_TRUE(ReadTextLines(Dir.File(HandoverCsvFileName), written));
    // Figures that are no plots, deleted plots and records without a key are not listed.
    EXPECT_EQ(written, (TLines{"5,12,\"北，1\",\"墓誌”旧”，  新\",\"一等\",-1,4,\"本堂裏\"",
                               "6,0,\"\",\"\",\"\",-1,0,\"\"", "8,0,\"\",\"\",\"\",-1,0,\"\""}));

    // The next start, with the drawing as its file keeps it: no household fields.
    TScriptedUi ui;
    TDrawingState next(ui);
    next.ExeFolder = Dir.Folder();
    next.Households = Households;
    next.FigureCount = S.FigureCount;
    for (std::int32_t i = 1; i <= S.FigureCount; ++i) {
        next.Fig(i) = S.Fig(i);
        next.Fig(i).Deleted = 0;
        next.Fig(i).Text = "0";
        next.Fig(i).PlotRemarks = next.Fig(i).Grade = next.Fig(i).PlotNumber = "";
    }
    std::vector<std::string> grades;
    ASSERT_TRUE(ReadHandoverCsv(next, grades));
    const TDateRec& r = next.Fig(Plot);
    EXPECT_EQ(r.Text, "000012");
    EXPECT_EQ(r.HouseName, "山田家");
    EXPECT_EQ(r.PlotNumber, "北，1");
    EXPECT_EQ(r.PlotRemarks, "墓誌”旧”，  新");
    EXPECT_EQ(r.Grade, "一等");
    EXPECT_EQ(r.DistrictId, 4);
    EXPECT_EQ(next.Fig(Converted).Deleted, 0);  // unlisted, but no plot of its own kind
    EXPECT_EQ(next.Fig(keyless).Deleted, 0);    // unlisted, as it can only be
    EXPECT_EQ(next.Fig(Unlisted).Deleted, 0);
    EXPECT_EQ(next.Fig(OldPlot).Deleted, 0);
    EXPECT_EQ(next.FigureCount, S.FigureCount);
}

}  // namespace
}  // namespace tarvek
