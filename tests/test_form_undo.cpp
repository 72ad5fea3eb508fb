// Ctrl+Z and the right button on the live form with the sample temple: a line drawn, a
// zoom, page switches, a scroll and a household assigned, all taken back to the start.
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
        Form = StartForm(Dir, Ui);
        Ui.ReturnPath = Dir.File("戻し.txt");
        ASSERT_TRUE(Ui.Shown.empty());
        Idle();
    }

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

}  // namespace
}  // namespace tarvek

int main(int argc, char** argv) { return tarvek::testing::RunGuiTests<QApplication>(argc, argv); }
