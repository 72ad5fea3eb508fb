// Ctrl+Z and the right button on the live form with the sample temple: a line drawn, a
// zoom, page switches, a scroll and a household assigned, all taken back to the start; and
// a window opened at an odd size, resized and zoomed, taken back step by step.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include "form_test_support.h"
#include "gui_test_main.h"
#include "platform/numbers.h"
#include "undo_fixture.h"

namespace tarvek {
namespace {

using testing::StartForm;
using testing::TProgramFolder;
using testing::TTakingLedgerUi;

class FormUndo : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy(TARVEK_SAMPLES "/temple", Dir.Path, std::filesystem::copy_options::recursive);
        PrepareFolder();
        Form = StartForm(Dir, Ui);
        Ui.ReturnPath = Dir.File("戻し.txt");
        ASSERT_TRUE(Ui.Shown.empty());
        Idle();
    }

    // Changes to the sample temple's files before the editor starts.
    virtual void PrepareFolder() {}

    // The idle pass that runs whenever the queue has emptied.
    void Idle() {
        QApplication::processEvents();
        Form->ApplicationIdle();
    }
    void Mouse(QEvent::Type type, Qt::MouseButton button, int x, int y, Qt::MouseButtons held) {
        QWidget* w = Form->PaintBox1->Widget();
        const QPointF local(x + Form->HorzScrollPos(), y + Form->VertScrollPos());
        QMouseEvent e(type, local, w->mapToGlobal(local), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &e);
        Idle();
    }
    // x, y in the visible part of the map.
    void Click(int x, int y, Qt::MouseButton b = Qt::LeftButton) {
        Mouse(QEvent::MouseMove, Qt::NoButton, x, y, {});
        Mouse(QEvent::MouseButtonPress, b, x, y, b);
        Mouse(QEvent::MouseButtonRelease, b, x, y, {});
    }
    void Drag(int x1, int y1, int x2, int y2) {
        Mouse(QEvent::MouseMove, Qt::NoButton, x1, y1, {});
        Mouse(QEvent::MouseButtonPress, Qt::LeftButton, x1, y1, Qt::LeftButton);
        Mouse(QEvent::MouseMove, Qt::NoButton, (x1 + x2) / 2, (y1 + y2) / 2, Qt::LeftButton);
        Mouse(QEvent::MouseMove, Qt::NoButton, x2, y2, Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, x2, y2, {});
    }
    void CtrlZ() {
        QKeyEvent down(QEvent::KeyPress, Qt::Key_Z, Qt::ControlModifier);
        QCoreApplication::sendEvent(Form->Edit1->Widget(), &down);
        QKeyEvent up(QEvent::KeyRelease, Qt::Key_Z, Qt::ControlModifier);
        QCoreApplication::sendEvent(Form->Edit1->Widget(), &up);
        Idle();
    }

    // The map as painted now, where TARVEK_SHOTS names a folder.
    void Shot(const std::string& name) {
        Form->PaintBox1->Widget()->repaint();
        testing::SaveShot(Form->MapImage, name);
    }

    struct TView {
        testing::TUndoSnapshot Drawing;
        std::vector<std::int64_t> Settings;
        bool operator==(const TView&) const = default;
    };
    TView View() const {
        TView v;
        const TDrawingState& s = Form->S;
        for (std::int32_t i = 1; i <= s.FigureCount; ++i) v.Drawing.Records.push_back(testing::Described(s.Fig(i)));
        v.Drawing.FigureCount = s.FigureCount;
        v.Drawing.MaxPlotId = s.MaxPlotId;
        v.Drawing.HistoryCount = s.HistoryCount;
        v.Settings = {Form->ActivePageIndex(), s.Zoom,          s.ZoomStep,    Form->HorzScrollPos(),
                      Form->VertScrollPos(),   s.MeshVisible,   s.EditTabActive, s.CurrentTool,
                      s.PreviousTab,           s.SelectedCount};
        return v;
    }
    std::int32_t PlotWithId(std::int32_t id) const { return testing::LivePlotWithId(Form->S, id); }
    int HouseholdRow(const std::string& id) const { return testing::GridRowWithId(*Form->StringGrid1, id); }

    TProgramFolder Dir;
    TTakingLedgerUi Ui;
    std::unique_ptr<TForm_zumenn> Form;
};

TEST_F(FormUndo, TheRightButtonAndCtrlZTakeTheSampleTempleBackToItsStart) {
    const TView start = View();
    const std::int32_t count = Form->S.FigureCount;

    // A line on the drawing page, a zoom, the household page, a scroll to plot 1, the
    // plot picked and a household double-clicked onto it.
    Form->PageControl1->UserSelectTab(3);
    Idle();
    Form->Button3Click();
    Drag(100, 100, 300, 200);
    ASSERT_EQ(Form->S.FigureCount, count + 1);
    Form->Button1Click();
    Idle();
    ASSERT_EQ(Form->S.Zoom, 20);
    Form->PageControl1->UserSelectTab(1);
    Idle();
    const std::int32_t plot = PlotWithId(1);
    ASSERT_GT(plot, 0);
    const TDateRec& p = Form->S.Fig(plot);
    const int cx = RoundToInt32((p.BoxX1 + p.BoxX2) / 2 * Form->S.Zoom / 1000.0);
    const int cy = RoundToInt32((p.BoxY1 + p.BoxY2) / 2 * Form->S.Zoom / 1000.0);
    Form->SetScrollPos(cx - 200, cy - 150);
    Idle();
    Click(cx - Form->HorzScrollPos(), cy - Form->VertScrollPos());
    ASSERT_EQ(Form->S.SelectedCount, 1);
    ASSERT_EQ(Form->S.SelectedList[1], plot);
    Form->StringGrid1->SetRow(HouseholdRow("000004"));
    Form->StringGrid1DblClick();
    ASSERT_EQ(Form->S.Fig(plot).Text, "000004");
    ASSERT_TRUE(Ui.Shown.empty());
    Ui.Lists();
    Ui.Taken.clear();
    Shot("undo-done.png");

    // Back: Ctrl+Z off the drawing pages, the right button on them.
    int keys = 0, clicks = 0;
    bool assignmentUndone = false;
    while (Form->S.HistoryCount > start.Drawing.HistoryCount && keys + clicks < 40) {
        const std::string label = Form->S.History[static_cast<std::size_t>(Form->S.HistoryCount)].Label;
        Ui.Lists();
        Ui.Taken.clear();
        if (Form->S.EditTabActive) {
            Click(400, 300, Qt::RightButton);
            ++clicks;
        } else {
            CtrlZ();
            ++keys;
        }
        if (label == "檀家セットを取消す") {
            assignmentUndone = true;
            EXPECT_EQ(Form->S.Fig(plot).Text, "0");
            EXPECT_EQ(Ui.Lists(), std::vector<std::string>{"-999,-999,,,,-999,-999,変更\r\n" +
                                                           PlotExchangeLine(Form->S, plot) + "\r\n"});
        }
        EXPECT_NE(Form->Label3->Caption(), UndoWorkingText);
        EXPECT_EQ(Form->S.Tools.UndoRunning, 0);
    }
    EXPECT_TRUE(assignmentUndone);
    EXPECT_GT(keys, 0);
    EXPECT_GT(clicks, 0);
    EXPECT_EQ(View().Drawing, start.Drawing);
    // Page, zoom, zoom step, scroll, mesh, editing keys, tool, previous page, selection.
    EXPECT_EQ(View().Settings, start.Settings);
    // The zoom taken back sizes the paint box from the view's base, as every zoom does
    // (the drawing had come with the paint box it was saved with).
    EXPECT_EQ(Form->PaintBoxWidth(), Form->S.ViewBaseWidth * Form->S.Zoom);
    EXPECT_EQ(Form->PaintBoxHeight(), Form->S.ViewBaseHeight * Form->S.Zoom);
    EXPECT_EQ(Form->Label3->Caption(), "次の「Ctrl+Z」はなし。");
    EXPECT_EQ(Form->PageControl1->ActivePageIndex(), 0);
    EXPECT_FALSE(Form->Memo20->Visible());
    EXPECT_TRUE(Ui.Shown.empty());
    // The map shows it all again: no line, and plot 1 without a household.
    Shot("undo-back.png");
}

TEST_F(FormUndo, APageTakenBackOffTheDrawingPageHasNoToolAndNoDrawingKeys) {
    Form->PageControl1->UserSelectTab(3);
    Form->Button3Click();  // the line tool
    Form->PageControl1->UserSelectTab(4);
    ASSERT_EQ(Form->S.EditTabActive, 1);
    Form->PageControl1->UserSelectTab(0);

    CtrlZ();  // back on the editing page
    EXPECT_EQ(Form->ActivePageIndex(), 4);
    EXPECT_EQ(Form->S.PreviousTab, 4);
    EXPECT_EQ(Form->S.CurrentTool, 0);
    EXPECT_EQ(Form->S.PreviousTool, 0);
    EXPECT_EQ(Form->S.EditTabActive, 0);
    EXPECT_FALSE(Form->Memo20->Visible());
    // Its keys come back with the next page switch.
    Form->PageControl1->UserSelectTab(3);
    Form->PageControl1->UserSelectTab(4);
    EXPECT_EQ(Form->S.EditTabActive, 1);
}

// The sample temple opened with a window size and zoom its view lines give, odd sizes
// included: a window the resize handler would have made even.
struct TWindowCase {
    int Width, Height, Zoom;
    bool ResizeFirst;  // the window resized before the zoom, else after it
};
void PrintTo(const TWindowCase& c, std::ostream* os) {
    *os << c.Width << " x " << c.Height << " zoom " << c.Zoom << (c.ResizeFirst ? ", resized first" : "");
}

class FormUndoWindowSize : public FormUndo, public ::testing::WithParamInterface<TWindowCase> {
protected:
    void PrepareFolder() override {
        const std::string path = Dir.File("明星寺墓地本堂裏墓地_data.txt");
        std::string bytes = testing::ReadBytes(path);
        const std::string view = "<form_data>\r\n40\r\n40\r\n1100\r\n760\r\n1060\r\n760\r\n0\r\n0\r\n10\r\n";
        const std::size_t at = bytes.find(view);
        ASSERT_NE(at, std::string::npos);
        const TWindowCase& c = GetParam();
        bytes.replace(at, view.size(),
                      "<form_data>\r\n40\r\n40\r\n" + std::to_string(c.Width) + "\r\n" + std::to_string(c.Height) +
                          "\r\n1060\r\n760\r\n0\r\n0\r\n" + std::to_string(c.Zoom) + "\r\n");
        testing::WriteBytes(path, bytes);
    }
    void Resize() {
        Form->SetWindowBounds(Form->WindowLeft(), Form->WindowTop(), GetParam().Width + 41, GetParam().Height + 31);
        Idle();
        ASSERT_EQ(Form->S.History[static_cast<std::size_t>(Form->S.HistoryCount)].Label, "フォームの大きさを戻す");
    }
};

TEST_P(FormUndoWindowSize, CtrlZWalksDownFromAWindowSizeThroughTheZoomAndThePage) {
    const TWindowCase& c = GetParam();
    const TView start = View();
    ASSERT_EQ(Form->WindowWidth(), c.Width);
    ASSERT_EQ(Form->WindowHeight(), c.Height);
    ASSERT_EQ(Form->S.Zoom, c.Zoom);

    Form->PageControl1->UserSelectTab(3);
    Idle();
    if (c.ResizeFirst) Resize();
    Form->Button1Click();  // "拡大"
    Idle();
    ASSERT_GT(Form->S.Zoom, c.Zoom);
    if (!c.ResizeFirst) Resize();

    // One keystroke a step, each reaching the step below the one before.
    std::vector<std::string> taken;
    while (Form->S.HistoryCount > start.Drawing.HistoryCount && taken.size() < 8) {
        const std::int32_t count = Form->S.HistoryCount;
        taken.push_back(Form->S.History[static_cast<std::size_t>(count)].Label);
        CtrlZ();
        Idle();
        ASSERT_LT(Form->S.HistoryCount, count) << taken.back();
        // The window is where the undo left it, and the idle pass finds nothing to record.
        EXPECT_EQ(Form->S.RecordedFormSize.cx, Form->WindowWidth());
        EXPECT_EQ(Form->S.RecordedFormSize.cy, Form->WindowHeight());
        if (Form->S.HistoryCount > start.Drawing.HistoryCount) {
            EXPECT_EQ(Form->Label3->Caption(),
                      "次の「Ctrl+Z」" + Form->S.History[static_cast<std::size_t>(Form->S.HistoryCount)].Label);
        }
    }
    const std::vector<std::string> zoomAndSize = c.ResizeFirst
                                                     ? std::vector<std::string>{"拡大率を戻す", "フォームの大きさを戻す"}
                                                     : std::vector<std::string>{"フォームの大きさを戻す", "拡大率を戻す"};
    EXPECT_EQ(taken, (std::vector<std::string>{zoomAndSize[0], zoomAndSize[1], "タブページを戻す"}));
    // The size the window had, as the resize handler keeps it: even.
    EXPECT_EQ(Form->WindowWidth(), c.Width + c.Width % 2);
    EXPECT_EQ(Form->WindowHeight(), c.Height + c.Height % 2);
    EXPECT_EQ(View().Drawing, start.Drawing);
    EXPECT_EQ(View().Settings, start.Settings);
    EXPECT_EQ(Form->Label3->Caption(), "次の「Ctrl+Z」はなし。");
}

INSTANTIATE_TEST_SUITE_P(ViewLines, FormUndoWindowSize,
                         ::testing::Values(TWindowCase{1100, 761, 10, false}, TWindowCase{1101, 761, 10, false},
                                           TWindowCase{1101, 760, 10, false}, TWindowCase{1100, 760, 10, false},
                                           TWindowCase{1100, 761, 10, true}, TWindowCase{1101, 761, 1, false},
                                           TWindowCase{1101, 761, 1, true}, TWindowCase{1100, 760, 1, true}));

}  // namespace
}  // namespace tarvek

int main(int argc, char** argv) { return tarvek::testing::RunGuiTests<QApplication>(argc, argv); }
