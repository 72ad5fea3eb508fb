// The drawing tools on the live form with the sample temple: real mouse and key events
// on the map, the records they make, and the map as it is then painted.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <cstdlib>

#include "editing/figure_creation.h"
#include "platform/numbers.h"
#include "view/zoom.h"
#include "form_test_support.h"
#include "gui_test_main.h"

namespace tarvek {
namespace {

using testing::StartForm;
using testing::TProgramFolder;

class FormDrawing : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy(TARVEK_SAMPLES "/temple", Dir.Path, std::filesystem::copy_options::recursive);
        Form = StartForm(Dir, Ui);
        ASSERT_TRUE(Ui.Shown.empty());
        Form->ComboBox5->SetItemIndex(1);  // no mesh snap: the points land where clicked
        Form->ComboBox1->SetItemIndex(0);  // and no mesh on the paper: "無し"
        Form->PageControl1->UserSelectTab(3);
        ASSERT_EQ(Form->S.EditTabActive, 1);
        ASSERT_EQ(Form->S.Tools.MeshSnap, 0);
        // Beside the temple's figures, at zoom 20: the paper is empty there.
        while (Form->S.Zoom < 20) ASSERT_TRUE(ZoomInStep(Form->S));
        Form->S.MousePos = {0, 0};
        Form->SetScrollPos(OX, 0);
        ASSERT_EQ(Form->HorzScrollPos(), OX);
        QApplication::processEvents();
        Base = Form->S.FigureCount;
    }

    // x, y: within the visible part of the map, which shows paper only.
    void Mouse(QEvent::Type type, Qt::MouseButton button, int x, int y, Qt::MouseButtons held) {
        QWidget* w = Form->PaintBox1->Widget();
        const QPointF local(x + OX, y);
        QMouseEvent e(type, local, w->mapToGlobal(local), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &e);
    }
    void Press(int x, int y, Qt::MouseButton b = Qt::LeftButton) { Mouse(QEvent::MouseButtonPress, b, x, y, b); }
    void Release(int x, int y, Qt::MouseButton b = Qt::LeftButton) { Mouse(QEvent::MouseButtonRelease, b, x, y, {}); }
    void MoveTo(int x, int y, Qt::MouseButtons held = {}) { Mouse(QEvent::MouseMove, Qt::NoButton, x, y, held); }
    void Drag(int x1, int y1, int x2, int y2) {
        MoveTo(x1, y1);
        Press(x1, y1);
        MoveTo((x1 + x2) / 2, (y1 + y2) / 2, Qt::LeftButton);
        MoveTo(x2, y2, Qt::LeftButton);
        Release(x2, y2);
    }
    void Click(int x, int y) {
        MoveTo(x, y);
        Press(x, y);
        Release(x, y);
    }
    void Key(QEvent::Type type, int key, bool autoRepeat = false) {
        QKeyEvent e(type, key, Qt::NoModifier, key == Qt::Key_Space ? QStringLiteral(" ") : QString(), autoRepeat);
        QCoreApplication::sendEvent(Form->Edit1->Widget(), &e);
    }
    std::vector<std::int32_t> NewKinds() const {
        std::vector<std::int32_t> k;
        for (std::int32_t i = Base + 1; i <= Form->S.FigureCount; ++i) k.push_back(Form->S.Fig(i).Kind);
        return k;
    }
    void Shot(const std::string& name, const QImage& image) {
        testing::SaveShot(image, name);
    }

    TProgramFolder Dir;
    TScriptedUi Ui;
    std::unique_ptr<TForm_zumenn> Form;
    std::int32_t Base = 0;
    static constexpr int OX = 2000;
    TColor Pixel(int x, int y) const { return Form->MapPixel(x + OX, y); }
    // What the screen shows of the map (the paint box itself is far larger).
    QImage Visible() const {
        return Form->PaintBox1->Widget()->grab(QRect(OX, 0, Form->MapImage.width(), Form->MapImage.height())).toImage();
    }
};

TEST_F(FormDrawing, EveryToolDrawsOnTheSampleTemple) {
    TDrawingState& s = Form->S;
    const std::int32_t steps = s.HistoryCount;
    struct TStep {
        TBitBtn* Button;
        std::vector<std::int32_t> Kinds;
    };
    Form->BitBtn3->Click();  // "直線"
    EXPECT_EQ(s.CurrentTool, fkLine);
    EXPECT_EQ(Form->Label3->Caption(), "直線を引きます。");
    Drag(40, 40, 160, 60);
    Form->BitBtn33->Click();  // "曲線", the handle switched with Space on the way
    MoveTo(40, 100);
    Press(40, 100);
    MoveTo(100, 100, Qt::LeftButton);
    Key(QEvent::KeyPress, Qt::Key_Space);
    Key(QEvent::KeyRelease, Qt::Key_Space, true);  // auto-repeat: no release yet
    Key(QEvent::KeyPress, Qt::Key_Space, true);
    EXPECT_EQ(s.Tools.BezierHandle, 2);
    MoveTo(160, 100, Qt::LeftButton);
    Release(160, 100);
    Key(QEvent::KeyRelease, Qt::Key_Space);
    Form->BitBtn47->Click();  // "円"
    Drag(100, 190, 150, 220);
    Form->BitBtn48->Click();  // "寸法"
    Drag(40, 260, 160, 260);
    Form->BitBtn53->Click();  // "引出線"
    Drag(40, 300, 120, 330);
    Form->BitBtn4->Click();  // "四角形", two clicks, from the lower right
    Click(160, 420);
    Click(60, 360);
    ASSERT_EQ(NewKinds(), (std::vector<std::int32_t>{1, 2, 3, 4, 1, 1, 30, 30, 10, 3000}));
    EXPECT_EQ(s.Fig(Base + 2).Y2, 40 * 1000 / s.Zoom);
    EXPECT_EQ(s.Fig(Base + 1).X1, (40 + OX) * 1000 / s.Zoom);  // the second handle bends up
    EXPECT_EQ(s.Dragging, 0);

    Form->BitBtn51->Click();  // "多角形", closed on its first point
    EXPECT_EQ(Form->PaintBox1->Widget()->cursor().shape(), Qt::CrossCursor);
    Click(220, 40);
    Click(320, 40);
    Click(300, 120);
    Click(220, 40);
    Click(220, 160);  // an open one, ended by the right button
    Click(320, 160);
    Click(260, 220);
    Press(260, 220, Qt::RightButton);
    Release(260, 220, Qt::RightButton);
    Form->BitBtn52->Click();  // "丸多角"
    Click(220, 260);
    Click(320, 260);
    Click(320, 340);
    Click(220, 340);
    Click(220, 260);
    ASSERT_EQ(NewKinds(), (std::vector<std::int32_t>{1, 2, 3, 4, 1, 1, 30, 30, 10, 3000, 77, 77, 77, 31, 7, 7, 31, 99,
                                                     99, 99, 99, 31}));
    EXPECT_EQ(s.Dragging, 0);
    EXPECT_EQ(s.CurrentTool, 8);
    // One step per figure: line, curve, ellipse, dimension, leader, rectangle, three polygons.
    ASSERT_EQ(s.HistoryCount, steps + 9);
    const std::int64_t counts[9] = {1, 1, 1, 5, 1, 1, 4, 3, 5};
    for (int k = 0; k < 9; ++k) {
        const Trireki& step = s.History[static_cast<std::size_t>(steps + 1 + k)];
        EXPECT_EQ(step.Label, CreationStepLabel) << k;
        EXPECT_EQ(*step.Data.Number(0), counts[k]) << k;
    }
    EXPECT_EQ(s.DrawingUnchanged, 0);

    // A band in progress shows on the map and goes with its figure.
    Form->BitBtn3->Click();
    MoveTo(400, 60);
    Press(400, 60);
    MoveTo(480, 120, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_FALSE(Form->PageControl1->Enabled());  // no other page while a figure is in hand
    EXPECT_FALSE(Form->BitBtn33->Enabled());
    EXPECT_TRUE(Form->pen_width_conb->Enabled());
    const QImage withBand = Visible();
    Shot("drawing-band.png", withBand);
    Form->PaintMapImage();
    EXPECT_EQ(Pixel(440, 90), 0xFFFFFF);  // a fresh paint has no band ...
    Form->PaintBox1->Widget()->repaint();
    EXPECT_EQ(Pixel(440, 90), 0x0000FF);  // ... the next screen paint draws it back
    Release(480, 120);
    EXPECT_TRUE(Form->PageControl1->Enabled());
    EXPECT_TRUE(Form->BitBtn33->Enabled());

    Form->PaintMapImage();
    Shot("drawing-all.png", Form->MapImage);
    // The figures in their pen colour on the paper; the band left nothing.
    EXPECT_EQ(Pixel(100, 50), 0x000000);   // on the line
    EXPECT_EQ(Pixel(270, 40), 0x000000);  // on the closed polygon's first edge
    EXPECT_EQ(Pixel(440, 90), 0x000000);  // the last line, where its band was
    EXPECT_EQ(Pixel(440, 60), 0xFFFFFF);
    const QImage after = Visible();
    Shot("drawing-widget.png", after);
}

TEST_F(FormDrawing, RubberBandsShowAndGoWithoutATrace) {
    struct TCase {
        const char* Name;
        TBitBtn* Button;
        bool FirstClick;  // a chain shows its band after its first piece
    };
    for (const TCase& c : {TCase{"line", Form->BitBtn3, false}, TCase{"curve", Form->BitBtn33, false},
                           TCase{"ellipse", Form->BitBtn47, false}, TCase{"dimension", Form->BitBtn48, false},
                           TCase{"leader", Form->BitBtn53, false}, TCase{"rectangle", Form->BitBtn4, false},
                           TCase{"polygon", Form->BitBtn51, false}, TCase{"rounded", Form->BitBtn52, true}}) {
        SCOPED_TRACE(c.Name);
        c.Button->Click();
        QApplication::processEvents();
        const QImage before = Visible();
        MoveTo(300, 200);
        Press(300, 200);
        if (c.FirstClick) {
            Release(300, 200);
            Click(400, 200);
        }
        MoveTo(420, 280, Qt::LeftButton);
        QApplication::processEvents();
        const QImage band = Visible();
        Shot(std::string("band-") + c.Name + ".png", band);
        EXPECT_FALSE(band == before);
        // The right button ends it; only a chain with a piece leaves a figure.
        Press(420, 280, Qt::RightButton);
        Release(420, 280, Qt::RightButton);
        EXPECT_EQ(Form->S.Dragging, 0);
        QApplication::processEvents();
        if (!c.FirstClick) {
            EXPECT_TRUE(Visible() == before);
        }
    }
    EXPECT_EQ(NewKinds(), (std::vector<std::int32_t>{5, 1, 31}));
}

// The edge scroll of a drag: where the pointer leaves the map the band goes, and the
// drag goes on from its start.
TEST_F(FormDrawing, ADragThatLeavesTheMapTakesItsBandOff) {
    TDrawingState& s = Form->S;
    Form->BitBtn3->Click();
    QApplication::processEvents();
    const QImage before = Form->MapImage.copy();
    QCursor::setPos(Form->PaintBox1->Widget()->mapToGlobal(QPoint(300 + OX, 200)));
    MoveTo(300, 200);
    Press(300, 200);
    MoveTo(420, 280, Qt::LeftButton);
    ASSERT_FALSE(Form->MapImage == before);
    Form->ApplicationIdle();
    EXPECT_FALSE(Form->MapImage == before) << "the band stays while the pointer is over the map";

    QCursor::setPos(Form->PageControl1->Widget()->mapToGlobal(QPoint(300, 10)));  // over the tabs
    Form->ApplicationIdle();
    EXPECT_EQ(s.EdgeScrollDirection, 4);
    EXPECT_EQ(s.MousePos.x, s.MouseDownPos.x);
    EXPECT_EQ(s.MousePos.y, s.MouseDownPos.y);
    EXPECT_TRUE(Form->MapImage == before);

    Press(420, 280, Qt::RightButton);
    Release(420, 280, Qt::RightButton);
    EXPECT_EQ(s.Dragging, 0);
    EXPECT_EQ(Form->S.FigureCount, Base);
}

TEST_F(FormDrawing, AWheelZoomMidDragKeepsTheStartAndMovesTheBandWithIt) {
    TDrawingState& s = Form->S;
    Form->BitBtn3->Click();
    MoveTo(100, 100);
    Press(100, 100);
    MoveTo(160, 130, Qt::LeftButton);
    const double startX = (100 + OX) * 1000.0 / s.Zoom, startY = 100 * 1000.0 / s.Zoom;
    QWidget* w = Form->PaintBox1->Widget();
    const QPointF at(100 + OX, 100);
    QWheelEvent wheel(at, w->mapToGlobal(at), {}, {0, 120}, Qt::LeftButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(w, &wheel);
    QApplication::processEvents();
    ASSERT_EQ(s.Zoom, 25);
    ASSERT_EQ(s.Dragging, 1);
    // The band starts again from the start point at the new zoom.
    const auto from = s.MouseDownPos;
    EXPECT_EQ((std::array{from.x, from.y}), (std::array{RoundToInt32(startX * 25 / 1000), RoundToInt32(startY * 25 / 1000)}));
    MoveTo(from.x + 40 - OX, from.y + 20, Qt::LeftButton);
    MoveTo(from.x + 80 - OX, from.y + 40, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(Form->MapPixel(from.x + 40, from.y + 20), 0x0000FF);
    Release(from.x + 80 - OX, from.y + 40);
    ASSERT_EQ(NewKinds(), (std::vector<std::int32_t>{fkLine}));
    const TDateRec& line = s.Fig(Base + 1);
    EXPECT_EQ((std::array{line.X1, line.Y1, line.X3, line.Y3}),
              (std::array{startX, startY, (from.x + 80) * 40.0, (from.y + 40) * 40.0}));
    QApplication::processEvents();
    const QImage shown = Form->MapImage.copy();
    Form->PaintMapImage();
    EXPECT_TRUE(Form->MapImage == shown) << "the band left pixels behind";
}

TEST_F(FormDrawing, TheRightButtonTakesBackOnlyWhenNothingIsInProgress) {
    TDrawingState& s = Form->S;
    int undos = 0;
    s.Tools.Ops.UndoLast = [&] { ++undos; };
    Form->BitBtn51->Click();
    Press(100, 100, Qt::RightButton);
    EXPECT_EQ(undos, 1);
    Click(100, 100);
    Press(100, 100, Qt::RightButton);  // before the first piece: the chain just ends
    EXPECT_EQ(undos, 1);
    EXPECT_EQ(s.FigureCount, Base);
    EXPECT_EQ(s.Dragging, 0);
}

}  // namespace
}  // namespace tarvek

int main(int argc, char** argv) { return tarvek::testing::RunGuiTests<QApplication>(argc, argv); }
