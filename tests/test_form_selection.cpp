// Selecting, moving and copying on the live form with the sample temple: real mouse and
// key events on the map, what they select and change, and what the ledger is told.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <cstdlib>

#include "document/figure_store.h"
#include "document/selection.h"
#include "editing/drawing_tools.h"
#include "editing/move_transform.h"
#include "form_test_support.h"
#include "gui_test_main.h"
#include "households/ledger_exchange.h"
#include "platform/canvas.h"
#include "view/painter.h"

namespace tarvek {
namespace {

using testing::StartForm;
using testing::TProgramFolder;
using testing::TTakingLedgerUi;

class FormSelection : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy(TARVEK_SAMPLES "/temple", Dir.Path, std::filesystem::copy_options::recursive);
        Form = StartForm(Dir, Ui);
        Ui.ReturnPath = Dir.File("戻し.txt");
        ASSERT_TRUE(Ui.Shown.empty());
        ASSERT_TRUE(Form->R_time->Checked());
        Form->ComboBox5->SetItemIndex(1);  // no mesh snap: points land where pressed
        Form->ComboBox1->SetItemIndex(0);  // and no mesh lines: "無し"
        Form->PageControl1->UserSelectTab(3);
        ASSERT_EQ(Form->S.Tools.MeshSnap, 0);
        ASSERT_EQ(Form->S.Zoom, 10);
        Form->SetScrollPos(0, 0);
        QApplication::processEvents();
    }

    void Mouse(QEvent::Type type, Qt::MouseButton button, int x, int y, Qt::MouseButtons held,
               Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QWidget* w = Form->PaintBox1->Widget();
        const QPointF local(x, y);
        QMouseEvent e(type, local, w->mapToGlobal(local), button, held, mods);
        QCoreApplication::sendEvent(w, &e);
        QApplication::processEvents();
    }
    // The idle pass that follows every event when the queue empties looks for the handle.
    void MoveTo(int x, int y, Qt::MouseButtons held = {}) {
        Mouse(QEvent::MouseMove, Qt::NoButton, x, y, held);
        Form->ApplicationIdle();
    }
    void Click(int x, int y) {
        MoveTo(x, y);
        Mouse(QEvent::MouseButtonPress, Qt::LeftButton, x, y, Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, x, y, {});
    }
    void Drag(int x1, int y1, int x2, int y2, Qt::KeyboardModifiers release = Qt::NoModifier) {
        MoveTo(x1, y1);
        Mouse(QEvent::MouseButtonPress, Qt::LeftButton, x1, y1, Qt::LeftButton);
        MoveTo((x1 + x2) / 2, (y1 + y2) / 2, Qt::LeftButton);
        MoveTo(x2, y2, Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, x2, y2, {}, release);
    }
    void CtrlKey(int key) {
        QKeyEvent down(QEvent::KeyPress, key, Qt::ControlModifier);
        QCoreApplication::sendEvent(Form->Edit1->Widget(), &down);
        QKeyEvent up(QEvent::KeyRelease, key, Qt::ControlModifier);
        QCoreApplication::sendEvent(Form->Edit1->Widget(), &up);
        QApplication::processEvents();
    }

    std::int32_t PlotWithId(std::int32_t id) const {
        for (std::int32_t i = 1; i <= Form->S.FigureCount; ++i)
            if (Form->S.Fig(i).PlotId == id && IsPlotRecord(Form->S.Fig(i))) return i;
        return 0;
    }
    // The middle of a record's box on the paint box.
    TPoint Centre(std::int32_t i) const {
        const TDateRec& r = Form->S.Fig(i);
        return {ToPixel(Form->S, (r.BoxX1 + r.BoxX2) / 2), ToPixel(Form->S, (r.BoxY1 + r.BoxY2) / 2)};
    }
    std::vector<std::int32_t> Selected() const {
        std::vector<std::int32_t> v;
        for (std::int32_t i = 1; i <= Form->S.FigureCount; ++i)
            if (Form->S.Fig(i).Selected) v.push_back(i);
        return v;
    }
    const Trireki& Step(int fromTop = 0) const {
        return Form->S.History[static_cast<std::size_t>(Form->S.HistoryCount - fromTop)];
    }
    void Shot(const std::string& name, bool repaint = true) {
        if (repaint) Form->PaintMapImage();
        testing::SaveShot(Form->MapImage, name);
    }

    TProgramFolder Dir;
    TTakingLedgerUi Ui;
    std::unique_ptr<TForm_zumenn> Form;
};

TEST_F(FormSelection, APlotIsPickedMovedAndCopiedAndTheLedgerHearsOfTheCopy) {
    TDrawingState& s = Form->S;
    const std::int32_t plot = PlotWithId(2);  // 西1-02, owned by household 81
    ASSERT_GT(plot, 0);
    ASSERT_EQ(s.Fig(plot).Text, "000081");
    const double y0 = s.Fig(plot).Y1;
    // On its outline: an owned plot is not filled.
    const TPoint c = Centre(plot);
    Click(ToPixel(s, s.Fig(plot).BoxX1), c.Y);
    EXPECT_EQ(Selected(), (std::vector<std::int32_t>{plot}));
    EXPECT_EQ(Form->MapPixel(ToPixel(s, s.Fig(plot).BoxX1), c.Y), SelectedColor);
    EXPECT_EQ(Step().Label, "選択解除");
    EXPECT_EQ(s.CurrentTool, 0);

    Drag(c.X, c.Y, c.X, c.Y + 60);
    EXPECT_EQ(s.Fig(plot).Y1, y0 + 6000);
    EXPECT_EQ(Step().Label, MoveStepLabel);
    EXPECT_TRUE(Ui.Lists().empty()) << "a move changes no plot data";

    const std::int32_t count = s.FigureCount, maxId = s.MaxPlotId;
    const TPoint moved = Centre(plot);
    MoveTo(moved.X, moved.Y);
    Mouse(QEvent::MouseButtonPress, Qt::LeftButton, moved.X, moved.Y, Qt::LeftButton);
    MoveTo(moved.X + 60, moved.Y, Qt::LeftButton);
    Shot("selection-dragging.png", false);  // the preview as the screen shows it
    Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, moved.X + 60, moved.Y, {}, Qt::ControlModifier);
    ASSERT_EQ(s.FigureCount, count + 1);
    const TDateRec& copy = s.Fig(count + 1);
    EXPECT_EQ(copy.PlotId, maxId + 1);
    EXPECT_EQ((std::array<std::string, 3>{copy.Text, copy.HouseName, copy.PlotNumber}),
              (std::array<std::string, 3>{"0", "空", "000000"}));
    EXPECT_EQ(copy.X1, s.Fig(plot).X1 + 6000);
    EXPECT_EQ(Selected(), (std::vector<std::int32_t>{count + 1}));
    EXPECT_EQ(Step(1).Label, "選択");
    EXPECT_EQ(Step().Label, MoveCopyStepLabel);
    Ui.TakeList();
    ASSERT_EQ(Ui.Taken.size(), 1u);
    EXPECT_EQ(Ui.Taken[0], Utf8ToCp932("-999,-999,,,,-999,-999,追加\r\n" + std::to_string(maxId + 1) + ",0,000000,,特等," +
                                       std::to_string(plot) + ",5,本堂裏墓地\r\n"));
    Shot("selection-copy.png");
}

TEST_F(FormSelection, ABandCtrlAAndTheFilterChooseWhatIsSelected) {
    TDrawingState& s = Form->S;
    // The upper east block: twelve plots, nothing else wholly inside.
    Drag(560, 200, 770, 360);
    ASSERT_EQ(Selected().size(), 12u);
    for (const std::int32_t i : Selected()) EXPECT_TRUE(IsPlotRecord(s.Fig(i))) << i;
    EXPECT_EQ(s.Dragging, 0);
    Shot("selection-band.png");

    CtrlKey(Qt::Key_A);
    std::int32_t live = 0, plots = 0;
    for (std::int32_t i = 1; i <= s.FigureCount; ++i) {
        live += !s.Fig(i).Deleted;
        plots += !s.Fig(i).Deleted && IsPlotRecord(s.Fig(i));
    }
    EXPECT_EQ(static_cast<std::int32_t>(Selected().size()), live);
    EXPECT_EQ(Step().Label, "選択解除");

    Form->liya->UserSelect(1);  // plots only
    EXPECT_EQ(static_cast<std::int32_t>(Selected().size()), plots);
    EXPECT_EQ(s.SelectedCount, plots);
    EXPECT_EQ(Step().Label, "選択の範囲を戻す");
    EXPECT_EQ(*Step().Data.Number(0), 0);
    Shot("selection-plots.png");
    // A press on the paper under this filter picks no hall, and a band opens.
    Click(500, 95);
    EXPECT_EQ(Selected(), (std::vector<std::int32_t>{}));
}

TEST_F(FormSelection, TheBlinkTimerFollowsACurvesPointOnItsFrameCorner) {
    TDrawingState& s = Form->S;
    // A curve in the open ground west of the hall, its first point on its frame's corner.
    TDateRec& c = s.Fig(++s.FigureCount);
    c = s.Fig(1);
    c.Kind = fkCurve;
    c.X1 = 2000, c.Y1 = 16000, c.X2 = 6000, c.Y2 = 20000, c.X3 = 10000, c.Y3 = 18000, c.X4 = 14000, c.Y4 = 17000;
    c.OwnerIndex = 0;
    UpdateFigureBounds(s, s.FigureCount);
    c.Selected = 1;
    RebuildSelectionList(s, true);
    ClassifySelectionKinds(s);
    QApplication::processEvents();
    MoveTo(21, 161);
    EXPECT_EQ(s.Tools.HandleHit, 6);
    EXPECT_TRUE(Form->Timer4->Enabled());
    EXPECT_EQ(Form->Timer4->Interval(), 10);
    Form->Timer4->Fire();
    Form->ApplicationIdle();
    EXPECT_EQ(Form->Timer4->Interval(), 20);
    EXPECT_EQ(s.Tools.HandleHit, 1) << "between blinks the corner is the handle";
    MoveTo(22, 161);  // still on it: the blink starts over
    EXPECT_TRUE(Form->Timer4->Enabled());
    EXPECT_EQ(Form->Timer4->Interval(), 10);
    EXPECT_EQ(s.Tools.HandleHit, 6);
    MoveTo(60, 230);
    EXPECT_FALSE(Form->Timer4->Enabled());
    EXPECT_EQ(Form->Timer4->Interval(), 10);
}

// The sample's trees are whole circles as the ellipse tool leaves them: arc start and end
// at the middle of the right side. A tree picked on the drawing page shows the line from
// there to its centre, and no line from the map's corner.
TEST_F(FormSelection, APickedTreeShowsTheLineFromItsArcPointToItsCentre) {
    TDrawingState& s = Form->S;
    std::vector<std::int32_t> trees;
    for (std::int32_t i = 1; i <= s.FigureCount; ++i) {
        const TDateRec& r = s.Fig(i);
        if (r.Kind != fkEllipse) continue;
        trees.push_back(i);
        EXPECT_EQ((std::array{r.Aux1, r.Aux2, r.Aux3, r.Aux4}),
                  (std::array{r.X2, (r.Y3 - r.Y2) / 2 + r.Y2, r.X2, (r.Y3 - r.Y2) / 2 + r.Y2}))
            << i;
    }
    ASSERT_EQ(trees.size(), 8u);
    const std::int32_t tree = trees[0];  // the solid one in the north-west corner
    const TDateRec& r = s.Fig(tree);
    const TPoint c = Centre(tree);
    const int right = ToPixel(s, r.BoxX2);
    Click(ToPixel(s, r.BoxX1), c.Y);
    ASSERT_EQ(Selected(), (std::vector<std::int32_t>{tree}));
    Shot("selection-tree.png");
    for (int x = c.X + 2; x < right - 2; x += 4) EXPECT_EQ(Form->MapPixel(x, c.Y), SelectedColor) << x;
    // Where a line from the corner (0, 0) to the centre would run.
    for (int k = 1; k < 4; ++k) EXPECT_NE(Form->MapPixel(c.X * k / 4, c.Y * k / 4), SelectedColor) << k;
}

// The filter of the drawing page treats a group as one figure: its members, which stand
// before it in the store, follow it out of the selection.
TEST_F(FormSelection, TheFilterDropsAGroupWithItsMembersBeforeIt) {
    TDrawingState& s = Form->S;
    const std::int32_t plot = PlotWithId(Form->S.Fig(1).PlotId ? Form->S.Fig(1).PlotId : 1);
    ASSERT_GT(plot, 0);
    TDateRec line = s.Fig(plot);
    line.Kind = fkLine, line.IsPlot = 0, line.PlotId = 0;
    const std::int32_t member1 = ++s.FigureCount;
    s.Fig(member1) = s.Fig(plot);  // a plot
    const std::int32_t member2 = ++s.FigureCount;
    s.Fig(member2) = line;
    const std::int32_t group = ++s.FigureCount;
    s.Fig(group) = line;
    s.Fig(group).Kind = fkGroup;
    for (const std::int32_t m : {member1, member2}) s.Fig(m).OwnerIndex = group;
    for (const std::int32_t i : {member1, member2, group}) s.Fig(i).Selected = 1;
    RebuildSelectionList(s, false);
    Form->liya->SetItemIndex(1);  // plots only
    Form->PageControl1->UserSelectTab(4);
    Form->PageControl1->UserSelectTab(3);
    for (const std::int32_t i : {member1, member2, group}) EXPECT_EQ(s.Fig(i).Selected, 0) << i;
}

}  // namespace
}  // namespace tarvek

int main(int argc, char** argv) { return tarvek::testing::RunGuiTests<QApplication>(argc, argv); }
