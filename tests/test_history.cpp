// The edit-history list and the padded forms of its texts.
#include <gtest/gtest.h>

#include "document/drawing_state.h"
#include "document/history.h"

namespace tarvek {
namespace {

TEST(History, StartsEmptyAndGrowsKeepingEveryStep) {
    TScriptedUi ui;
    TDrawingState s(ui);
    ASSERT_EQ(s.History.size(), 501u);
    EXPECT_EQ(s.HistoryCount, 1);
    EXPECT_EQ(s.History[0].Label, "stop");
    EXPECT_EQ(s.History[1].Label, "stop");

    for (int k = 2; k <= 500; ++k) {
        PushHistory(s, "移動");
        s.History[static_cast<std::size_t>(s.HistoryCount)].Data.AddNumber(k);
    }
    EXPECT_EQ(s.History.size(), 501u);
    PushHistory(s, "最後");  // the 501st step
    EXPECT_EQ(s.HistoryCount, 501);
    EXPECT_EQ(s.HistoryCapacity, 600);
    EXPECT_EQ(s.History.size(), 601u);
    EXPECT_EQ(ui.BusyDepth, 0);
    for (int k = 2; k <= 500; ++k) {
        const std::int64_t* v = s.History[static_cast<std::size_t>(k)].Data.Number(0);
        ASSERT_NE(v, nullptr) << k;
        EXPECT_EQ(*v, k);
    }
    EXPECT_EQ(s.History[501].Label, "最後");
}

TEST(History, HintLineNamesTheNextUndo) {
    struct TRecordingForm : TEditorView {
        std::vector<std::string> Shown;
        void HelpLineChanged(const std::string& t) override { Shown.push_back(t); }
    } form;
    TScriptedUi ui;
    TDrawingState s(ui, &form);
    std::vector<std::string>& shown = form.Shown;
    PushHistory(s, "選択");
    EXPECT_EQ(s.Label3, "次の「Ctrl+Z」選択");
    PushHistory(s, "選択解除");
    EXPECT_EQ(s.Label3, "次の「Ctrl+Z」前の選択に戻す");
    PushHistory(s, "選択解除");  // not directly above "選択"
    EXPECT_EQ(s.Label3, "次の「Ctrl+Z」選択解除");
    PushHistory(s, "stop");
    EXPECT_EQ(s.Label3, "次の「Ctrl+Z」はありません。");
    EXPECT_EQ(shown.size(), 4u);
}

TEST(History, PushedStepStartsWithEmptyData) {
    TScriptedUi ui;
    TDrawingState s(ui);
    PushHistory(s, "a");
    s.History[2].Data.AddText("x");
    s.HistoryCount = 1;  // taken back
    PushHistory(s, "b");
    EXPECT_TRUE(s.History[2].Data.Empty());
}

TEST(History, TypedFieldsKeepWhatAPaddedStringWouldCorrupt) {
    THistoryData d;
    d.AddNumber(12345678901LL);
    d.AddText("**山田,花子**");
    d.AddFlag(true);
    ASSERT_EQ(d.Size(), 3u);
    EXPECT_EQ(*d.Number(0), 12345678901LL);
    EXPECT_EQ(*d.Text(1), "**山田,花子**");
    EXPECT_EQ(*d.Number(2), 1);
    EXPECT_EQ(d.Text(0), nullptr);  // wrong type: the undo fails cleanly
    EXPECT_EQ(d.Number(3), nullptr);
}

TEST(History, PaddingCountsCodePageBytesAndNeverCuts) {
    struct TCase {
        std::string Got, Want;
    };
    const TCase cases[] = {
        {PadNumber(7, 10, "*"), "*********7"},
        {PadNumber(-5, 3, "0"), "0-5"},
        {PadNumber(1234567890, 10, "*"), "1234567890"},
        {PadNumber(-12345678901LL, 10, "*"), "-12345678901"},
        {PadText(20, "*", "山田"), "****************山田"},   // 2 characters, 4 bytes
        {PadText(6, "*", "ｱｲ"), "****ｱｲ"},                       // half-width: 1 byte each
        {PadText(20, "*", "寿限無寿限無五劫の擦り切れ"), "寿限無寿限無五劫の擦り切れ"},  // 26 bytes
        {PadText(0, "*", ""), ""},
    };
    for (const TCase& c : cases) EXPECT_EQ(c.Got, c.Want);
    EXPECT_EQ(StripPad("*****山田"), "山田");
    EXPECT_EQ(StripPad("****"), "");
}

TEST(History, SelectionDataListsSelectedIndicesInOrder) {
    TScriptedUi ui;
    TDrawingState s(ui);
    s.FigureCount = 12;
    for (std::int32_t i : {11, 2, 7}) s.Fig(i).Selected = 1;
    s.Fig(13).Selected = 1;  // beyond the count: not a figure
    const THistoryData d = BuildSelectionHistoryData(s);
    ASSERT_EQ(d.Size(), 3u);
    EXPECT_EQ(*d.Number(0), 2);
    EXPECT_EQ(*d.Number(1), 7);
    EXPECT_EQ(*d.Number(2), 11);
}

TEST(History, GeometryIsSeventeenNumbersRoundedHalfToEven) {
    TDateRec r;
    r.X1 = 2.5, r.Y1 = 3.5, r.X2 = -2.5, r.Y2 = 1e6 + 0.4, r.X3 = 7, r.Y3 = 8, r.X4 = 9, r.Y4 = 10;
    r.BoxX1 = 0.5, r.BoxY1 = 1.5, r.BoxX2 = 11, r.BoxY2 = 12, r.Aux1 = 13.6, r.Aux2 = 14, r.Aux3 = 15, r.Aux4 = -0.5;
    THistoryData d;
    d.AddText("before");
    AppendGeometryToHistory(d, 42, r);
    const std::vector<std::int64_t> want{42, 2, 4, -2, 1000000, 7, 8, 9, 10, 0, 2, 11, 12, 14, 14, 15, 0};
    ASSERT_EQ(d.Size(), 18u);
    for (std::size_t i = 0; i < want.size(); ++i) EXPECT_EQ(*d.Number(i + 1), want[i]) << i;
}

}  // namespace
}  // namespace tarvek
