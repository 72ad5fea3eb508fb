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

}  // namespace
}  // namespace tarvek
