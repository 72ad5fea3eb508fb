// Copy and paste, delete, rotate-copy and the editing page's arrangement buttons on the
// live form with the sample temple: real keys and clicks, what they change, the steps, and
// what the ledger is told; a ledger request that arrives under the delete question waits.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <utility>

#include "document/figure_store.h"
#include "document/selection.h"
#include "editing/arrange.h"
#include "editing/clipboard.h"
#include "editing/drawing_tools.h"
#include "editing/rotation.h"
#include "form_test_support.h"
#include "gui_test_main.h"
#include "households/ledger_exchange.h"
#include "platform/numbers.h"

namespace tarvek {
namespace {

using testing::ReadBytes;
using testing::StartForm;
using testing::TProgramFolder;
using testing::TTakingLedgerUi;
using testing::WriteBytes;

// The ledger's side, which can also act while a question box is open.
class TBusyLedgerUi : public TTakingLedgerUi {
public:
    std::function<void()> WhileAsked;
    int MessageDlg(const std::string& text, TMsgDlgType type, unsigned buttons, const std::string& caption) override {
        if (WhileAsked) std::exchange(WhileAsked, {})();
        return TTakingLedgerUi::MessageDlg(text, type, buttons, caption);
    }
};

class FormArrange : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy(TARVEK_SAMPLES "/temple", Dir.Path, std::filesystem::copy_options::recursive);
        Form = StartForm(Dir, Ui);
        Ui.ReturnPath = Dir.File("戻し.txt");
        ASSERT_TRUE(Ui.Shown.empty());
        Form->ComboBox5->SetItemIndex(1);  // no mesh snap
        Form->ComboBox1->SetItemIndex(0);  // no mesh lines
        Form->PageControl1->UserSelectTab(3);
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
    void MoveTo(int x, int y) {
        Mouse(QEvent::MouseMove, Qt::NoButton, x, y, {});
        Form->ApplicationIdle();
    }
    void Click(int x, int y, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        MoveTo(x, y);
        Mouse(QEvent::MouseButtonPress, Qt::LeftButton, x, y, Qt::LeftButton, mods);
        Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, x, y, {}, mods);
    }
    void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QKeyEvent down(QEvent::KeyPress, key, mods);
        QCoreApplication::sendEvent(Form->Edit1->Widget(), &down);
        QKeyEvent up(QEvent::KeyRelease, key, mods);
        QCoreApplication::sendEvent(Form->Edit1->Widget(), &up);
        QApplication::processEvents();
    }

    std::int32_t PlotWithId(std::int32_t id) const { return testing::LivePlotWithId(Form->S, id); }
    // Picks a plot on its left edge (an owned plot is not filled).
    void PickPlot(std::int32_t i) {
        const TDateRec& r = Form->S.Fig(i);
        Click(ToPixel(Form->S, r.BoxX1), ToPixel(Form->S, (r.BoxY1 + r.BoxY2) / 2));
        ASSERT_EQ(Selected(), std::vector<std::int32_t>{i});
    }
    void SelectOnly(const std::vector<std::int32_t>& indices) {
        for (std::int32_t i = 1; i <= Form->S.FigureCount; ++i) Form->S.Fig(i).Selected = 0;
        for (const std::int32_t i : indices) Form->S.Fig(i).Selected = 1;
        RebuildSelectionList(Form->S, true);
        ClassifySelectionKinds(Form->S);
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
    std::string Bytes(const std::string& verb, const std::vector<std::string>& lines) const {
        std::string text = ChangeRecordHeader(verb) + "\r\n";
        for (const std::string& l : lines) text += l + "\r\n";
        return Utf8ToCp932(text);
    }
    // repaint false: the image as the screen shows it, previews included.
    void Shot(const std::string& name, bool repaint = true) {
        if (repaint) Form->PaintMapImage();
        testing::SaveShot(Form->MapImage, name);
    }

    TProgramFolder Dir;
    TBusyLedgerUi Ui;
    std::unique_ptr<TForm_zumenn> Form;
};

TEST_F(FormArrange, CtrlCAndCtrlVPutAnEmptyCopyOfAnOwnedPlotBesideIt) {
    TDrawingState& s = Form->S;
    const std::int32_t plot = PlotWithId(2);  // 西1-02, household 81, grade 特等
    ASSERT_GT(plot, 0);
    ASSERT_EQ(s.Fig(plot).Text, "000081");
    PickPlot(plot);
    const std::int32_t count = s.FigureCount, maxId = s.MaxPlotId;
    Key(Qt::Key_C, Qt::ControlModifier);
    Key(Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(s.FigureCount, count + 1);
    const TDateRec& copy = s.Fig(count + 1);
    EXPECT_EQ(copy.BoxX1, s.Fig(plot).BoxX2 + 1000) << "one block gap right of the plot";
    EXPECT_EQ(copy.BoxY1, s.Fig(plot).BoxY1);
    EXPECT_EQ(copy.PlotId, maxId + 1);
    EXPECT_EQ((std::array<std::string, 4>{copy.Text, copy.HouseName, copy.PlotNumber, copy.Grade}),
              (std::array<std::string, 4>{"0", "空", "000000", "特等"}));
    EXPECT_EQ(Selected(), std::vector<std::int32_t>{count + 1});
    EXPECT_EQ(Step(1).Label, "選択");
    EXPECT_EQ(Step().Label, PasteStepLabel);
    Ui.TakeList();
    ASSERT_EQ(Ui.Taken.size(), 1u);
    EXPECT_EQ(Ui.Taken[0], Bytes(VerbAdded, {std::to_string(maxId + 1) + ",0,000000,,特等," +
                                             std::to_string(s.Fig(plot).SourceIndex) + "," +
                                             std::to_string(s.Fig(plot).DistrictId) + ",本堂裏墓地"}));
    // Downwards and mirrored: the copy of the copy lies below it, flipped at its bottom edge.
    Form->RadioGroup1->UserSelect(1);
    EXPECT_EQ(s.Tools.PasteDirection, 1);
    Form->CheckBox1->Click();
    Key(Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(s.FigureCount, count + 2);
    EXPECT_EQ(s.Fig(count + 2).BoxY1, s.Fig(count + 1).BoxY2);
    EXPECT_EQ(s.Fig(count + 2).BoxX1, s.Fig(count + 1).BoxX1);
    Shot("arrange-paste.png");
}

TEST_F(FormArrange, DeleteAsksAboutTheHouseholdWhileALedgerRequestWaitsForTheAnswer) {
    TDrawingState& s = Form->S;
    const std::int32_t plot = PlotWithId(2);
    PickPlot(plot);
    const std::string line = PlotExchangeLine(s, plot);
    const std::string request = Dir.File("追加.txt");
    std::string underTheBox;
    std::vector<std::int32_t> selectedUnderTheBox;
    Ui.Answers = {mrYes};
    Ui.WhileAsked = [&] {
        // The ledger points at plot 1 while the user still thinks about the answer.
        WriteBytes(request, "1\r\n");
        Form->Timer1Timer();
        underTheBox = ReadBytes(request);
        selectedUnderTheBox = Selected();
    };
    Key(Qt::Key_Delete);

    ASSERT_EQ(Ui.Shown.size(), 1u);
    EXPECT_EQ(Ui.Shown[0].Text, "檀家名、割当て済みの墓地が1件あります。\r削除してよいですか？");
    EXPECT_EQ(underTheBox, "1\r\n") << "the request waits for the answer";
    EXPECT_EQ(selectedUnderTheBox, std::vector<std::int32_t>{plot});
    EXPECT_EQ(s.Fig(plot).Deleted, 1);
    EXPECT_EQ(Step().Label, DeleteStepLabel);
    EXPECT_EQ(Step().Data.Size(), 1u);
    EXPECT_EQ(s.LedgerUnchanged, 0);
    Ui.TakeList();
    ASSERT_EQ(Ui.Taken.size(), 1u);
    EXPECT_EQ(Ui.Taken[0], Bytes(VerbRemoved, {line}));

    // Answered: the next tick takes the request.
    Form->Timer1Timer();
    EXPECT_EQ(ReadBytes(request), "");
    EXPECT_EQ(s.CurrentHitIndex, PlotWithId(1));
}

TEST_F(FormArrange, TwoClicksWithTheRotateToolAndCtrlTurnACopyOfAPlot) {
    TDrawingState& s = Form->S;
    const std::int32_t plot = PlotWithId(14);  // 西2-02
    ASSERT_GT(plot, 0);
    SelectOnly({plot});
    const TDateRec& r = s.Fig(plot);
    const int cx = ToPixel(s, (r.BoxX1 + r.BoxX2) / 2), cy = ToPixel(s, (r.BoxY1 + r.BoxY2) / 2);
    Form->BitBtn46->Click();
    ASSERT_EQ(s.CurrentTool, 1000);
    const std::int32_t count = s.FigureCount, maxId = s.MaxPlotId;
    Click(cx, cy);
    ASSERT_EQ(s.Dragging, 1);
    MoveTo(cx, cy - 80);  // straight above the centre: a quarter turn
    EXPECT_EQ(Form->Label2->Caption(), "回転中 = -90");
    Shot("arrange-rotating.png", false);
    Click(cx, cy - 80, Qt::ControlModifier);
    ASSERT_EQ(s.FigureCount, count + 1);
    const TDateRec& copy = s.Fig(count + 1);
    const double w = r.BoxX2 - r.BoxX1, h = r.BoxY2 - r.BoxY1;
    EXPECT_NEAR(copy.BoxX2 - copy.BoxX1, h, 1e-6);
    EXPECT_NEAR(copy.BoxY2 - copy.BoxY1, w, 1e-6);
    EXPECT_EQ(copy.PlotId, maxId + 1);
    EXPECT_EQ(copy.Text, "0");
    EXPECT_EQ(s.Fig(plot).Deleted, 0);
    EXPECT_EQ(Step(1).Label, "選択");
    EXPECT_EQ(Step().Label, RotateCopyStepLabel);
    EXPECT_EQ(*Step().Data.Number(0), 1);
    Ui.TakeList();
    ASSERT_EQ(Ui.Taken.size(), 1u);
    EXPECT_EQ(Ui.Taken[0].substr(0, Utf8ToCp932(ChangeRecordHeader(VerbAdded)).size()),
              Utf8ToCp932(ChangeRecordHeader(VerbAdded)));
    EXPECT_EQ(Selected(), std::vector<std::int32_t>{count + 1});
    Shot("arrange-rotated.png");
}

TEST_F(FormArrange, TheEditingPagesButtonsAlignOrderAndGroup) {
    TDrawingState& s = Form->S;
    Form->PageControl1->UserSelectTab(4);
    const std::int32_t a = PlotWithId(1), b = PlotWithId(16);  // 西1-01 and 西2-04, at different lefts
    ASSERT_GT(a, 0);
    ASSERT_GT(b, 0);
    SelectOnly({a, b});
    const double left = std::min(s.Fig(a).BoxX1, s.Fig(b).BoxX1);
    Form->RadioGroup2->UserSelect(1);  // 左寄せ
    Form->BitBtn10->Click();
    EXPECT_EQ(s.Fig(a).BoxX1, left);
    EXPECT_EQ(s.Fig(b).BoxX1, left);
    EXPECT_EQ(Step().Label, AlignStepLabel);

    Form->gp_set->Click();
    const std::int32_t group = s.FigureCount;
    EXPECT_EQ(s.Fig(group).Kind, fkGroup);
    EXPECT_EQ(s.Fig(a).OwnerIndex, group);
    EXPECT_EQ(Step().Label, GroupStepLabel);

    Form->BitBtn41->Click();  // to the front: three new records at the end
    ASSERT_EQ(s.FigureCount, group + 3);
    EXPECT_EQ(Step().Label, ToFrontStepLabel);
    EXPECT_EQ(s.Fig(a).Deleted, 1);
    EXPECT_EQ(s.Fig(group + 1).OwnerIndex, group + 3);
    EXPECT_EQ(s.Fig(group + 1).PlotId, 1);

    Form->BitBtn42->Click();  // and to the back: they lead the store
    EXPECT_EQ(Step().Label, ToBackStepLabel);
    EXPECT_EQ(s.Fig(1).PlotId, 1);
    EXPECT_EQ(s.Fig(1).OwnerIndex, 3);
    EXPECT_EQ(s.Fig(3).Kind, fkGroup);

    Form->gp_reset->Click();
    EXPECT_EQ(Step().Label, UngroupStepLabel);
    EXPECT_EQ(s.Fig(1).OwnerIndex, 0);
    Form->gp_reset->Click();
    EXPECT_EQ(Form->Label3->Caption(), UngroupNoneMessage);
    SelectOnly({1});
    Form->gp_set->Click();
    EXPECT_EQ(Form->Label3->Caption(), GroupTooFewMessage);
    Shot("arrange-buttons.png");
}

}  // namespace
}  // namespace tarvek

int main(int argc, char** argv) { return tarvek::testing::RunGuiTests<QApplication>(argc, argv); }
