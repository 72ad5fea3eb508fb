// The live form with the sample temple: the idle pass in real event loops (modal ones
// too), the text tool's box, a block placed through the niche-count dialog, the colour
// buttons of the last page and the hints.
#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QDialog>
#include <QEventLoop>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTimer>

#include <cstdlib>

#include "document/view_settings.h"
#include "editing/figure_creation.h"
#include "forms/hako_set.h"
#include "platform/numbers.h"
#include "view/idle.h"
#include "view/zoom.h"
#include "form_test_support.h"
#include "jpeg_test_support.h"
#include "gui_test_main.h"
#include "scripted_dialogs.h"

namespace tarvek {
namespace {

using testing::StartForm;
using testing::TProgramFolder;
using testing::TScriptedDialogs;

// Idle passes run where the dispatcher is about to wait, so only a loop that blocks
// runs them.
void RunIdle(int ms = 60) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

class FormBlocks : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy(TARVEK_SAMPLES "/temple", Dir.Path, std::filesystem::copy_options::recursive);
        Ui.ReturnPath = Dir.File("戻し.txt");
        Form = StartForm(Dir, Ui);
        ASSERT_TRUE(Ui.Shown.empty());
    }
    const Trireki& Top() const { return Form->S.History[static_cast<std::size_t>(Form->S.HistoryCount)]; }
    // The drawing page beside the temple's figures, at zoom 20, without mesh snap.
    void OnEmptyPaper() {
        Form->ComboBox5->SetItemIndex(1);
        Form->PageControl1->UserSelectTab(3);
        while (Form->S.Zoom < 20) ASSERT_TRUE(ZoomInStep(Form->S));
        Form->S.MousePos = {0, 0};
        Form->SetScrollPos(OX, 0);
        ASSERT_EQ(Form->HorzScrollPos(), OX);
        QApplication::processEvents();
    }
    void Mouse(QEvent::Type type, Qt::MouseButton button, int x, int y, Qt::MouseButtons held) {
        QWidget* w = Form->PaintBox1->Widget();
        const QPointF local(x, y);
        QMouseEvent e(type, local, w->mapToGlobal(local), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &e);
    }
    void Click(int x, int y) {
        Mouse(QEvent::MouseMove, Qt::NoButton, x, y, {});
        Mouse(QEvent::MouseButtonPress, Qt::LeftButton, x, y, Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, x, y, {});
    }
    void TypeIntoBox(int key, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(Form->Memo1->Editor(), &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(Form->Memo1->Editor(), &release);
    }
    void Shot(const std::string& name, const QImage& image) {
        testing::SaveShot(image, name);
    }

    static constexpr int OX = 2000;
    TProgramFolder Dir;
    testing::TTakingLedgerUi Ui;
    std::unique_ptr<TForm_zumenn> Form;
};

// ---- The idle pass ----------------------------------------------------------------------

TEST_F(FormBlocks, AResizeIsOneStepAndTheStartItselfNone) {
    TDrawingState& s = Form->S;
    ASSERT_TRUE(Form->IdleHandlerInstalled());
    const std::int32_t started = s.HistoryCount;
    RunIdle();
    EXPECT_EQ(s.HistoryCount, started) << "the window's own first size is no step";
    const int w = Form->WindowWidth(), h = Form->WindowHeight();
    Form->SetWindowBounds(Form->WindowLeft(), Form->WindowTop(), w + 40, h + 10);
    RunIdle();
    ASSERT_EQ(s.HistoryCount, started + 1);
    EXPECT_EQ(Top().Label, FormSizeStepLabel);
    EXPECT_EQ((std::array{*Top().Data.Number(0), *Top().Data.Number(1)}), (std::array<std::int64_t, 2>{w, h}));
}

TEST_F(FormBlocks, AScrollWhileAModalDialogIsOpenIsRecorded) {
    TDrawingState& s = Form->S;
    while (s.Zoom < 20) ASSERT_TRUE(ZoomInStep(s));
    QApplication::processEvents();
    RunIdle();
    const std::int32_t before = s.HistoryCount;
    const int x = Form->HorzScrollPos(), y = Form->VertScrollPos();
    QDialog dialog(Form->Widget());
    QTimer::singleShot(0, &dialog, [&] { Form->SetScrollPos(x + 120, y + 80); });
    QTimer::singleShot(150, &dialog, &QDialog::accept);
    dialog.exec();
    ASSERT_EQ(s.HistoryCount, before + 1);
    EXPECT_EQ(Top().Label, ScrollStepLabel);
    EXPECT_EQ((std::array{*Top().Data.Number(0), *Top().Data.Number(1)}), (std::array<std::int64_t, 2>{x, y}));
}

TEST(FormIdle, AFailedStartInstallsNoIdlePass) {
    TProgramFolder dir;
    dir.LayOutDefault();
    std::filesystem::remove(dir.DataFile());
    TScriptedUi ui;
    auto form = StartForm(dir, ui);
    ASSERT_EQ(form->S.StartupError, 1);
    EXPECT_FALSE(form->IdleHandlerInstalled());
    const std::int32_t steps = form->S.HistoryCount;
    form->SetWindowBounds(10, 10, 1200, 700);
    RunIdle();
    EXPECT_EQ(form->S.HistoryCount, steps);
}

TEST_F(FormBlocks, HoveringAPlotOnTheSearchPageShowsItsHousehold) {
    TDrawingState& s = Form->S;
    ASSERT_EQ(Form->ActivePageIndex(), 0);
    std::int32_t plot = 0;
    for (std::int32_t i = 1; i <= s.FigureCount && !plot; ++i) {
        const TDateRec& r = s.Fig(i);
        if (!r.Deleted && r.IsPlot && !r.SetAside && r.HouseName != "空" && !r.HouseName.empty()) plot = i;
    }
    ASSERT_GT(plot, 0) << "the sample has an assigned plot";
    const TDateRec& r = s.Fig(plot);
    const int cx = RoundToInt32((r.BoxX1 + r.BoxX2) / 2 * s.Zoom / 1000), cy = RoundToInt32((r.BoxY1 + r.BoxY2) / 2 * s.Zoom / 1000);
    // The first plot in store order under the pointer is the one shown.
    std::int32_t first = 0;
    for (std::int32_t i = 1; i <= s.FigureCount && !first; ++i) {
        const TDateRec& q = s.Fig(i);
        if (!q.Deleted && IsPlotRecord(q) && !q.SetAside && q.BoxX1 * s.Zoom / 1000 < cx && cx < q.BoxX2 * s.Zoom / 1000 &&
            q.BoxY1 * s.Zoom / 1000 < cy && cy < q.BoxY2 * s.Zoom / 1000)
            first = i;
    }
    ASSERT_EQ(first, plot);
    Mouse(QEvent::MouseMove, Qt::NoButton, cx, cy, {});
    RunIdle();
    EXPECT_EQ(Form->Edit_name->Text(), r.HouseName);
    EXPECT_EQ(Form->Edit_no->Text(), r.PlotNumber);
    Mouse(QEvent::MouseMove, Qt::NoButton, 2, 2, {});
    RunIdle();
    EXPECT_EQ(Form->Edit_name->Text(), "");
}

TEST_F(FormBlocks, TheSnapCircleFollowsThePointOnTheDrawingPage) {
    OnEmptyPaper();
    TDrawingState& s = Form->S;
    // A figure point at (OX + 200, 150): what the handle finder reports near it.
    s.Tools.Ops.FindHandleUnderCursor = [&s](int x, int y) {
        const bool near = std::abs(x - (OX + 200)) < 5 && std::abs(y - 150) < 5;
        s.Tools.SnapHit = near ? 1 : 0;
        s.SnapGuidePxX = near ? OX + 200 : -1;
        s.Tools.SnapGuidePxY = near ? 150 : -1;
        s.Tools.SnapGuidePos = near ? TToolState::TPointD{(OX + 200) * 50.0, 150 * 50.0} : TToolState::TPointD{};
    };
    // The markers' guide lines cross the circle's pixels: this test looks at the circle alone.
    s.Tools.Ops.DrawPointMarkers = {};
    RunIdle();
    const QImage before = Form->MapImage.copy();
    Mouse(QEvent::MouseMove, Qt::NoButton, OX + 202, 151, {});
    RunIdle();
    EXPECT_EQ(s.Tools.SnapCircleShown, 1);
    EXPECT_EQ(Form->MapPixel(OX + 195, 150), 0x0000FF);
    EXPECT_EQ(s.Tools.PointMarkers[1], (TToolState::TPointD{(OX + 200) * 50.0, 150 * 50.0}));
    Shot("snap-circle.png", Form->MapImage.copy(0, 0, 400, 300));
    // A repaint takes it off the image; the next pass puts it back.
    Form->PaintBox1->Widget()->repaint();
    EXPECT_EQ(Form->MapPixel(OX + 195, 150), 0xFFFFFF);
    RunIdle();
    EXPECT_EQ(Form->MapPixel(OX + 195, 150), 0x0000FF);
    Mouse(QEvent::MouseMove, Qt::NoButton, OX + 300, 151, {});
    RunIdle();
    EXPECT_EQ(s.Tools.SnapCircleShown, 0);
    EXPECT_TRUE(Form->MapImage == before);
}

// ---- The text tool -----------------------------------------------------------------------

TEST_F(FormBlocks, WhatIsTypedIntoTheBoxIsPlacedWhereItWasTyped) {
    OnEmptyPaper();
    TDrawingState& s = Form->S;
    const std::int32_t base = s.FigureCount;
    Form->BitBtn5->Click();  // "文字"
    EXPECT_EQ(Form->Label3->Caption(), "テキスト文字を挿入します。（漢字のみ対応）");
    Click(OX + 100, 100);
    ASSERT_TRUE(Form->Memo1->Visible());
    EXPECT_FALSE(Form->PageControl1->Enabled());
    // At the press, half a mesh step higher, over the map.
    EXPECT_EQ((std::array{Form->Memo1->Left(), Form->Memo1->Top()}),
              (std::array{100 + Form->ScrollBox1->Left(), 90 + Form->ScrollBox1->Top()}));
    EXPECT_EQ(Form->Memo1->Height(), (8 + 5) * 20);
    TypeIntoBox(0, QStringLiteral("本"));
    TypeIntoBox(0, QStringLiteral("堂"));
    TypeIntoBox(0, QString::fromUcs4(U"\U0001F600", 1));  // refused
    EXPECT_EQ(Form->Memo1->Text(), "本堂");
    EXPECT_GT(Form->Memo1->Width(), 160);  // as wide as its text, wider than when empty
    QApplication::processEvents();
    Shot("text-box.png", Form->Widget()->grab().toImage());
    // An input method composing: its Enter only ends the composition.
    QInputMethodEvent compose(QStringLiteral("いん"), {});
    QCoreApplication::sendEvent(Form->Memo1->Editor(), &compose);
    TypeIntoBox(Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(s.FigureCount, base);
    EXPECT_TRUE(Form->Memo1->Visible());
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("院"));
    QCoreApplication::sendEvent(Form->Memo1->Editor(), &commit);
    EXPECT_EQ(Form->Memo1->Text(), "本堂院");
    TypeIntoBox(Qt::Key_Return, QStringLiteral("\r"));
    ASSERT_EQ(s.FigureCount, base + 1);
    const TDateRec& r = s.Fig(base + 1);
    EXPECT_EQ(r.Kind, fkText);
    EXPECT_EQ(r.Text, "本堂院");
    EXPECT_EQ((std::array{r.X1, r.Y1}), (std::array{(OX + 100) * 50.0, 90 * 50.0}));
    EXPECT_GT(r.X3, r.X1);
    EXPECT_FALSE(Form->Memo1->Visible());
    EXPECT_TRUE(Form->PageControl1->Enabled());
    EXPECT_EQ(Top().Label, CreationStepLabel);
    QApplication::processEvents();
    Shot("text-placed.png", Form->MapImage);
}

// ---- The niche-count dialog and a block ---------------------------------------------------

TEST_F(FormBlocks, ABlockSetInTheDialogIsPlacedAndReachesTheLedger) {
    OnEmptyPaper();
    TDrawingState& s = Form->S;
    Thako* hako = Form->BlockDialog();
    ASSERT_NE(hako, nullptr);
    EXPECT_FALSE(hako->Visible());
    Form->BitBtn8->Click();
    ASSERT_TRUE(hako->Visible());
    EXPECT_TRUE(hako->StayOnTop());
    EXPECT_EQ(hako->Caption(), "墓地個数");
    EXPECT_EQ(hako->ComboBox1->Text(), "4");
    EXPECT_EQ(hako->ComboBox6->Text(), "10");
    hako->ComboBox4->SetText("2");   // typed without a change event yet ...
    hako->ComboBox5->UserSelect(1);  // "2"
    hako->ComboBox6->UserSelect(2);  // "3": every box is read again
    EXPECT_EQ((std::array{s.BlockColumns, s.BlockRows, s.BlockGapY}), (std::array<std::int32_t, 3>{2, 3, 2}));
    hako->ComboBox1->SetText("0");  // no plot of size 0
    hako->ComboBox1Change();
    EXPECT_EQ(s.BlockUnitWidth, 4);
    hako->ComboBox1->SetText("4");
    QApplication::processEvents();
    Shot("hako.png", hako->Widget()->grab().toImage());

    const std::int32_t base = s.FigureCount, maxId = s.MaxPlotId;
    Form->BitBtn6->Click();  // "複厨子"
    Mouse(QEvent::MouseMove, Qt::NoButton, OX + 100, 100, {});
    Click(OX + 100, 100);
    ASSERT_EQ(s.FigureCount, base + 6);
    for (std::int32_t k = 0; k < 6; ++k) {
        const TDateRec& r = s.Fig(base + 1 + k);
        EXPECT_EQ(r.PlotId, maxId + 1 + k);
        EXPECT_EQ((std::array{r.X1, r.Y1}), (std::array{(OX + 100) * 50.0 + (k % 2) * 5000, 100 * 50.0 + (k / 2) * 5000}));
    }
    EXPECT_EQ(*Top().Data.Number(0), 6);
    const std::vector<std::string> lists = Ui.Lists();
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(lists[0].substr(0, lists[0].find("\r\n")), "-999,-999,,,,-999,-999,追加");
    EXPECT_EQ(std::count(lists[0].begin(), lists[0].end(), '\n'), 7);
    Form->PaintMapImage();
    Shot("block-2x3.png", Form->MapImage);
    // The placed plots are drawn where they lie: their outline in the pen colour.
    EXPECT_EQ(Form->MapPixel(OX + 100, 130), 0x000000);
    Form->Close();
    EXPECT_FALSE(hako->Visible());
}

TEST_F(FormBlocks, APlotSizeTooLargeToDoubleKeepsTheRangeAndStillPlaces) {
    OnEmptyPaper();
    TDrawingState& s = Form->S;
    Thako* hako = Form->BlockDialog();
    Form->BitBtn8->Click();
    hako->ComboBox1->SetText("1500000000");
    hako->ComboBox1Change();
    ASSERT_EQ(s.BlockUnitWidth, 1500000000);
    const std::int32_t steps = s.HistoryCount;
    const double x = s.Fig(1).X1;
    const int beeps = Ui.Beeps;
    Form->hanni02->Click();  // "作図縮小" would double the width past 32 bits
    EXPECT_EQ(Ui.Beeps, beeps + 1);
    EXPECT_EQ((std::array{s.BlockUnitWidth, s.DrawingScale, s.HistoryCount}),
              (std::array<std::int32_t, 3>{1500000000, 1000, steps}));
    EXPECT_EQ(s.Fig(1).X1, x);
    // "作図拡大" halves it, "作図縮小" then doubles it back exactly.
    Form->hanni01->Click();
    EXPECT_EQ(s.BlockUnitWidth, 750000000);
    Form->hanni02->Click();
    EXPECT_EQ((std::array{s.BlockUnitWidth, s.DrawingScale}), (std::array<std::int32_t, 2>{1500000000, 1000}));
    EXPECT_EQ(s.Fig(1).X1, x);
    EXPECT_EQ(Ui.Beeps, beeps + 1);

    // The plot of that width is still placed.
    const std::int32_t base = s.FigureCount;
    Form->BitBtn45->Click();  // "単厨子"
    Click(OX + 100, 100);
    ASSERT_EQ(s.FigureCount, base + 1);
    EXPECT_EQ(s.Fig(base + 1).X2 - s.Fig(base + 1).X1, 1500000000.0 * 1000);
    EXPECT_EQ(Ui.Beeps, beeps + 1);
    Form->Close();
}

// ---- Colours and hints -----------------------------------------------------------------

TEST_F(FormBlocks, TheColourButtonsShowSaveAndCancelCleanly) {
    TDrawingState& s = Form->S;
    TScriptedDialogs dialogs;
    const TColor panel = Form->Panel1->Color(), form = Form->Color();
    dialogs.Answer = false;
    for (TBitBtn* b : {Form->BitBtn11, Form->BitBtn13, Form->BitBtn16, Form->BitBtn17}) b->Click();
    EXPECT_EQ(dialogs.Ran.size(), 4u);
    EXPECT_EQ((std::array{Form->Panel1->Color(), Form->Color()}), (std::array{panel, form}));
    EXPECT_EQ(s.DrawingUnchanged, 1);

    dialogs.Answer = true;
    dialogs.Color = 0x112233;
    Form->BitBtn11->Click();  // "Panel"
    dialogs.Color = 0x445566;
    Form->BitBtn13->Click();  // "Form"
    dialogs.Color = 0x778899;
    Form->BitBtn16->Click();  // " Gridline "
    dialogs.Color = 0x0A0B0C;
    Form->BitBtn17->Click();  // "Ceterline"
    EXPECT_EQ(Form->Panel1->Color(), 0x112233);
    EXPECT_EQ(Form->Color(), 0x445566);
    for (TMemo* m : Form->CaptionMemos()) EXPECT_EQ(m->Color(), 0x445566) << m->Name;
    EXPECT_EQ((std::array{s.MeshColor, s.CenterLineColor}), (std::array<TColor, 2>{0x778899, 0x0A0B0C}));
    EXPECT_EQ(s.DrawingUnchanged, 0);

    // The paper: a picture, then a file that is none.
    const std::string picture = Dir.File("紙.png"), text = Dir.File("紙.txt");
    QImage paper(20, 20, QImage::Format_RGB32);
    paper.fill(Qt::yellow);
    ASSERT_TRUE(paper.save(QString::fromStdString(picture)));
    testing::WriteBytes(text, "no picture");
    // A picture whose path CP932 cannot hold: the settings would keep "?" in its place.
    const std::string unheld = Dir.File("紙😀.png");
    ASSERT_TRUE(paper.save(QString::fromStdString(unheld)));
    Ui.Answers = {mrYes, mrYes, mrYes};
    dialogs.FileNames = {picture, text, unheld};
    Form->BitBtn12->Click();
    EXPECT_EQ(s.BackgroundPicturePath, picture);
    EXPECT_FALSE(Form->Image1->Empty());
    const int beeps = Ui.Beeps;
    Form->BitBtn12->Click();
    EXPECT_EQ(Ui.Beeps, beeps + 1);
    EXPECT_EQ(s.BackgroundPicturePath, picture);
    EXPECT_FALSE(Form->Image1->Empty());
    Form->BitBtn12->Click();
    EXPECT_EQ(Ui.Beeps, beeps + 2);
    EXPECT_EQ(s.BackgroundPicturePath, picture);
    ASSERT_GE(Ui.Shown.size(), 2u);
    EXPECT_EQ(Ui.Shown[0].Text, "用紙に画像を貼り付けますか？\r画像を選択する[はい]　画像を消去する[いいえ]");

    Ui.Answers = {mrNo};  // keep the drawing as it was; the view is written all the same
    Form->Close();
    TLines lines;
    ASSERT_TRUE(ReadTextLines(Dir.File("明星寺墓地本堂裏墓地_disp.txt"), lines));
    ASSERT_GE(lines.size(), 22u);
    EXPECT_EQ(lines[15], IntToStr(0x445566));
    EXPECT_EQ(lines[16], IntToStr(0x112233));
    EXPECT_EQ(lines[17], picture);
    EXPECT_EQ(lines[20], IntToStr(0x778899));
    EXPECT_EQ(lines[21], IntToStr(0x0A0B0C));
}

TEST_F(FormBlocks, DefaultColoursEmptyThePaperAndNoTakesThePictureOff) {
    TDrawingState& s = Form->S;
    TScriptedDialogs dialogs;
    dialogs.Color = 0x123456;
    Form->BitBtn13->Click();
    const std::string picture = Dir.File("紙.png");
    QImage paper(20, 20, QImage::Format_RGB32);
    paper.fill(Qt::yellow);
    ASSERT_TRUE(paper.save(QString::fromStdString(picture)));
    dialogs.FileName = picture;
    Ui.Answers = {mrYes};
    Form->BitBtn12->Click();
    ASSERT_FALSE(Form->Image1->Empty());
    Form->BitBtn20->Click();  // "Defalt": no dialog
    EXPECT_EQ(dialogs.Ran.size(), 2u);
    EXPECT_EQ(s.BackgroundPicturePath, "");
    EXPECT_TRUE(Form->Image1->Empty());
    EXPECT_EQ((std::array{Form->Panel1->Color(), Form->Color(), Form->Memo19->Color()}),
              (std::array<TColor, 3>{0xEAF5F7, 0xEAF5F7, 0xEAF5F7}));
    EXPECT_EQ((std::array{s.MeshColor, s.CenterLineColor}), (std::array<TColor, 2>{clBtnFace, 0x808080}));
    // "Paper " answered No takes the picture off.
    Ui.Answers = {mrYes};
    Form->BitBtn12->Click();
    ASSERT_FALSE(Form->Image1->Empty());
    Ui.Answers = {mrNo};
    Form->BitBtn12->Click();
    EXPECT_TRUE(Form->Image1->Empty());
    EXPECT_EQ(s.BackgroundPicturePath, "");
}

// The paper's picture is read by its file's extension: "jpg" and "jpeg" by the JPEG decoder,
// the rest by the toolkit. A JPEG cut short, or bytes of another format under a JPEG name,
// are refused as a file that is no picture is.
TEST_F(FormBlocks, ThePaperPictureIsDecodedByItsExtension) {
    TDrawingState& s = Form->S;
    TScriptedDialogs dialogs;
    const QRgb orange = qRgb(255, 128, 0), teal = qRgb(0, 128, 128), blue = qRgb(40, 60, 220);
    QImage plain(40, 30, QImage::Format_RGB32);
    plain.fill(orange);
    const std::string jpeg = testing::EncodeJpeg(plain);
    plain.fill(blue);
    const std::string progressive = testing::EncodeJpeg(plain, testing::TJpegLayout::Progressive);
    plain.fill(teal);
    QByteArray png;
    QBuffer buffer(&png);
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly) && plain.save(&buffer, "PNG"));
    const std::string pngBytes(png.constData(), static_cast<std::size_t>(png.size()));

    struct TCase {
        const char* File;
        std::string Bytes;
        bool Shown;
        QRgb Paper;
    };
    const TCase cases[] = {
        {"紙.JPG", jpeg, true, orange},
        {"紙.Jpeg", progressive, true, blue},
        {"紙.png", pngBytes, true, teal},
        {"半分.jpg", jpeg.substr(0, jpeg.size() / 2), false, 0},
        {"終わり無し.jpeg", jpeg.substr(0, jpeg.size() - 2), false, 0},  // its end marker lost
        {"形式違い.jpg", pngBytes, false, 0},
        {"空.jpg", "", false, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.File);
        Ui.Answers = {mrNo};  // the paper bare first
        Form->BitBtn12->Click();
        ASSERT_TRUE(Form->Image1->Empty());
        const std::string path = Dir.File(c.File);
        testing::WriteBytes(path, c.Bytes);
        Ui.Answers = {mrYes};
        dialogs.FileName = path;
        const int beeps = Ui.Beeps;
        Form->BitBtn12->Click();
        EXPECT_EQ(Form->Image1->Empty(), !c.Shown);
        EXPECT_EQ(s.BackgroundPicturePath, c.Shown ? path : "");
        EXPECT_EQ(Ui.Beeps, beeps + (c.Shown ? 0 : 1));
        Form->PaintMapImage();
        // Paper between the temple's figures; the picture is stretched over the view.
        const TColor at = Form->MapPixel(360, 225);
        const QRgb painted = qRgb(at & 0xFF, (at >> 8) & 0xFF, (at >> 16) & 0xFF);
        if (c.Shown) {
            EXPECT_TRUE(testing::NearColour(painted, c.Paper)) << std::hex << at;
        } else {
            EXPECT_EQ(at, 0xFFFFFF);
        }
    }
}

TEST_F(FormBlocks, HintsPasteDirectionAndCaptions) {
    Form->BitBtn7->OnMouseEnter();
    EXPECT_EQ(Form->Label3->Caption(), "選択（マウスドラッグで範囲選択）");
    Form->BitBtn8->OnMouseEnter();
    EXPECT_EQ(Form->Label3->Caption(), "墓地の配置個数を別ウインドで設定します。");
    Form->RadioGroup1->UserSelect(1);
    EXPECT_EQ(Form->S.Tools.PasteDirection, 1);
    Form->RadioGroup1->UserSelect(0);
    EXPECT_EQ(Form->S.Tools.PasteDirection, 0);
    for (TMemo* m : {Form->Memo6, Form->Memo8, Form->Memo19}) {
        Form->Edit_name->SetFocus();
        m->OnClick();
        EXPECT_TRUE(Form->Edit1->Focused()) << m->Name;
    }
}

}  // namespace
}  // namespace tarvek

int main(int argc, char** argv) { return tarvek::testing::RunGuiTests<QApplication>(argc, argv); }
