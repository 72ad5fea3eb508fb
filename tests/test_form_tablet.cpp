// The tablet edition on the real form offscreen, in a temporary program folder: its
// start on the sample temple, the ledger's requests, the buttons and keys below and over
// the map, the view lines it carries through, and the entry both programs share.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QWheelEvent>
#include <cstdlib>
#include <functional>
#include <optional>

#include "app/editor_main.h"
#include "document/drawing_file.h"
#include "form_test_support.h"
#include "gui_test_main.h"
#include "platform/numbers.h"
#include "platform/system.h"
#include "tablet/display_scale.h"
#include "tablet/tablet_edition.h"
#include "tablet/tablet_window.h"

namespace tarvek {
namespace {

using testing::Snapshot;
using testing::TProgramFolder;

constexpr const char* SampleDrawing = "明星寺墓地本堂裏墓地";
constexpr int SamplePaintWidth = 1060, SamplePaintHeight = 760;  // its view lines 5 and 6
constexpr int SamplePlot = 2;                                   // a plot of the sample with a household
constexpr const char* SampleHead = "西村　良一";                // the head of household 000001

std::unique_ptr<TForm_zumenn> StartTablet(const TProgramFolder& dir, TUserServices& ui) {
    auto form = std::make_unique<TForm_zumenn>(dir.Folder(), ui, TabletEdition());
    form->Show();
    QApplication::processEvents();
    return form;
}

// The sample temple, asked for with a target, its drawing saved at a zoom.
void LayOutSample(TProgramFolder& dir, const std::string& target = "", int zoom = 10) {
    std::filesystem::copy(TARVEK_SAMPLES "/temple", dir.Path, std::filesystem::copy_options::recursive);
    testing::WriteBytes(dir.File(SelectedDrawingFileName),
                        Utf8ToCp932("\"墓地\",\"\",\"" + target + "\",\"明星寺\",\"\",\"本堂裏墓地\"\r\n"));
    const std::string data = dir.File(std::string(SampleDrawing) + "_data.txt");
    TLines lines;
    ASSERT_TRUE(ReadTextLines(data, lines));
    const auto marker = std::find(lines.begin(), lines.end(), std::string(FormDataMarkerLine));
    ASSERT_NE(marker, lines.end());
    *(marker + 9) = IntToStr(zoom);
    ASSERT_TRUE(WriteTextLines(data, lines));
}

// No step of the tablet is ever recorded.
void ExpectNoHistory(const TDrawingState& s) {
    EXPECT_LE(s.HistoryCount, 1);
    for (const Trireki& step : s.History) EXPECT_TRUE(step.Label.empty() || step.Label == HistoryStopLabel) << step.Label;
}

TLines FigureLinesOf(const std::string& path) {
    TLines lines;
    EXPECT_TRUE(ReadTextLines(path, lines));
    return TLines(lines.begin(), std::find(lines.begin(), lines.end(), std::string(EndOfDataLine)));
}

// The figure lines the full editor writes for a drawing file as it was.
TLines FullEditorFigureLines(const std::string& dataFileBytes) {
    testing::TTempFolder dir;
    TScriptedUi ui;
    TDrawingState s(ui);
    testing::PointAtDrawing(s, dir.Folder(), "寺", "墓地", "図面");
    testing::WriteBytes(DrawingDataFileName(s, "図面"), dataFileBytes);
    EXPECT_TRUE(LoadDrawingData(s));
    EXPECT_TRUE(SaveDrawingFile(s, "図面").File);
    return FigureLinesOf(DrawingDataFileName(s, "図面"));
}

TEST(TabletStart, TheSampleTempleOpensMaximisedScaledAndOneStepIn) {
    struct TCase {
        const char* Target;
        int SavedZoom;
        int Zoom;
    };
    const TCase cases[] = {
        {"", 4, 20}, {"2", 4, 20}, {"-1", 4, 20}, {"", 50, 50}, {"2", 50, 20}, {"-1", 50, 50},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string("target '") + c.Target + "' saved at " + std::to_string(c.SavedZoom));
        TProgramFolder dir;
        LayOutSample(dir, c.Target, c.SavedZoom);
        TScriptedUi ui;
        auto form = StartTablet(dir, ui);
        TDrawingState& s = form->S;
        ASSERT_TRUE(ui.Shown.empty());
        EXPECT_TRUE(form->Widget()->isVisible());
        EXPECT_FALSE(form->StayOnTop());

        const QScreen* screen = QGuiApplication::primaryScreen();
        const QRect available = screen->availableGeometry();
        EXPECT_EQ(form->WindowLeft(), available.left());
        EXPECT_EQ(form->WindowTop(), available.top());
        EXPECT_EQ(form->WindowWidth(), available.width());
        EXPECT_LE(form->WindowHeight(), available.height());
        EXPECT_TRUE(form->Widget()->windowState() & Qt::WindowMaximized);
        // The button row keeps to the bottom, below the map.
        EXPECT_GE(form->BitBtn8->Top(), form->Panel1->Top() + form->Panel1->Height());
        EXPECT_EQ(form->ClientHeight() - form->BitBtn8->Top(), 430 - 372);

        // The map was laid out in the place the window took itself, before any late
        // maximising: its scroll box keeps the design's distances to the client edges.
        const TScreenRect place = TabletWindowBounds(
            {screen->geometry().left(), screen->geometry().top(), screen->geometry().width(),
             screen->geometry().height()},
            {available.left(), available.top(), available.width(), available.height()}, form->StatusBar1->Height());
        const QSize frame = form->Widget()->frameGeometry().size() - form->Widget()->geometry().size();
        EXPECT_EQ(s.ViewBaseWidth, place.Width - frame.width() - (716 - 685) - 16);
        EXPECT_EQ(s.ViewBaseHeight, place.Height - frame.height() - (430 - 314) - 16);
        EXPECT_EQ(s.ViewBaseWidth, form->ScrollBox1->Width() - 16);
        EXPECT_DOUBLE_EQ(s.Tablet.DisplayScaleX, DisplayScaleFactor(s.ViewBaseWidth, SamplePaintWidth));
        EXPECT_DOUBLE_EQ(s.Tablet.DisplayScaleY, DisplayScaleFactor(s.ViewBaseHeight, SamplePaintHeight));
        EXPECT_EQ(s.Zoom, c.Zoom);
        EXPECT_EQ(form->ActivePageIndex(), 0);

        const std::string target = c.Target;
        EXPECT_EQ(form->BitBtn3->Visible(), target == "-1");
        if (target == "-1") {
            EXPECT_EQ(form->BitBtn3->Caption(), std::string(SampleHead) + "にセット");
            EXPECT_TRUE(form->StringGrid2->Visible());
            EXPECT_EQ(form->StringGrid2->Cells(0, 1), "000001");
            EXPECT_EQ(s.LedgerTargetId, 0);
        }
        if (target == "2") {
            ASSERT_EQ(s.SelectedCount, 1);
            EXPECT_EQ(s.Fig(s.SelectedList[1]).PlotId, SamplePlot);
            EXPECT_EQ(form->Edit_no->Text(), "西1-02");
        }
        ExpectNoHistory(s);
        EXPECT_EQ(s.LedgerUnchanged, 1);
        EXPECT_EQ(s.DrawingUnchanged, 1);
        if (c.SavedZoom == 4 && target == "2") {
            QApplication::processEvents();
            const QImage shot = form->Widget()->grab().toImage();
            EXPECT_FALSE(shot.isNull());
            testing::SaveShot(shot, "tablet.png");
        }
    }
}

TEST(TabletStart, AFailedOrStaleStartIsRefusedAsInTheFullEditor) {
    struct TCase {
        const char* Name;
        std::function<void(TProgramFolder&)> Break;
        const char* Message;
    };
    const TCase cases[] = {
        {"drawing file missing",
         [](TProgramFolder& d) { std::filesystem::remove(d.File(std::string(SampleDrawing) + "_data.txt")); },
         FigureReadErrorMessage},
        {"request already answered",
         [](TProgramFolder& d) {
             testing::WriteBytes(d.File(SelectedDrawingFileName),
                                 Utf8ToCp932("\"墓地\",\"変更有\",\"0\",\"明星寺\",OK,\"本堂裏墓地\"\r\n"));
         },
         StaleRequestMessage},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TProgramFolder dir;
        LayOutSample(dir);
        c.Break(dir);
        const auto files = Snapshot(dir.Path);
        TScriptedUi ui;
        auto form = StartTablet(dir, ui);
        ASSERT_EQ(ui.Shown.size(), 1u);
        EXPECT_EQ(ui.Shown[0].Text, c.Message);
        EXPECT_FALSE(form->Widget()->isVisible());
        EXPECT_EQ(Snapshot(dir.Path), files);
    }
}

TEST(TabletStart, TheFiguresStandScaledUntilTheSaveAtClosing) {
    TProgramFolder dir;
    LayOutSample(dir);
    const std::string data = dir.File(std::string(SampleDrawing) + "_data.txt");
    const std::string before = testing::ReadBytes(data);
    TScriptedUi ui;
    auto form = StartTablet(dir, ui);
    TDrawingState& s = form->S;

    TScriptedUi plainUi;
    TDrawingState stored(plainUi);
    testing::PointAtDrawing(stored, dir.Folder(), "明星寺", "墓地", "本堂裏墓地");
    ASSERT_TRUE(LoadDrawingData(stored));
    ASSERT_EQ(s.FigureCount, stored.FigureCount);
    for (std::int32_t i = 1; i <= s.FigureCount; ++i) {
        EXPECT_DOUBLE_EQ(s.Fig(i).X3, stored.Fig(i).X3 * s.Tablet.DisplayScaleX);
        EXPECT_DOUBLE_EQ(s.Fig(i).BoxY2, stored.Fig(i).BoxY2 * s.Tablet.DisplayScaleY);
    }
    // Saved, the figures are what the full editor writes of the drawing as it was.
    s.DrawingUnchanged = 0;
    ui.Answers = {mrYes};
    form->Close();
    ASSERT_EQ(ui.Shown.size(), 1u);
    EXPECT_EQ(FigureLinesOf(data), FullEditorFigureLines(before));
}

// The tablet started on the sample temple, with the ledger's request file beside it.
class TabletRequests : public ::testing::Test {
protected:
    TabletRequests() {
        LayOutSample(Dir, "", 4);
        Form = StartTablet(Dir, Ui);
    }
    std::string RequestPath() const { return Dir.File("追加.txt"); }
    void Request(const std::string& line) {
        testing::WriteBytes(RequestPath(), line + "\r\n");
        Form->Timer1Timer();
    }

    TProgramFolder Dir;
    TScriptedUi Ui;
    std::unique_ptr<TForm_zumenn> Form;
};

TEST_F(TabletRequests, APlotStepsTheZoomAHouseholdGetsTheButton) {
    TDrawingState& s = Form->S;
    ASSERT_EQ(s.ZoomStep, 7);
    const int steps[] = {8, 9, 9};
    const int zooms[] = {25, 50, 50};
    for (int k = 0; k < 3; ++k) {
        Request(IntToStr(SamplePlot));
        EXPECT_EQ(s.ZoomStep, steps[k]);
        EXPECT_EQ(s.Zoom, zooms[k]);
        EXPECT_EQ(testing::ReadBytes(RequestPath()), "");
        ASSERT_EQ(s.SelectedCount, 1);
        EXPECT_EQ(s.Fig(s.SelectedList[1]).PlotId, SamplePlot);
        EXPECT_EQ(Form->ActivePageIndex(), 0);
    }

    Request("-1");
    EXPECT_EQ(s.Zoom, 50);
    EXPECT_EQ(s.SelectedCount, 0);
    EXPECT_EQ(Form->ActivePageIndex(), 0);
    EXPECT_TRUE(Form->BitBtn3->Visible());
    EXPECT_EQ(Form->BitBtn3->Caption(), std::string(SampleHead) + "にセット");
    EXPECT_TRUE(Form->StringGrid2->Visible());
    EXPECT_FALSE(Form->StringGrid1->Visible());
    EXPECT_FALSE(Form->StringGrid4->Visible());

    Request(IntToStr(SamplePlot));
    EXPECT_FALSE(Form->BitBtn3->Visible());
    ExpectNoHistory(s);
    EXPECT_TRUE(Form->Timer1->Enabled());
}

TEST_F(TabletRequests, ARequestWaitsForAnOpenBoxAndOneThatIsNoNumberStopsThePolling) {
    TDrawingState& s = Form->S;
    Request(IntToStr(SamplePlot));
    const int zoom = s.Zoom;

    s.HouseholdOps.QuestionsOpen = 1;
    Request("-1");
    EXPECT_EQ(testing::ReadBytes(RequestPath()), "-1\r\n");
    EXPECT_FALSE(Form->BitBtn3->Visible());
    EXPECT_EQ(s.SelectedCount, 1);
    s.HouseholdOps.QuestionsOpen = 0;
    Form->Timer1Timer();
    EXPECT_TRUE(Form->BitBtn3->Visible());
    EXPECT_EQ(testing::ReadBytes(RequestPath()), "");

    Request(IntToStr(SamplePlot));
    const int zoomBefore = s.Zoom;
    Request("abc");
    EXPECT_EQ(testing::ReadBytes(RequestPath()), "abc\r\n");
    EXPECT_FALSE(Form->Timer1->Enabled());
    EXPECT_EQ(s.Zoom, zoomBefore);
    EXPECT_EQ(s.SelectedCount, 1);
    (void)zoom;
}

// -2147483648 has no positive counterpart: in either request file it names no household,
// and the drawing request gets 0 back.
TEST(RequestTarget, TheOneNegativeWithoutACounterpartNamesNoHouseholdInEitherEdition) {
    for (const bool tablet : {false, true}) {
        SCOPED_TRACE(tablet ? "tablet" : "full editor");
        TProgramFolder dir;
        LayOutSample(dir, "-2147483648");
        TScriptedUi ui;
        auto form = tablet ? StartTablet(dir, ui) : testing::StartForm(dir, ui);
        TDrawingState& s = form->S;
        EXPECT_TRUE(ui.Shown.empty());
        EXPECT_EQ(s.LedgerTargetId, 0);
        EXPECT_EQ(form->ActivePageIndex(), 0);
        EXPECT_FALSE(form->StringGrid2->Visible());
        if (tablet) {
            EXPECT_FALSE(form->BitBtn3->Visible());
        }

        testing::WriteBytes(dir.File("追加.txt"), "-2147483648\r\n");
        form->Timer1Timer();
        EXPECT_EQ(testing::ReadBytes(dir.File("追加.txt")), "");
        EXPECT_EQ(s.LedgerTargetId, 0);
        EXPECT_FALSE(form->StringGrid2->Visible());
        if (tablet) {
            EXPECT_FALSE(form->BitBtn3->Visible());
        }

        form->Close();
        TLines answer;
        ASSERT_TRUE(ReadTextLines(dir.File(SelectedDrawingFileName), answer));
        EXPECT_EQ(answer, (TLines{"\"墓地\",\"\",\"0\",\"明星寺\",OK,\"本堂裏墓地\""}));
        EXPECT_TRUE(ui.Shown.empty());
    }
}

// Keys as the user types them: to the focus sink, through the form's key preview.
void Key(TForm_zumenn& form, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent e(type, key, modifiers, key == Qt::Key_Space ? QStringLiteral(" ") : QString());
    QCoreApplication::sendEvent(form.Edit1->Widget(), &e);
}

void Press(TForm_zumenn& form, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    Key(form, QEvent::KeyPress, key, modifiers);
    Key(form, QEvent::KeyRelease, key, modifiers);
}

void Mouse(TForm_zumenn& form, QEvent::Type type, Qt::MouseButton button, QPoint at, Qt::MouseButtons held) {
    QWidget* w = form.PaintBox1->Widget();
    QMouseEvent e(type, QPointF(at), w->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

TEST_F(TabletRequests, PanButtonsArrowsAndSpaceMoveTheMap) {
    TScrollBox& box = *Form->ScrollBox1;
    const int across = static_cast<int>(RoundHalfEven(box.Width() / 10.0));
    const int down = static_cast<int>(RoundHalfEven(box.Height() / 10.0));
    box.SetHorzScrollPos(1000);
    box.SetVertScrollPos(1000);
    Form->BitBtn5->Click();
    EXPECT_EQ(box.HorzScrollPos(), 1000 + across);
    Form->BitBtn4->Click();
    Form->BitBtn4->Click();
    EXPECT_EQ(box.HorzScrollPos(), 1000 - across);
    Form->BitBtn7->Click();
    EXPECT_EQ(box.VertScrollPos(), 1000 + down);
    Form->BitBtn6->Click();
    EXPECT_EQ(box.VertScrollPos(), 1000);
    box.SetHorzScrollPos(0);
    Form->BitBtn4->Click();
    EXPECT_EQ(box.HorzScrollPos(), 0);

    // The arrows a third, but not while a household grid has the focus.
    box.SetHorzScrollPos(1000);
    Press(*Form, Qt::Key_Right);
    EXPECT_EQ(box.HorzScrollPos(), 1000 + static_cast<int>(RoundHalfEven(box.Width() / 3.0)));
    Press(*Form, Qt::Key_Up);
    EXPECT_EQ(box.VertScrollPos(), 1000 - static_cast<int>(RoundHalfEven(box.Height() / 3.0)));
    Form->S.GridFocused = 1;
    const int x = box.HorzScrollPos();
    Press(*Form, Qt::Key_Left);
    EXPECT_EQ(box.HorzScrollPos(), x);
    Form->S.GridFocused = 0;

    // Space held: the map follows the pointer.
    box.SetHorzScrollPos(1000);
    box.SetVertScrollPos(1000);
    const QPoint at(1200, 1200);
    Key(*Form, QEvent::KeyPress, Qt::Key_Space);
    Mouse(*Form, QEvent::MouseButtonPress, Qt::LeftButton, at, Qt::LeftButton);
    Mouse(*Form, QEvent::MouseMove, Qt::NoButton, at - QPoint(50, 30), Qt::LeftButton);
    Mouse(*Form, QEvent::MouseButtonRelease, Qt::LeftButton, at - QPoint(50, 30), {});
    Key(*Form, QEvent::KeyRelease, Qt::Key_Space);
    EXPECT_EQ(box.HorzScrollPos(), 1050);
    EXPECT_EQ(box.VertScrollPos(), 1030);
    EXPECT_EQ(Form->S.Tools.PanMode, 0);
    ExpectNoHistory(Form->S);
}

TEST_F(TabletRequests, TheClipboardAndUndoKeysDoNothing) {
    TDrawingState& s = Form->S;
    Request(IntToStr(SamplePlot));
    Form->PageControl1->UserSelectTab(4);
    ASSERT_EQ(s.EditTabActive, 1);
    std::vector<double> before;
    for (std::int32_t i = 1; i <= s.FigureCount; ++i) before.push_back(s.Fig(i).X1);
    const std::int32_t count = s.FigureCount;
    const auto files = Snapshot(Dir.Path);
    for (int key : {Qt::Key_C, Qt::Key_X, Qt::Key_V, Qt::Key_Z, Qt::Key_V}) Press(*Form, key, Qt::ControlModifier);
    // Nor does a click or a right click on the map record anything.
    const QPoint at(Form->ScrollBox1->HorzScrollPos() + 40, Form->ScrollBox1->VertScrollPos() + 40);
    for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton}) {
        Mouse(*Form, QEvent::MouseButtonPress, b, at, b);
        Mouse(*Form, QEvent::MouseButtonRelease, b, at, {});
    }
    EXPECT_EQ(s.FigureCount, count);
    for (std::int32_t i = 1; i <= s.FigureCount; ++i) EXPECT_EQ(s.Fig(i).X1, before[static_cast<std::size_t>(i - 1)]);
    EXPECT_EQ(s.CurrentTool, 0);
    EXPECT_EQ(Snapshot(Dir.Path), files);
    EXPECT_TRUE(Ui.Shown.empty());
    ExpectNoHistory(s);
}

TEST_F(TabletRequests, TheWheelOnTheMapZoomsNothing) {
    TDrawingState& s = Form->S;
    const int zoom = s.Zoom, step = s.ZoomStep;
    const int paintWidth = Form->PaintBox1->Width();
    QWidget* w = Form->PaintBox1->Widget();
    const QPointF at(Form->ScrollBox1->HorzScrollPos() + 40, Form->ScrollBox1->VertScrollPos() + 40);
    for (const int delta : {120, -120, -120}) {
        QWheelEvent wheel(at, w->mapToGlobal(at), {}, {0, delta}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                          false);
        QCoreApplication::sendEvent(w, &wheel);
        QApplication::processEvents();
        EXPECT_EQ(s.Zoom, zoom);
        EXPECT_EQ(s.ZoomStep, step);
        EXPECT_EQ(Form->PaintBox1->Width(), paintWidth);
    }
    ExpectNoHistory(s);
}

TEST_F(TabletRequests, TheLedgerButtonAsksForTheThreeWindowsAtEachPress) {
    const auto files = Snapshot(Dir.Path);
    Form->BitBtn9->Click();
    Form->BitBtn9->Click();
    const std::vector<std::string> titles(LedgerWindowTitles.begin(), LedgerWindowTitles.end());
    std::vector<std::string> twice = titles;
    twice.insert(twice.end(), titles.begin(), titles.end());
    EXPECT_EQ(Ui.RaisedWindows, twice);
    EXPECT_EQ(titles.front(), "檀家管理「ゼルボ」タブレット - [檀家台帳]");
    EXPECT_TRUE(Ui.Shown.empty());
    EXPECT_EQ(Snapshot(Dir.Path), files);  // no list for the ledger, no file touched
    EXPECT_TRUE(Form->Widget()->isVisible());
}

TEST_F(TabletRequests, TheCloseButtonClosesWithTheFullEditorsQuestion) {
    Form->S.DrawingUnchanged = 0;
    Ui.Answers = {mrNo};
    Form->BitBtn8->Click();
    EXPECT_FALSE(Form->Widget()->isVisible());
    ASSERT_EQ(Ui.Shown.size(), 1u);
    EXPECT_EQ(Ui.Shown[0].Text, "墓地台帳に変更はありませんが、図面に変更がありました。「墓地図面」を保存しますか？\r"
                                "　　　保存する[はい]　　　　保存せず元に戻す[いいえ]");
    TLines answer;
    ASSERT_TRUE(ReadTextLines(Dir.File(SelectedDrawingFileName), answer));
    EXPECT_EQ(answer, (TLines{"\"墓地\",\"\",\"0\",\"明星寺\",OK,\"本堂裏墓地\""}));
}

TEST(TabletFontList, EachFontIsDrawnInItsOwnFaceAsInTheFullEditor) {
    std::vector<QImage> boxes;
    for (const bool tablet : {false, true}) {
        SCOPED_TRACE(tablet ? "tablet" : "full editor");
        TProgramFolder dir;
        LayOutSample(dir);
        TScriptedUi ui;
        auto form = tablet ? StartTablet(dir, ui) : testing::StartForm(dir, ui);
        TComboBox& fonts = *form->ComboBox2;
        EXPECT_TRUE(fonts.OwnerDraw());
        ASSERT_GT(fonts.ItemCount(), 0);
        fonts.SetItemIndex(0);
        fonts.SetBounds(0, 0, 150, 22);
        boxes.push_back(fonts.Widget()->grab().toImage());
        testing::SaveShot(boxes.back(), tablet ? "tablet-font-list.png" : "font-list.png");
    }
    EXPECT_EQ(boxes[0], boxes[1]);
}

// Lines 1-9 of the view the full editor left: a window off the top-left, a paint box of a
// drawing saved at zoom 20 (twenty times its base), a scroll position and the zoom.
const TLines KeptLines{"-8", "-8", "1296", "1000", "27280", "19640", "123", "456", "20"};

TLines ViewLinesOf(const TLines& file, std::size_t first) {
    return first + 9 <= file.size() ? TLines(file.begin() + static_cast<long>(first),
                                             file.begin() + static_cast<long>(first) + 9)
                                    : TLines{};
}

// The view section's marker, looked for after the figures (a text may hold it too).
TLines::iterator ViewMarker(TLines& lines) {
    return std::find(std::find(lines.begin(), lines.end(), std::string(EndOfDataLine)), lines.end(),
                     std::string(FormDataMarkerLine));
}

TLines DataFileViewLines(const std::string& path) {
    TLines lines;
    EXPECT_TRUE(ReadTextLines(path, lines));
    return ViewLinesOf(lines, static_cast<std::size_t>(ViewMarker(lines) - lines.begin()) + 1);
}

TLines DispFileViewLines(const std::string& path) {
    TLines lines;
    EXPECT_TRUE(ReadTextLines(path, lines));
    return ViewLinesOf(lines, 0);
}

TEST(TabletViewLines, BothFilesGetTheNineLinesAsTheyWereRead) {
    struct TCase {
        const char* Name;
        bool InDispFile;
        bool Change;
    };
    const TCase cases[] = {
        {"from the settings file, saved", true, true},
        {"from the data file, saved", false, true},
        {"from the settings file, closed unchanged", true, false},
        {"from the data file, closed unchanged", false, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TProgramFolder dir;
        dir.LayOutDefault();
        TLines section = FormDataToLines(TFormData{});
        std::copy(KeptLines.begin(), KeptLines.end(), section.begin());
        if (c.InDispFile) {
            ASSERT_TRUE(WriteTextLines(dir.DispFile(), section));
        } else {
            TLines data;
            ASSERT_TRUE(ReadTextLines(dir.DataFile(), data));
            std::copy(KeptLines.begin(), KeptLines.end(), ViewMarker(data) + 1);
            ASSERT_TRUE(WriteTextLines(dir.DataFile(), data));
        }
        const std::string dataBefore = testing::ReadBytes(dir.DataFile());
        TScriptedUi ui;
        auto form = StartTablet(dir, ui);
        ASSERT_TRUE(ui.Shown.empty());
        // A paint box twenty times the base would give a factor of 0: it is one tenth.
        EXPECT_DOUBLE_EQ(form->S.Tablet.DisplayScaleX, 0.1);
        EXPECT_EQ(form->S.Zoom, 20);
        if (c.Change) {
            form->UpDown1->UserSetPosition(form->UpDown1->Position() + 1);
            EXPECT_EQ(form->S.DrawingUnchanged, 0);
            ui.Answers = {mrYes};
        }
        form->Close();
        EXPECT_EQ(ui.Shown.size(), c.Change ? 1u : 0u);
        EXPECT_EQ(DispFileViewLines(dir.DispFile()), KeptLines);
        if (c.Change) {
            EXPECT_EQ(DataFileViewLines(dir.DataFile()), KeptLines);
            // The figures went back to their stored coordinates.
            EXPECT_EQ(FigureLinesOf(dir.DataFile()), FullEditorFigureLines(dataBefore));
        } else {
            EXPECT_EQ(testing::ReadBytes(dir.DataFile()), dataBefore);
        }
    }
}

TEST(TabletViewLines, ANewDrawingKeepsTheFullEditorsNewView) {
    TProgramFolder dir;
    dir.LayOutDefault();
    dir.WriteFreshRequest(NewDrawingName);
    TScriptedUi ui;
    auto form = StartTablet(dir, ui);
    ASSERT_TRUE(ui.Shown.empty());
    EXPECT_DOUBLE_EQ(form->S.Tablet.DisplayScaleX, 1.0);
    EXPECT_DOUBLE_EQ(form->S.Tablet.DisplayScaleY, 1.0);
    const int baseW = form->S.ViewBaseWidth, baseH = form->S.ViewBaseHeight;
    form->UpDown1->UserSetPosition(form->UpDown1->Position() + 1);
    ui.Answers = {mrYes};
    form->Close();
    const std::string name = form->S.CurrentDrawingName;
    ASSERT_NE(name, NewDrawingName);
    const TLines expected{"100", "200", "800", "600", IntToStr(baseW), IntToStr(baseH), "0", "0", "1"};
    EXPECT_EQ(DataFileViewLines(dir.DataFile(name)), expected);
    EXPECT_EQ(DispFileViewLines(dir.DispFile(name)), expected);
}

// Sets an environment variable for its life and then puts back what was there.
class TEnvSetting {
public:
    TEnvSetting(const char* name, const std::string& value) : Name(name) {
        if (const char* old = std::getenv(name)) Old = old;
        setenv(name, value.c_str(), 1);
    }
    ~TEnvSetting() {
        if (Old)
            setenv(Name, Old->c_str(), 1);
        else
            unsetenv(Name);
    }
    TEnvSetting(const TEnvSetting&) = delete;
    TEnvSetting& operator=(const TEnvSetting&) = delete;

private:
    const char* Name;
    std::optional<std::string> Old;
};

// The lock files go into a folder of the test's own, so that no other program or test
// run holds them.
class TRuntimeFolder {
public:
    testing::TTempFolder Dir;
    TEnvSetting Setting{"XDG_RUNTIME_DIR", Dir.Path};
    TEnvSetting Temporary{"TMPDIR", Dir.Path};
};

TEST(ProgramEntry, ASecondCopyOfEitherProgramIsRefusedWithoutAForm) {
    TRuntimeFolder runtime;
    TProgramFolder dir;
    LayOutSample(dir);
    const auto files = Snapshot(dir.Path);
    TSingleInstanceLock running;
    ASSERT_EQ(running.Acquire(InstanceLockName), TInstanceLock::Acquired);
    for (const TEdition* edition : {&ProEdition(), &TabletEdition()}) {
        TScriptedUi ui;
        TSingleInstanceLock second;
        EXPECT_EQ(ProgramMain(*edition, ui, second, dir.Folder()), nullptr);
        ASSERT_EQ(ui.Shown.size(), 1u);
        EXPECT_EQ(ui.Shown[0].Text, "すでに起動されています。");
        EXPECT_EQ(ui.Shown[0].Caption, "二重起動のテスト");
        EXPECT_EQ(ui.Shown[0].Buttons, static_cast<unsigned>(mbOK));
    }
    EXPECT_EQ(Snapshot(dir.Path), files);
}

TEST(ProgramEntry, AnUnusableRuntimeFolderFallsBackToTheTemporaryFolder) {
    testing::TTempFolder temp;
    TEnvSetting runtime("XDG_RUNTIME_DIR", temp.File("no such folder"));
    TEnvSetting tmp("TMPDIR", temp.Path.string());
    for (const TEdition* edition : {&ProEdition(), &TabletEdition()}) {
        TProgramFolder dir;
        LayOutSample(dir);
        TScriptedUi ui;
        TSingleInstanceLock lock;
        const auto form = ProgramMain(*edition, ui, lock, dir.Folder());
        EXPECT_NE(form, nullptr);
        EXPECT_TRUE(ui.Shown.empty());
        // The lock taken there is the one a second copy finds.
        TScriptedUi secondUi;
        TSingleInstanceLock second;
        EXPECT_EQ(ProgramMain(*edition, secondUi, second, dir.Folder()), nullptr);
        ASSERT_EQ(secondUi.Shown.size(), 1u);
        EXPECT_EQ(secondUi.Shown[0].Text, AlreadyRunningMessage);
    }
}

TEST(ProgramEntry, ACopyWithoutARuntimeFolderAndOneWithItSeeEachOther) {
    testing::TTempFolder temp;
    const std::string runtimeDir = temp.File("runtime"), tempDir = temp.File("temporary");
    std::filesystem::create_directory(runtimeDir);
    std::filesystem::create_directory(tempDir);
    TEnvSetting tmp("TMPDIR", tempDir);
    // How each copy was started: with a runtime folder it can use, or one it cannot.
    const std::string usable = runtimeDir, unusable = temp.File("no such folder");
    const struct {
        const char* name;
        std::string firstRuntime, secondRuntime;
        const TEdition *first, *second;
    } cases[] = {
        {"the copy without a runtime folder first", unusable, usable, &ProEdition(), &TabletEdition()},
        {"the copy with a runtime folder first", usable, unusable, &TabletEdition(), &ProEdition()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TProgramFolder dir;
        LayOutSample(dir);
        {
            TScriptedUi ui;
            TSingleInstanceLock lock;
            std::unique_ptr<TForm_zumenn> running;
            {
                TEnvSetting runtime("XDG_RUNTIME_DIR", c.firstRuntime);
                running = ProgramMain(*c.first, ui, lock, dir.Folder());
            }
            ASSERT_NE(running, nullptr);
            EXPECT_TRUE(ui.Shown.empty());
            TEnvSetting runtime("XDG_RUNTIME_DIR", c.secondRuntime);
            TScriptedUi secondUi;
            TSingleInstanceLock second;
            EXPECT_EQ(ProgramMain(*c.second, secondUi, second, dir.Folder()), nullptr);
            ASSERT_EQ(secondUi.Shown.size(), 1u);
            EXPECT_EQ(secondUi.Shown[0].Text, AlreadyRunningMessage);
            EXPECT_EQ(secondUi.Shown[0].Caption, AlreadyRunningCaption);
        }
        // The refused copy kept nothing: once the first has ended, it starts.
        TEnvSetting runtime("XDG_RUNTIME_DIR", c.secondRuntime);
        TSingleInstanceLock later;
        EXPECT_EQ(later.Acquire(InstanceLockName), TInstanceLock::Acquired);
    }
}

TEST(ProgramEntry, WithoutAnyFolderForTheLockItSaysSoAndClaimsNoSecondCopy) {
    testing::TTempFolder temp;
    const std::string runtimeDir = temp.File("no runtime folder"), tempDir = temp.File("no temporary folder");
    TProgramFolder dir;  // made while there still is a temporary folder
    LayOutSample(dir);
    const auto files = Snapshot(dir.Path);
    TEnvSetting runtime("XDG_RUNTIME_DIR", runtimeDir);
    TEnvSetting tmp("TMPDIR", tempDir);
    for (const TEdition* edition : {&ProEdition(), &TabletEdition()}) {
        TScriptedUi ui;
        TSingleInstanceLock lock;
        EXPECT_EQ(ProgramMain(*edition, ui, lock, dir.Folder()), nullptr);
        ASSERT_EQ(ui.Shown.size(), 1u);
        const std::string& text = ui.Shown[0].Text;
        EXPECT_EQ(text.rfind(std::string(CannotLockMessage) + "\r", 0), 0u) << text;
        // Both places tried are named, so that someone can mend them.
        EXPECT_NE(text.find(runtimeDir + "/SampleMutex\r"), std::string::npos) << text;
        EXPECT_NE(text.find(tempDir + "/SampleMutex-"), std::string::npos) << text;
        EXPECT_EQ(text.find(AlreadyRunningMessage), std::string::npos);
        EXPECT_EQ(ui.Shown[0].Type, TMsgDlgType::mtError);
        EXPECT_EQ(ui.Shown[0].Buttons, static_cast<unsigned>(mbOK));
        EXPECT_EQ(Snapshot(dir.Path), files);
    }
}

TEST(ProgramEntry, EachProgramGetsItsOwnForm) {
    TRuntimeFolder runtime;
    for (const TEdition* edition : {&ProEdition(), &TabletEdition()}) {
        TProgramFolder dir;
        LayOutSample(dir, "-1");
        TScriptedUi ui;
        TSingleInstanceLock lock;
        auto form = ProgramMain(*edition, ui, lock, dir.Folder());
        ASSERT_NE(form, nullptr);
        form->Show();
        QApplication::processEvents();
        EXPECT_TRUE(ui.Shown.empty());
        const bool tablet = edition->Kind() == TEditionKind::Tablet;
        EXPECT_EQ(form->Tablet(), tablet);
        EXPECT_EQ(form->BitBtn8->Caption(), tablet ? "終了" : "墓地個数設定");
        EXPECT_EQ(form->Label3 != nullptr, !tablet);
        // The full editor's BitBtn3 draws lines: a household request leaves it alone.
        EXPECT_EQ(form->BitBtn3->Visible(), true);
        EXPECT_EQ(form->BitBtn3->Caption(), tablet ? "西村　良一にセット" : "直線");
        EXPECT_EQ(form->ActivePageIndex(), tablet ? 0 : 1);
        EXPECT_EQ(form->StayOnTop(), !tablet);
        testing::WriteBytes(dir.File("追加.txt"), "-4\r\n");  // 田村　誠
        form->Timer1Timer();
        EXPECT_TRUE(form->BitBtn3->Visible());
        EXPECT_EQ(form->BitBtn3->Caption(), tablet ? "田村　誠にセット" : "直線");
        EXPECT_EQ(form->ActivePageIndex(), tablet ? 0 : 1);
        form->Close();
    }
}

}  // namespace
}  // namespace tarvek

int main(int argc, char** argv) { return tarvek::testing::RunGuiTests<QApplication>(argc, argv); }
