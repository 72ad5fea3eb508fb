// Zoom and scrolling on the live form, with the real scroll box.
#include <gtest/gtest.h>

#include <QApplication>

#include "form_test_support.h"
#include "view/zoom.h"

namespace tarvek {
namespace {

using testing::StartForm;
using testing::TProgramFolder;

TEST(FormZoom, ButtonsWheelAndTheirSteps) {
    TProgramFolder dir;
    dir.LayOutDefault();
    TScriptedUi ui;
    auto form = StartForm(dir, ui);
    ASSERT_TRUE(ui.Shown.empty());
    ASSERT_EQ(form->S.Zoom, 8);
    const int baseW = form->ScrollBox1->Width() - 36, baseH = form->ScrollBox1->Height() - 36;
    const std::int32_t before = form->S.HistoryCount;

    form->BitBtn1->Click();  // "拡大"
    QApplication::processEvents();
    EXPECT_EQ(form->S.Zoom, 10);
    EXPECT_EQ(form->PaintBox1->Width(), baseW * 10);
    EXPECT_EQ(form->PaintBox1->Height(), baseH * 10);
    ASSERT_EQ(form->S.HistoryCount, before + 2);
    EXPECT_EQ(form->S.History[static_cast<std::size_t>(before + 1)].Label, ScrollStepLabel);
    EXPECT_EQ(form->S.History[static_cast<std::size_t>(before + 2)].Label, ZoomStepLabel);
    // The middle of the view stays in the middle: the box scrolled to it.
    EXPECT_GT(form->ScrollBox1->HorzScrollPos(), 0);
    EXPECT_EQ(form->S.RecordedScrollPos.x, form->ScrollBox1->HorzScrollPos());

    bool handled = false;
    form->PaintBox1MouseWheel(0, 120, 100, 100, handled);
    form->PaintBox1MouseWheel(0, 120, 100, 100, handled);
    EXPECT_TRUE(handled);
    EXPECT_EQ(form->S.Zoom, 25);
    EXPECT_EQ(form->S.HistoryCount, before + 4);  // one pair for the whole wheel series

    form->BitBtn2->Click();  // "縮小"
    EXPECT_EQ(form->S.Zoom, 20);
    form->BitBtn54->Click();  // the loupe
    EXPECT_EQ(form->S.CurrentTool, 101);
    EXPECT_EQ(form->Label3->Caption(), "拡大鏡　左クリック・範囲ドラックで拡大　右クリックで縮小");
}

// A plot the ledger asks for is shown at zoom 2 (the drawing was saved at 8, step 5): the
// buttons step on from 2, so "縮小" makes the map smaller and "拡大" goes to the next step.
TEST(FormZoom, AfterARequestedPlotTheButtonsStepOnFromZoomTwo) {
    TProgramFolder dir;
    dir.LayOutDefault();
    dir.WriteFreshRequest(TProgramFolder::Drawing, "41");
    TScriptedUi ui;
    auto form = StartForm(dir, ui);
    ASSERT_TRUE(ui.Shown.empty());
    ASSERT_EQ(form->S.CurrentHitIndex, 2);
    ASSERT_EQ(form->S.Zoom, 2);
    form->BitBtn2->Click();  // "縮小"
    EXPECT_EQ(form->S.Zoom, 1);
    form->BitBtn1->Click();  // "拡大"
    EXPECT_EQ(form->S.Zoom, 2);
    form->BitBtn1->Click();
    EXPECT_EQ(form->S.Zoom, 4);
}

}  // namespace
}  // namespace tarvek

namespace tarvek {
namespace {

// The sample temple as the map shows it: what a clerk sees, and the colours picking
// relies on.
TEST(FormMap, TheSampleTempleIsPaintedInItsColours) {
    TProgramFolder dir;
    std::filesystem::copy(TARVEK_SAMPLES "/temple", dir.Path, std::filesystem::copy_options::recursive);
    TScriptedUi ui;
    auto form = testing::StartForm(dir, ui);
    ASSERT_TRUE(ui.Shown.empty());
    ASSERT_EQ(form->S.Zoom, 10);
    form->PaintMapImage();
    testing::SaveShot(form->MapImage, "map-zoom10.png");

    // Record 37 is a free plot from (39000, 21000) to (43000, 24000): filled with its
    // brush; record 38 next to it is owned: an outline on the paper.
    EXPECT_EQ(form->MapPixel(410, 225), 7321527);
    EXPECT_EQ(form->MapPixel(360, 225), 0xFFFFFF);
    EXPECT_EQ(form->MapPixel(390, 225), 0x000000);  // the free plot's left edge

    form->S.Fig(37).Selected = 1;
    form->PaintMapImage();
    EXPECT_EQ(form->MapPixel(390, 225), 0x00FF00);  // a selected figure is lime on the screen

    while (form->S.Zoom > 1) ASSERT_TRUE(ZoomOutStep(form->S));
    form->PaintMapImage();
    testing::SaveShot(form->MapImage, "map-zoom1.png");
    while (form->S.Zoom < 20) ASSERT_TRUE(ZoomInStep(form->S));
    form->S.MousePos = {0, 0};
    form->PaintMapImage();
    testing::SaveShot(form->MapImage, "map-zoom20.png");
    form->SetScrollPos(39000 * 20 / 1000 - 100, 21000 * 20 / 1000 - 100);
    form->PaintMapImage();
    // The same free plot at zoom 20, 100 pixels into the view.
    EXPECT_EQ(form->MapPixel(39000 * 20 / 1000 + 40, 21000 * 20 / 1000 + 30), 7321527);
}

}  // namespace
}  // namespace tarvek
