// The attribute controls, the joins, the drawing range and the keyboard nudge on the live
// form with the sample temple: real clicks and keys, scripted colour dialogs, and the map
// as it is then painted.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QMouseEvent>

#include <cstdlib>

#include "document/selection.h"
#include "document/view_settings.h"
#include "editing/attributes.h"
#include "editing/drawing_range.h"
#include "editing/join_curves.h"
#include "editing_test_support.h"
#include "form_test_support.h"
#include "gui_test_main.h"
#include "platform/canvas.h"
#include "platform/numbers.h"
#include "scripted_dialogs.h"
#include "view/zoom.h"

namespace tarvek {
namespace {

using testing::StartForm;
using testing::TProgramFolder;

constexpr TColor Lime = 0x00FF00, Red = 0x0000FF, White = 0xFFFFFF;

class FormAttributes : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy(TARVEK_SAMPLES "/temple", Dir.Path, std::filesystem::copy_options::recursive);
        Form = StartForm(Dir, Ui);
        ASSERT_TRUE(Ui.Shown.empty());
        Form->ComboBox5->SetItemIndex(1);  // no snap and no mesh: the points land where clicked
        Form->ComboBox1->SetItemIndex(0);
        Form->PageControl1->UserSelectTab(3);
        ASSERT_EQ(Form->S.EditTabActive, 1);
        Base = Form->S.FigureCount;
    }

    // At zoom 20 beside the temple's figures, where the paper is empty.
    void GoToEmptyPaper() {
        while (Form->S.Zoom < 20) ASSERT_TRUE(ZoomInStep(Form->S));
        Form->SetScrollPos(OX, 0);
        ASSERT_EQ(Form->HorzScrollPos(), OX);
        QApplication::processEvents();
    }
    void Mouse(QEvent::Type type, Qt::MouseButton button, int x, int y, Qt::MouseButtons held) {
        QWidget* w = Form->PaintBox1->Widget();
        const QPointF local(x + OX, y);
        QMouseEvent e(type, local, w->mapToGlobal(local), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &e);
    }
    void Drag(int x1, int y1, int x2, int y2) {
        Mouse(QEvent::MouseMove, Qt::NoButton, x1, y1, {});
        Mouse(QEvent::MouseButtonPress, Qt::LeftButton, x1, y1, Qt::LeftButton);
        Mouse(QEvent::MouseMove, Qt::NoButton, (x1 + x2) / 2, (y1 + y2) / 2, Qt::LeftButton);
        Mouse(QEvent::MouseMove, Qt::NoButton, x2, y2, Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, x2, y2, {});
    }
    void Key(QEvent::Type type, int key, Qt::KeyboardModifiers modifiers) {
        QKeyEvent e(type, key, modifiers);
        QCoreApplication::sendEvent(Form->Edit1->Widget(), &e);
    }
    void Select(std::initializer_list<std::int32_t> indices) {
        for (const std::int32_t i : indices) Form->S.Fig(i).Selected = 1;
        RebuildSelectionList(Form->S, false);
    }
    std::vector<std::int32_t> NewKinds() const {
        std::vector<std::int32_t> k;
        for (std::int32_t i = Base + 1; i <= Form->S.FigureCount; ++i) k.push_back(Form->S.Fig(i).Kind);
        return k;
    }
    const std::string& TopLabel() const { return Form->S.History[static_cast<std::size_t>(Form->S.HistoryCount)].Label; }
    TColor Pixel(int x, int y) const { return Form->MapPixel(x + OX, y); }
    bool AnyNear(int x, int y, int radius, TColor colour) const {
        for (int dx = -radius; dx <= radius; ++dx)
            for (int dy = -radius; dy <= radius; ++dy)
                if (Pixel(x + dx, y + dy) == colour) return true;
        return false;
    }
    void Shot(const std::string& name, const QImage& image) {
        testing::SaveShot(image, name);
    }

    TProgramFolder Dir;
    TScriptedUi Ui;
    std::unique_ptr<TForm_zumenn> Form;
    std::int32_t Base = 0;
    static constexpr int OX = 2000;
};

TEST_F(FormAttributes, TwoDrawnLinesJoinIntoAnOpenCurve) {
    GoToEmptyPaper();
    TDrawingState& s = Form->S;
    Form->BitBtn3->Click();  // "直線"
    Drag(40, 60, 200, 60);
    Drag(200, 60, 200, 260);
    ASSERT_EQ(NewKinds(), (std::vector<std::int32_t>{fkLine, fkLine}));
    Select({Base + 1, Base + 2});
    Form->BitBtn49->OnMouseEnter();
    EXPECT_EQ(Form->Label3->Caption(), "複数の直線間を曲線で繋ぎます。");
    Form->BitBtn49->Click();  // "線開連結"
    ASSERT_EQ(NewKinds(), (std::vector<std::int32_t>{fkChainCurve, fkChainLine, fkChainLine, fkOpenCurve}));
    EXPECT_EQ(TopLabel(), OpenJoinStepLabel);
    EXPECT_EQ(s.CurrentTool, 0);
    EXPECT_EQ(s.SelectedCount, 4);

    Form->PaintMapImage();
    Shot("join-open.png", Form->MapImage);
    // Selected, so lime: both straight halves, and the corner cut by the curve.
    EXPECT_EQ(Pixel(80, 60), Lime);
    EXPECT_EQ(Pixel(200, 220), Lime);
    EXPECT_TRUE(AnyNear(190, 70, 2, Lime));
    EXPECT_NE(Pixel(199, 61), Lime);

    // Joined pieces are joined already: a second join is refused.
    Ui.Beeps = 0;
    Form->BitBtn50->Click();
    EXPECT_EQ(Ui.Beeps, 1);
    EXPECT_EQ(Form->Label3->Caption(), JoinRefusedMessage);
}

TEST_F(FormAttributes, AScriptedFillColourFillsTheSelectedRectangle) {
    GoToEmptyPaper();
    TDrawingState& s = Form->S;
    testing::TScriptedDialogs dialogs;
    Form->brs_sty_conb->UserSelect(0);  // "全塗り", nothing selected: the current style only
    EXPECT_EQ(s.CurBrushStyle, 0);
    EXPECT_EQ(TopLabel(), BrushStyleStepLabel);
    Form->BitBtn4->Click();  // "四角形"
    Drag(60, 100, 260, 220);
    ASSERT_EQ(NewKinds(), (std::vector<std::int32_t>{fkRectangle}));
    EXPECT_EQ(s.Fig(Base + 1).BrushStyle, 0);

    // Cancelled, the frame colour changes nothing.
    dialogs.Answer = false;
    Select({Base + 1});
    const std::int32_t steps = s.HistoryCount;
    Form->BitBtn57->Click();
    EXPECT_EQ(s.HistoryCount, steps);
    EXPECT_EQ(s.SelectedCount, 1);

    dialogs.Answer = true;
    dialogs.Color = Red;
    Form->BitBtn56->Click();  // "内部色"
    EXPECT_EQ(dialogs.Ran, (std::vector<std::string>{"ColorDialog1", "ColorDialog2"}));
    EXPECT_EQ(s.Fig(Base + 1).BrushColor, Red);
    EXPECT_EQ(s.CurBrushColor, Red);
    EXPECT_EQ(TopLabel(), BrushColorStepLabel);
    EXPECT_EQ(s.SelectedCount, 0);
    QApplication::processEvents();
    Form->PaintMapImage();
    Shot("fill-colour.png", Form->MapImage);
    EXPECT_EQ(Pixel(160, 160), Red);
    EXPECT_EQ(Pixel(60, 160), 0x000000);  // its frame in the pen colour
    EXPECT_EQ(Pixel(300, 160), White);

    // The fill-style list's samples are drawn in the new colour: the closed box shows it.
    Form->pen_width_conb->UserSelect(1);
    Shot("attribute-lists.png", Form->Widget()->grab(QRect(600, 0, 411, 110)).toImage());
    const auto holdsRed = [](const QImage& image) {
        for (int x = 0; x < image.width(); ++x)
            for (int y = 0; y < image.height(); ++y)
                if (RgbToTColor(image.pixel(x, y)) == Red) return true;
        return false;
    };
    EXPECT_TRUE(holdsRed(Form->brs_sty_conb->Widget()->grab().toImage()));
    // And so does the open list, every item in its own fill style.
    QComboBox* list = Form->brs_sty_conb->Combo();
    list->showPopup();
    QApplication::processEvents();
    const QImage open = list->view()->grab().toImage();
    Shot("fill-style-list.png", open);
    list->hidePopup();
    EXPECT_TRUE(holdsRed(open));
}

TEST_F(FormAttributes, WideningAndNarrowingTheRangeGiveTheSameMap) {
    TDrawingState& s = Form->S;
    // The whole paper in view.
    while (s.Zoom > 1) ASSERT_TRUE(ZoomOutStep(s));
    Form->SetPaintBoxSize(s.ViewBaseWidth, s.ViewBaseHeight);
    Form->SetScrollPos(0, 0);
    QApplication::processEvents();
    Form->PaintMapImage();
    const QImage before = Form->MapImage.copy();
    Shot("range-before.png", before);
    const std::int32_t paintWidth = Form->PaintBox1->Width();
    for (const bool enlargeFirst : {true, false}) {
        SCOPED_TRACE(enlargeFirst ? "作図拡大 first" : "作図縮小 first");
        (enlargeFirst ? Form->hanni01 : Form->hanni02)->Click();
        EXPECT_EQ(TopLabel(), enlargeFirst ? NarrowRangeStepLabel : WidenRangeStepLabel);
        EXPECT_EQ(s.DrawingScale, enlargeFirst ? 2000 : 500);
        EXPECT_EQ(Form->UpDown3->Position(), enlargeFirst ? 250 : 1000);
        Form->PaintMapImage();
        Shot(enlargeFirst ? "range-enlarged.png" : "range-reduced.png", Form->MapImage);
        EXPECT_FALSE(Form->MapImage == before);
        (enlargeFirst ? Form->hanni02 : Form->hanni01)->Click();
        EXPECT_EQ(s.DrawingScale, 1000);
        EXPECT_EQ(Form->PaintBox1->Width(), paintWidth);
        Form->PaintMapImage();
        EXPECT_TRUE(Form->MapImage == before);
    }

    // Below what the dimension-size arrows can show, a save keeps the size in force.
    for (int i = 0; i < 3; ++i) Form->hanni01->Click();
    EXPECT_EQ(s.DimensionTextSize, 62);
    EXPECT_EQ(Form->UpDown3->Position(), 100);
    Form->TakeViewFromForm();
    EXPECT_EQ(CollectFormData(s).DimensionTextSize, 62);
}

TEST_F(FormAttributes, TheListsAndArrowsReachTheirOperations) {
    TDrawingState& s = Form->S;
    // Widths 2 and 3 lock the line style at solid.
    Form->pen_sty_conb->UserSelect(2);
    Form->pen_width_conb->UserSelect(2);
    EXPECT_EQ(s.CurPenWidth, 3);
    EXPECT_EQ(s.CurPenStyle, 0);
    EXPECT_EQ(Form->pen_sty_conb->ItemIndex(), 0);
    EXPECT_FALSE(Form->pen_sty_conb->Enabled());
    Form->pen_width_conb->UserSelect(0);
    EXPECT_TRUE(Form->pen_sty_conb->Enabled());

    // Only names a drawing file keeps; a different one is two steps.
    const std::vector<std::string> fonts = Form->ComboBox2->Items();
    ASSERT_FALSE(fonts.empty());
    for (const std::string& f : fonts) {
        EXPECT_EQ(f.find('@'), std::string::npos) << f;
        EXPECT_TRUE(IsCp932Encodable(f)) << f;
    }
    EXPECT_EQ(Form->ComboBox2->Text(), "ＭＳ 明朝");
    const int other = Form->ComboBox2->ItemIndex() == 0 ? 1 : 0;
    ASSERT_LT(other, Form->ComboBox2->ItemCount());
    const std::int32_t steps = s.HistoryCount;
    Form->ComboBox2->UserSelect(other);
    EXPECT_EQ(testing::Labels(s, steps), (std::vector<std::string>{FontStepLabel, ApplyFontStepLabel}));
    EXPECT_EQ(s.CurFontName, fonts[static_cast<std::size_t>(other)]);
    Form->BitBtn9->OnMouseEnter();
    EXPECT_EQ(Form->Label3->Caption(), "選択されている図形のフォントを" + s.CurFontName + "に変更します。");

    // The name arrows: ticked, they are free; with nothing selected a click says so.
    Form->CheckBox2->Click();
    EXPECT_TRUE(Form->UpDown2->Enabled());
    EXPECT_FALSE(Form->clip_Check->Enabled());
    Form->UpDown2->UserSetPosition(10);
    EXPECT_EQ(Form->Label3->Caption(), "先に墓地を選んでください。");
    EXPECT_EQ(Form->UpDown2->Position(), 5);
    Form->UpDown3->UserSetPosition(700);
    EXPECT_EQ(s.DimensionTextSize, 700);
    EXPECT_EQ(TopLabel(), DimensionSizeStepLabel);
    Form->UpDown1->UserSetPosition(12);
    EXPECT_EQ(s.NameTextSizeCopy, 12);

    // A mesh or move step that is no positive number beeps and shows the value in force.
    Ui.Beeps = 0;
    Form->ComboBox1->SetText("0");
    Form->ComboBox1->OnChange();
    EXPECT_EQ(Form->ComboBox1->Text(), "無し");
    Form->ComboBox1->UserSelect(3);  // "14"
    EXPECT_EQ((std::array{s.MeshStep, s.Tools.MoveStep}), (std::array{14, 7}));
    EXPECT_EQ(Form->ComboBox5->ItemIndex(), 0);
    Form->ComboBox3->SetText("-4");
    Form->ComboBox3->OnChange();
    EXPECT_EQ(Form->ComboBox3->Text(), "7");
    EXPECT_EQ(Ui.Beeps, 2);

    struct THint {
        TControl* Control;
        const char* Text;
    };
    for (const THint& h : {THint{Form->pen_sty_conb, "外枠線のスタイルを設定"}, THint{Form->pen_width_conb, "外枠の線の太さを設定"},
                           THint{Form->brs_sty_conb, "塗りつぶしのブラシスタイルを設定"},
                           THint{Form->BitBtn57, "外枠の色を変更させます"}, THint{Form->BitBtn56, "塗潰しの色を変更させます"},
                           THint{Form->BitBtn38, "選択されている図形から色属性を取り出します（スポイト）"},
                           THint{Form->BitBtn55, "選択されている図形を、現在の色属性に変更させます"},
                           THint{Form->BitBtn50, "複数の直線間を曲線で繋ぎ、始点と終点も連結させます。"}}) {
        h.Control->OnMouseEnter();
        EXPECT_EQ(Form->Label3->Caption(), h.Text);
    }
}

TEST_F(FormAttributes, CtrlArrowsMoveTheSelectionAndTheReleaseRecordsTheMove) {
    TDrawingState& s = Form->S;
    ASSERT_GE(Base, 1);
    Select({1});
    const double x = s.Fig(1).X1;
    Form->ComboBox3->UserSelect(5);  // "5"
    EXPECT_EQ(s.Tools.MoveStep, 5);
    Key(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier);
    Key(QEvent::KeyPress, Qt::Key_Right, Qt::ControlModifier);
    Key(QEvent::KeyPress, Qt::Key_Right, Qt::ControlModifier);
    Key(QEvent::KeyRelease, Qt::Key_Control, Qt::NoModifier);
    EXPECT_EQ(s.Fig(1).X1, x + 2 * RoundHalfEven(1000.0 / s.Zoom * 5));
    EXPECT_EQ(TopLabel(), "キーボードによる図形の移動を元に戻す");
    EXPECT_EQ(s.DrawingUnchanged, 0);
}

// A typed step may be as large as the box takes: however far the presses add up, the
// step they record takes the figures back to where they were.
TEST_F(FormAttributes, CtrlArrowsWithAHugeTypedStepAreTakenBackExactly) {
    TDrawingState& s = Form->S;
    ASSERT_GE(Base, 1);
    struct TCase {
        const char* Step;
        int Key;
        int Dx, Dy;
    };
    const TCase cases[] = {
        {"1000000", Qt::Key_Right, 1, 0},
        {"2147483647", Qt::Key_Up, 0, -1},
        {"2147483647", Qt::Key_Left, -1, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Step) + (c.Dx ? " across" : " up"));
        Select({1});
        const TDateRec before = s.Fig(1);
        Form->ComboBox3->SetText(c.Step);
        Form->ComboBox3->OnChange();
        ASSERT_EQ(s.Tools.MoveStep, *StrToInt(c.Step));
        const std::int64_t step = RoundHalfEven(1000.0 / s.Zoom * s.Tools.MoveStep);
        // Enough presses to pass what 32 bits hold.
        const std::int64_t presses = 2147483647 / step + 2;
        Key(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier);
        for (std::int64_t k = 0; k < presses; ++k) Key(QEvent::KeyPress, c.Key, Qt::ControlModifier);
        Key(QEvent::KeyRelease, Qt::Key_Control, Qt::NoModifier);
        EXPECT_EQ(s.Fig(1).X1, before.X1 + static_cast<double>(c.Dx * presses * step));
        EXPECT_EQ(s.Fig(1).Y1, before.Y1 + static_cast<double>(c.Dy * presses * step));
        ASSERT_EQ(TopLabel(), "キーボードによる図形の移動を元に戻す");

        Key(QEvent::KeyPress, Qt::Key_Z, Qt::ControlModifier);
        Key(QEvent::KeyRelease, Qt::Key_Z, Qt::ControlModifier);
        for (const auto& [now, was] : {std::pair{s.Fig(1).X1, before.X1}, {s.Fig(1).Y1, before.Y1},
                                       {s.Fig(1).X3, before.X3}, {s.Fig(1).BoxX2, before.BoxX2},
                                       {s.Fig(1).BoxY1, before.BoxY1}})
            EXPECT_EQ(now, was);
    }
}

}  // namespace
}  // namespace tarvek

int main(int argc, char** argv) { return tarvek::testing::RunGuiTests<QApplication>(argc, argv); }
