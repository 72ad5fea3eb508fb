// The tablet's selection and household operations on the real form offscreen, with the
// sample temple in a temporary program folder and a ledger that takes the return file:
// taps and bands on the map, the household button a request shows, the co-owner list
// over the map, "檀家リセット" (a shared polygon plot too), the right button, Delete, and
// that nothing is recorded.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTableView>
#include <algorithm>
#include <cstdlib>
#include <functional>

#include "document/drawing_file.h"
#include "document/history.h"
#include "document/selection.h"
#include "editing/drawing_tools.h"
#include "form_test_support.h"
#include "gui_test_main.h"
#include "households/assignment.h"
#include "households/ledger_exchange.h"
#include "platform/numbers.h"
#include "tablet/tablet_edition.h"

namespace tarvek {
namespace {

using testing::TProgramFolder;
using testing::TTakingLedgerUi;

constexpr const char* SampleDrawing = "明星寺墓地本堂裏墓地";
const std::string Header = "-999,-999,,,,-999,-999,";

// The ledger's side, which also looks at what a request does while a box is open.
class TTabletLedgerUi : public TTakingLedgerUi {
public:
    std::function<void()> WhileOpen;
    int MessageDlg(const std::string& text, TMsgDlgType type, unsigned buttons, const std::string& caption) override {
        if (WhileOpen) WhileOpen();
        return TTakingLedgerUi::MessageDlg(text, type, buttons, caption);
    }
};

class TabletHouseholds : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy(TARVEK_SAMPLES "/temple", Dir.Path, std::filesystem::copy_options::recursive);
        Arrange();
        testing::WriteBytes(Dir.File(SelectedDrawingFileName),
                            Utf8ToCp932("\"墓地\",\"\",\"\",\"明星寺\",\"\",\"本堂裏墓地\"\r\n"));
        Form = std::make_unique<TForm_zumenn>(Dir.Folder(), Ui, TabletEdition());
        Form->Show();
        QApplication::processEvents();
        Ui.ReturnPath = Dir.File("戻し.txt");
        ASSERT_TRUE(Ui.Shown.empty());
        ASSERT_TRUE(Form->R_time->Checked());
        ASSERT_EQ(Form->ActivePageIndex(), 0);
    }

    // What the ledger leaves in the folder besides the sample temple.
    virtual void Arrange() {}

    TDrawingState& S() { return Form->S; }

    void Request(const std::string& line) {
        testing::WriteBytes(RequestPath(), line + "\r\n");
        Form->Timer1Timer();
    }
    std::string RequestPath() const { return Dir.File("追加.txt"); }

    std::int32_t PlotWithId(std::int32_t id) {
        for (std::int32_t i = 1; i <= S().FigureCount; ++i)
            if (S().Fig(i).PlotId == id && IsPlotRecord(S().Fig(i)) && !S().Fig(i).Deleted) return i;
        return 0;
    }

    void Mouse(QEvent::Type type, Qt::MouseButton button, int x, int y, Qt::MouseButtons held,
               Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QWidget* w = Form->PaintBox1->Widget();
        const QPointF local(x, y);
        QMouseEvent e(type, local, w->mapToGlobal(local), button, held, mods);
        QCoreApplication::sendEvent(w, &e);
        QApplication::processEvents();
    }
    // A point of the map brought into view, with the map painted as the screen shows it.
    void Bring(int x, int y) {
        Form->SetScrollPos(x - 120, y - 80);
        QApplication::processEvents();
        Form->PaintMapImage();
    }
    // On the left edge of the plot's outline, half way down.
    QPoint Edge(std::int32_t i) {
        const TDateRec& r = S().Fig(i);
        return {ToPixel(S(), r.BoxX1), ToPixel(S(), (r.BoxY1 + r.BoxY2) / 2)};
    }
    void Tap(std::int32_t plot, Qt::KeyboardModifiers mods = Qt::NoModifier, Qt::MouseButton button = Qt::LeftButton) {
        const QPoint p = Edge(plot);
        Bring(p.x(), p.y());
        Mouse(QEvent::MouseButtonPress, button, p.x(), p.y(), button, mods);
        Mouse(QEvent::MouseButtonRelease, button, p.x(), p.y(), {}, mods);
    }
    void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent e(type, key, mods);
            QCoreApplication::sendEvent(Form->Edit1->Widget(), &e);
        }
        QApplication::processEvents();
    }
    // A press on a row of the co-owner list (row -1: below the last one).
    void TapListRow(int row) {
        QTableView* view = Form->StringGrid4->View();
        const int rows = Form->StringGrid4->RowCount();
        QPoint p = view->visualRect(view->model()->index(row < 0 ? rows - 1 : row, 0)).center();
        if (row < 0) p.setY(p.y() + Form->StringGrid4->DefaultRowHeight() + 2);
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent e(type, QPointF(p), view->viewport()->mapToGlobal(QPointF(p)), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(view->viewport(), &e);
        }
        QApplication::processEvents();
    }

    std::vector<std::int32_t> Selected() {
        std::vector<std::int32_t> v;
        for (std::int32_t i = 1; i <= S().FigureCount; ++i)
            if (S().Fig(i).Selected) v.push_back(i);
        return v;
    }
    std::int32_t InHand() { return CursorEntry(S()); }
    // The lists that reached the ledger since the last call, as they arrived.
    std::vector<std::string> NewLists() {
        Ui.TakeList();
        std::vector<std::string> lists(Ui.Taken.begin() + static_cast<long>(Seen), Ui.Taken.end());
        Seen = Ui.Taken.size();
        return lists;
    }
    static std::string Bytes(const std::string& utf8) { return Utf8ToCp932(utf8); }
    std::string Line(std::int32_t i) { return PlotExchangeLine(S(), i); }

    void ExpectNoHistory() {
        EXPECT_LE(S().HistoryCount, 1);
        for (const Trireki& step : S().History)
            EXPECT_TRUE(step.Label.empty() || step.Label == HistoryStopLabel) << step.Label;
    }
    void Shot(const std::string& name) {
        QApplication::processEvents();
        const QImage shot = Form->Widget()->grab().toImage();
        EXPECT_FALSE(shot.isNull());
        shot.save(QString::fromStdString(Dir.File(name)));
        testing::SaveShot(shot, name);
    }

    TProgramFolder Dir;
    TTabletLedgerUi Ui;
    std::unique_ptr<TForm_zumenn> Form;
    std::size_t Seen = 0;
};

TEST_F(TabletHouseholds, TheButtonSetsTheRequestedHouseholdAloneSharedOrInPlace) {
    Request("-4");  // 田村　誠, on no plot yet
    ASSERT_TRUE(Form->BitBtn3->Visible());
    ASSERT_EQ(Form->BitBtn3->Caption(), "田村　誠にセット");

    // Nothing selected: one beep, nothing asked, nothing sent.
    Form->BitBtn3->Click();
    EXPECT_EQ(Ui.Beeps, 1);
    EXPECT_TRUE(Ui.Shown.empty());
    EXPECT_TRUE(NewLists().empty());

    // A free plot.
    const std::int32_t free = PlotWithId(1);
    Tap(free);
    ASSERT_EQ(Selected(), (std::vector<std::int32_t>{free}));
    EXPECT_EQ(Form->Edit_no->Text(), "西1-01");
    NewLists();
    Form->BitBtn3->Click();
    EXPECT_TRUE(Ui.Shown.empty());
    EXPECT_EQ(NewLists(), (std::vector<std::string>{Bytes(Header + "変更\r\n1,000004,西1-01,,特等,0,8,本堂裏墓地")}));
    EXPECT_EQ(S().Fig(free).HeadName, "田村　誠");
    EXPECT_EQ(InHand(), free);
    EXPECT_EQ(S().CurrentHitIndex, free);
    EXPECT_EQ(Form->Edit_genn->Text(), "田村　誠");
    EXPECT_EQ(Ui.Beeps, 1);

    // A household already on two plots is asked about a third; No sets nothing.
    Request("-47");
    const std::int32_t third = PlotWithId(3);
    Tap(third);
    NewLists();
    Ui.Answers = {mrNo};
    Form->BitBtn3->Click();
    ASSERT_EQ(Ui.Shown.size(), 1u);
    EXPECT_EQ(Ui.Shown[0].Text, "既に　松本　悦子　は2件、登録されてます。\r更に3件目を登録しますか？");
    EXPECT_EQ(Ui.Shown[0].Buttons, static_cast<unsigned>(mbYes | mbNo));
    EXPECT_EQ(S().Fig(third).Text, "0");
    EXPECT_TRUE(NewLists().empty());

    // An owned plot shared: a second copy for the new household, both labelled and listed.
    Request("-5");  // 石井　敏夫
    const std::int32_t owned = PlotWithId(2);  // 西1-02, 000081
    const std::string ownerHead = S().Fig(owned).HeadName;
    Tap(owned);
    NewLists();
    const std::int32_t count = S().FigureCount;
    Ui.Shown.clear();
    Ui.Answers = {mrYes};
    Form->BitBtn3->Click();
    ASSERT_EQ(Ui.Shown.size(), 1u);
    EXPECT_EQ(Ui.Shown[0].Text, "既にこの墓地には檀家が登録されてます。この墓地を複数檀家による共有所有にしますか？\r\r"
                                "　　　　共有使用=[はい] 、 入替え=[いいえ]");
    EXPECT_EQ(Ui.Shown[0].Buttons, static_cast<unsigned>(mbYes | mbNo | mbCancel));
    ASSERT_EQ(S().FigureCount, count + 1);
    const std::int32_t copy = count + 1;
    EXPECT_EQ(S().Fig(owned).PlotNumber, "西1-02(1)");
    EXPECT_EQ(S().Fig(copy).PlotNumber, "西1-02(2)");
    EXPECT_EQ(NewLists(), (std::vector<std::string>{
                              Bytes(Header + "追加\r\n" + IntToStr(S().Fig(copy).PlotId) + ",000005,西1-02,,特等,0,7,本堂裏墓地"),
                              Bytes(Header + "変更\r\n" + Line(owned) + "\r\n" + Line(copy) + "\r\n")}));
    TStringGrid& list = *Form->StringGrid4;
    ASSERT_TRUE(list.Visible());
    ASSERT_EQ(list.RowCount(), 2);  // exactly the copies, no row to spare
    EXPECT_EQ(list.Cells(0, 0), ownerHead);
    EXPECT_EQ(list.Cells(1, 0), "1");
    EXPECT_EQ(list.Cells(0, 1), "石井　敏夫");
    EXPECT_EQ(list.Cells(1, 1), "2");
    EXPECT_EQ(list.Row(), 1);
    EXPECT_EQ(list.Width(), 128);
    EXPECT_EQ(list.Height(), 2 * 26 + 3);
    EXPECT_EQ(InHand(), copy);
    EXPECT_EQ(S().CurrentHitIndex, copy);
    EXPECT_EQ(Form->Edit_genn->Text(), "石井　敏夫");
    Shot("tablet-co-owners.png");

    // A tap on the first row brings the owner's copy forward, on the second the new one
    // again, which the ledger is told; one below the rows does nothing.
    TapListRow(0);
    EXPECT_EQ(InHand(), owned);
    EXPECT_EQ(S().CurrentHitIndex, owned);
    EXPECT_EQ(S().Fig(owned).SetAside, 0);
    EXPECT_EQ(S().Fig(copy).SetAside, 1);
    EXPECT_EQ(Form->Edit_genn->Text(), ownerHead);
    EXPECT_EQ(list.Row(), 0);
    NewLists();  // the ledger was last told of the owner's plot: nothing new to tell
    TapListRow(1);
    EXPECT_EQ(InHand(), copy);
    EXPECT_EQ(S().Fig(owned).SetAside, 1);
    EXPECT_EQ(S().Fig(copy).SetAside, 0);
    EXPECT_EQ(Form->Edit_genn->Text(), "石井　敏夫");
    EXPECT_EQ(NewLists(), (std::vector<std::string>{Bytes(Header + "選択\r\n" + Line(copy) + "\r\n")}));
    TapListRow(-1);
    EXPECT_EQ(InHand(), copy);
    EXPECT_EQ(S().Fig(owned).SetAside, 1);
    EXPECT_TRUE(NewLists().empty());

    // In place of the owner.
    Request("-8");  // 工藤　豊
    const std::int32_t replaced = PlotWithId(5);  // 000036
    Tap(replaced);
    NewLists();
    Ui.Answers = {mrNo};
    Form->BitBtn3->Click();
    EXPECT_EQ(S().Fig(replaced).Text, "000008");
    EXPECT_EQ(S().Fig(replaced).ShareSetId, 0);
    EXPECT_EQ(NewLists(), (std::vector<std::string>{Bytes(Header + "変更\r\n" + Line(replaced))}));
    EXPECT_EQ(Form->Edit_genn->Text(), "工藤　豊");
    EXPECT_EQ(InHand(), replaced);

    // Cancel: nothing.
    Request("-9");
    const std::int32_t kept = PlotWithId(8);  // 000021
    Tap(kept);
    NewLists();
    const std::size_t boxes = Ui.Shown.size();
    Ui.Answers = {mrCancel};
    Form->BitBtn3->Click();
    EXPECT_EQ(Ui.Shown.size(), boxes + 1);
    EXPECT_EQ(S().Fig(kept).Text, "000021");
    EXPECT_TRUE(NewLists().empty());

    ExpectNoHistory();
    EXPECT_EQ(S().LedgerUnchanged, 0);
}

TEST_F(TabletHouseholds, TheResetAsksAndSendsItsListsWhileRequestsWait) {
    // Plots without households: a beep, no box, no list.
    Tap(PlotWithId(1));
    NewLists();
    Form->BitBtn43->Click();
    EXPECT_EQ(Ui.Beeps, 1);
    EXPECT_TRUE(Ui.Shown.empty());
    EXPECT_TRUE(NewLists().empty());

    // A shared plot of two copies, the new one in hand.
    Request("-5");
    const std::int32_t owned = PlotWithId(2);
    Tap(owned);
    Ui.Answers = {mrYes};
    Form->BitBtn3->Click();
    const std::int32_t copy = S().FigureCount;
    ASSERT_EQ(InHand(), copy);
    ASSERT_TRUE(Form->StringGrid4->Visible());
    NewLists();

    // A request that comes while the question is open waits for the answer.
    std::vector<std::string> whileOpen;
    Ui.WhileOpen = [&] {
        testing::WriteBytes(RequestPath(), "-4\r\n");
        Form->Timer1Timer();
        whileOpen.push_back(testing::ReadBytes(RequestPath()));
    };
    Ui.Shown.clear();
    Ui.Answers = {mrYes};
    Form->BitBtn43->Click();
    Ui.WhileOpen = nullptr;
    ASSERT_EQ(Ui.Shown.size(), 1u);
    EXPECT_EQ(Ui.Shown[0].Text, "1個の選択されている墓地に割り当てた檀家名が初期化されます\rよろしいですか？");
    EXPECT_EQ(whileOpen, (std::vector<std::string>{"-4\r\n"}));
    EXPECT_EQ(Form->BitBtn3->Caption(), "石井　敏夫にセット");

    // The copy in hand is gone; the owner's plot leaves the set with its household.
    EXPECT_EQ(S().Fig(copy).Deleted, 1);
    EXPECT_EQ(S().Fig(owned).ShareSetId, 0);
    EXPECT_EQ(S().Fig(owned).Text, "000081");
    EXPECT_EQ(S().Fig(owned).PlotNumber, "西1-02");
    EXPECT_EQ(NewLists(), (std::vector<std::string>{Bytes(Header + "削除\r\n" + Line(copy) + "\r\n"),
                                                     Bytes(Header + "変更\r\n" + Line(owned) + "\r\n")}));
    EXPECT_FALSE(Form->StringGrid4->Visible());
    EXPECT_EQ(InHand(), owned);

    // The waiting request is answered afterwards.
    Form->Timer1Timer();
    EXPECT_EQ(testing::ReadBytes(RequestPath()), "");
    EXPECT_EQ(Form->BitBtn3->Caption(), "田村　誠にセット");
    ExpectNoHistory();
}

// The sample temple with a polygon plot, 南1, in its empty top right corner: four edges
// before their parent, all under the ledger's plot key 900.
class TabletPolygonPlot : public TabletHouseholds {
protected:
    void Arrange() override {
        const std::string data = Dir.File(std::string(SampleDrawing) + "_data.txt");
        TLines lines;
        ASSERT_TRUE(ReadTextLines(data, lines));
        const auto end = std::find(lines.begin(), lines.end(), EndOfDataLine);
        ASSERT_NE(end, lines.end());
        Parent = static_cast<std::int32_t>((end - lines.begin() - 1) / 25) + 5;
        const double corners[4][2] = {{100000, 2000}, {104000, 2000}, {104000, 6000}, {100000, 6000}};
        TLines polygon;
        for (int k = 0; k <= 4; ++k) {
            TDateRec r;
            r.Kind = k < 4 ? fkPolygonEdge : fkPolygon;
            if (k < 4) {
                const auto& a = corners[k];
                const auto& b = corners[(k + 1) % 4];
                r.X1 = r.X2 = a[0], r.Y1 = r.Y2 = a[1];
                r.X3 = r.X4 = b[0], r.Y3 = r.Y4 = b[1];
                r.OwnerIndex = Parent;
            } else {
                r.X1 = r.X4 = 100000, r.X2 = r.X3 = 104000;
                r.Y1 = r.Y2 = 2000, r.Y3 = r.Y4 = 6000;
            }
            r.Text = "0";
            r.PlotId = 900;
            r.IsPlot = 1;
            r.PenWidth = 1;
            r.BrushColor = 7321527;
            r.FontName = "ＭＳ 明朝";
            AppendFigureRecordLines(r, polygon);
        }
        lines.insert(end, polygon.begin(), polygon.end());
        ASSERT_TRUE(WriteTextLines(data, lines));
        TLines handover;
        ASSERT_TRUE(ReadTextLines(Dir.File("受渡し_fm.csv"), handover));
        handover.push_back("900,0,\"南1\",\"\",\"\",-1,0,\"本堂裏墓地\"");
        ASSERT_TRUE(WriteTextLines(Dir.File("受渡し_fm.csv"), handover));
    }

    // A household of the table that owns no plot yet, as the ledger's request names it.
    std::string FreeHousehold() {
        for (int r = 1; r < Form->StringGrid1->RowCount(); ++r)
            if (CountHouseholdUses(S(), Form->StringGrid1->Cells(0, r)) == 0) return Form->StringGrid1->Cells(0, r);
        return {};
    }

    std::int32_t Parent = 0;
};

TEST_F(TabletPolygonPlot, ResettingTheSecondHouseholdShowsTheFirstHouseholdsPolygonAgain) {
    ASSERT_EQ(S().Fig(Parent).Kind, fkPolygon);
    ASSERT_EQ(S().Fig(Parent).PlotNumber, "南1");
    const std::string first = FreeHousehold();
    Request("-" + IntToStr(StrToInt(first).value_or(0)));
    Tap(Parent);
    ASSERT_EQ(InHand(), Parent);
    Form->BitBtn3->Click();
    ASSERT_EQ(S().Fig(Parent).Text, first);
    Request("-" + IntToStr(StrToInt(FreeHousehold()).value_or(0)));
    Tap(Parent);
    Ui.Answers = {mrYes};  // shared
    Form->BitBtn3->Click();
    const std::int32_t copy = S().FigureCount;
    ASSERT_EQ(copy, Parent + 5);
    ASSERT_EQ(S().Fig(Parent).SetAside, 1);

    // The ledger asks for the new copy; the user resets it on the drawing page, where the
    // edges are listed with their polygons.
    Request(IntToStr(S().Fig(copy).PlotId));
    Form->PageControl1->UserSelectTab(3);
    NewLists();
    Ui.Answers = {mrYes};
    Form->BitBtn43->Click();
    for (std::int32_t i = Parent + 1; i <= copy; ++i) EXPECT_EQ(S().Fig(i).Deleted, 1) << i;
    const std::vector<std::string> lists = NewLists();
    ASSERT_FALSE(lists.empty());
    EXPECT_EQ(lists[0], Bytes(Header + "削除\r\n" + Line(copy) + "\r\n"));
    for (std::int32_t i = Parent - 4; i <= Parent; ++i) {
        SCOPED_TRACE(i);
        const TDateRec& r = S().Fig(i);
        EXPECT_EQ(r.Deleted, 0);
        EXPECT_EQ(r.Text, first);
        EXPECT_EQ(r.ShareSetId, 0);
        EXPECT_EQ(r.SetAside, 0);
        EXPECT_EQ(r.PlotNumber, "南1");
    }
}

// Three households on 南1: the polygon and two copies, each with its four edges before it.
// The last copy, the one shown, is reset on the drawing page, where the edges are listed
// with their polygons: the reset asks about one plot, and of the two copies left the
// first shows its household again while the other stays set aside, in memory and saved.
TEST_F(TabletPolygonPlot, ResettingTheShownCopyOfThreeShowsTheNextWithItsHousehold) {
    std::vector<std::string> owners;
    for (int k = 0; k < 3; ++k) {
        owners.push_back(FreeHousehold());
        Request("-" + IntToStr(StrToInt(owners.back()).value_or(0)));
        Tap(Parent);
        if (k > 0) Ui.Answers = {mrYes};  // shared
        Form->BitBtn3->Click();
    }
    const std::int32_t second = Parent + 5, third = Parent + 10;
    ASSERT_EQ(S().FigureCount, third);
    ASSERT_EQ(S().Fig(third).Text, owners[2]);
    ASSERT_EQ(S().Fig(third).SetAside, 0);
    const std::int32_t set = S().Fig(Parent).ShareSetId;
    ASSERT_GT(set, 0);

    Request(IntToStr(S().Fig(third).PlotId));
    Form->PageControl1->UserSelectTab(3);
    std::vector<std::int32_t> listed;
    for (std::int32_t i = Parent - 4; i <= third; ++i) listed.push_back(i);
    ASSERT_EQ(Selected(), listed);
    ASSERT_EQ(InHand(), third);
    NewLists();
    Ui.Shown.clear();
    Ui.Answers = {mrYes};
    Form->BitBtn43->Click();
    ASSERT_EQ(Ui.Shown.size(), 1u);
    EXPECT_EQ(Ui.Shown[0].Text, "1個の選択されている墓地に割り当てた檀家名が初期化されます\rよろしいですか？");

    for (std::int32_t i = second + 1; i <= third; ++i) EXPECT_EQ(S().Fig(i).Deleted, 1) << i;
    // Each copy, edges and polygon, and what its records must hold after the reset.
    const std::vector<testing::TPolygonCopy> copies = {
        {Parent, owners[0], 0, "南1(1)"},
        {second, owners[1], 1, "南1(2)"}};
    testing::ExpectPolygonCopies(S(), copies, set, true);
    EXPECT_EQ(S().CurrentHitIndex, second);  // the last copy of the set still there

    // The ledger hears of the removed polygon, then of the two left, listed without edges.
    EXPECT_EQ(NewLists(), (std::vector<std::string>{Bytes(Header + "削除\r\n" + Line(third) + "\r\n"),
                                                    Bytes(Header + "変更\r\n" + Line(Parent) + "\r\n" + Line(second) + "\r\n")}));
    ExpectNoHistory();

    // Saved at closing and read again, the flags stand as they were left.
    Ui.Answers = {mrYes};
    Form->Close();
    TScriptedUi plainUi;
    TDrawingState stored(plainUi);
    testing::PointAtDrawing(stored, Dir.Folder(), "明星寺", "墓地", "本堂裏墓地");
    ASSERT_TRUE(LoadDrawingData(stored));
    ASSERT_EQ(stored.FigureCount, second);
    testing::ExpectPolygonCopies(stored, copies, set, false);
}

TEST_F(TabletHouseholds, TapsShiftTapsBandsAndTheRightButtonSelect) {
    const std::int32_t a = PlotWithId(1), b = PlotWithId(2);
    Tap(a);
    EXPECT_EQ(Selected(), (std::vector<std::int32_t>{a}));
    Tap(b, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), (std::vector<std::int32_t>{a, b}));
    Tap(a, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), (std::vector<std::int32_t>{b}));

    // A band dragged round both, and one opened by a tap and closed by a second tap.
    const TDateRec &ra = S().Fig(a), &rb = S().Fig(b);
    const int left = ToPixel(S(), std::min(ra.BoxX1, rb.BoxX1)) - 8, top = ToPixel(S(), std::min(ra.BoxY1, rb.BoxY1)) - 8;
    const int right = ToPixel(S(), std::max(ra.BoxX2, rb.BoxX2)) + 8;
    const int bottom = ToPixel(S(), std::max(ra.BoxY2, rb.BoxY2)) + 8;
    for (const bool twoTaps : {false, true}) {
        SCOPED_TRACE(twoTaps ? "tap, move, tap" : "drag");
        Bring(left, top);
        Mouse(QEvent::MouseButtonPress, Qt::LeftButton, left, top, Qt::LeftButton);
        if (twoTaps) {
            Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, left, top, {});
            EXPECT_EQ(S().Dragging, 1);
        }
        Mouse(QEvent::MouseMove, Qt::NoButton, right, bottom, twoTaps ? Qt::NoButton : Qt::LeftButton);
        if (twoTaps) Mouse(QEvent::MouseButtonPress, Qt::LeftButton, right, bottom, Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, right, bottom, {});
        EXPECT_EQ(Selected(), (std::vector<std::int32_t>{a, b}));
        EXPECT_EQ(S().Dragging, 0);
    }

    // The right button clears the selection and its counters; with nothing selected it
    // leaves them.
    for (TMemo* m : {Form->Memo9, Form->Memo12}) m->SetLines({"7"});
    Tap(a, Qt::NoModifier, Qt::RightButton);
    EXPECT_TRUE(Selected().empty());
    EXPECT_EQ(Form->Memo9->Lines().at(0), "0");
    EXPECT_EQ(Form->Memo12->Lines().at(0), "0");
    for (TMemo* m : {Form->Memo9, Form->Memo12}) m->SetLines({"7"});
    Tap(a, Qt::NoModifier, Qt::RightButton);
    EXPECT_EQ(Form->Memo9->Lines().at(0), "7");
    EXPECT_EQ(Form->Memo12->Lines().at(0), "7");
    // Selecting counts nothing.
    Tap(a);
    EXPECT_EQ(Form->Memo9->Lines().at(0), "7");

    // Ctrl+A on the drawing page takes every live figure whatever the filter, silently.
    Form->PageControl1->UserSelectTab(3);
    Form->liya->SetItemIndex(1);
    const std::string help = S().Label3;
    Key(Qt::Key_A, Qt::ControlModifier);
    std::int32_t live = 0;
    for (std::int32_t i = 1; i <= S().FigureCount; ++i) live += S().Fig(i).Deleted ? 0 : 1;
    EXPECT_EQ(S().SelectedCount, live);
    EXPECT_GT(live, 48);  // the lines and texts of the map too
    EXPECT_EQ(S().Label3, help);
    ExpectNoHistory();
    EXPECT_TRUE(Ui.Shown.empty());
    EXPECT_EQ(Ui.Beeps, 0);
}

// The tablet has no drawing tools: a band dragged off the map still scrolls it, and what
// it shows stays until the pointer comes back or lets go.
TEST_F(TabletHouseholds, ABandThatLeavesTheMapScrollsAndStaysShown) {
    const TDateRec& plot = S().Fig(PlotWithId(1));
    const QPoint p(ToPixel(S(), plot.BoxX1) - 8, ToPixel(S(), plot.BoxY1) - 8);  // beside it
    Bring(p.x(), p.y());
    QCursor::setPos(Form->PaintBox1->Widget()->mapToGlobal(p));
    Mouse(QEvent::MouseButtonPress, Qt::LeftButton, p.x(), p.y(), Qt::LeftButton);
    Mouse(QEvent::MouseMove, Qt::NoButton, p.x() + 60, p.y() + 40, Qt::LeftButton);
    ASSERT_TRUE(S().Tools.Preview.Shown);
    Form->ApplicationIdle();
    QCursor::setPos(Form->ScrollBox1->Widget()->mapToGlobal(QPoint(-4, 100)));  // left of the map
    Form->ApplicationIdle();
    EXPECT_EQ(S().EdgeScrollDirection, 2);
    EXPECT_EQ((std::array{S().MousePos.x, S().MousePos.y}), (std::array{S().MouseDownPos.x, S().MouseDownPos.y}));
    EXPECT_TRUE(S().Tools.Preview.Shown);
    Mouse(QEvent::MouseMove, Qt::NoButton, p.x() + 60, p.y() + 40, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, p.x() + 60, p.y() + 40, {});
    EXPECT_EQ(S().Dragging, 0);
    EXPECT_FALSE(S().Tools.Preview.Shown);
    ExpectNoHistory();
}

TEST_F(TabletHouseholds, TheSevenFieldsShowAPlot) {
    const std::int32_t plot = PlotWithId(9);  // 000110, with remarks and a grade
    ShowHouseholdFields(S(), *Form, plot);
    const TDateRec& r = S().Fig(plot);
    const std::vector<std::string> shown{Form->Edit_no->Text(),  Form->Edit_genn->Text(), Form->Edit_tel->Text(),
                                         Form->Edit_tiku->Text(), Form->Edit_j2->Text(), Form->Edit_bikou->Text(),
                                         Form->tou_name->Text()};
    EXPECT_EQ(shown, (std::vector<std::string>{"西1-09", r.HeadName, r.Phone, r.DistrictName, r.Address2, "墓誌あり",
                                               "一等"}));
    EXPECT_FALSE(r.HeadName.empty());
    ShowHouseholdFields(S(), *Form, 1);  // a line of the map
    EXPECT_EQ(Form->Edit_no->Text(), "西1-09");
    EXPECT_EQ(Form->tou_name->Text(), "一等");
    ShowHouseholdFields(S(), *Form, -1);
    for (TEdit* e : {Form->Edit_no, Form->Edit_genn, Form->Edit_tel, Form->Edit_tiku, Form->Edit_j2, Form->Edit_bikou,
                     Form->tou_name})
        EXPECT_EQ(e->Text(), "") << e->Name;
}

TEST_F(TabletHouseholds, AFieldNarrowerThanItsTextShowsItsStart) {
    const std::int32_t plot = PlotWithId(9);
    S().Fig(plot).Phone = "0123-46-6289";  // 西村　良一's number
    ShowHouseholdFields(S(), *Form, plot);
    TEdit& tel = *Form->Edit_tel;
    ASSERT_EQ(tel.Text(), "0123-46-6289");
    QLineEdit* e = tel.Editor();
    ASSERT_GT(QFontMetrics(e->font()).horizontalAdvance(e->text()), tel.Width());
    EXPECT_EQ(e->cursorPosition(), 0);
    // The field as it shows, beside the same field wide enough for the whole text: the
    // same pixels up to near its right edge, so the first digit shows whole.
    QApplication::processEvents();
    const QImage shown = e->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const int width = tel.Width();
    tel.SetWidth(width * 3);
    QApplication::processEvents();
    const QImage whole = e->grab().toImage().convertToFormat(QImage::Format_RGB32);
    tel.SetWidth(width);
    const QRect compared(0, 0, width - 8, tel.Height());
    EXPECT_EQ(shown.copy(compared), whole.copy(compared));
}

TEST_F(TabletHouseholds, TheDeleteKeyReachesTheDeleteOnTheDrawingPagesOnly) {
    // STUB in place of the delete operation, to see where the key goes.
    int deletes = 0;
    S().Tools.Ops.DeleteSelectedFigures = [&] { ++deletes; };
    Tap(PlotWithId(2));
    Key(Qt::Key_Delete);
    EXPECT_EQ(deletes, 0);
    for (const int page : {3, 4}) {
        Form->PageControl1->UserSelectTab(page);
        Key(Qt::Key_Delete);
    }
    EXPECT_EQ(deletes, 2);
}

// Waits for the delete of the drawing tools: the test runs once the Delete key has an
// operation to reach.
TEST_F(TabletHouseholds, DeleteOnTheDrawingPageAsksForAPlotWithAHousehold) {
    ASSERT_TRUE(S().Tools.Ops.DeleteSelectedFigures);
    Form->PageControl1->UserSelectTab(3);
    ASSERT_EQ(S().EditTabActive, 1);
    const std::int32_t owned = PlotWithId(2);
    Tap(owned);
    ASSERT_EQ(Selected(), (std::vector<std::int32_t>{owned}));
    ASSERT_EQ(S().CurrentTool, 0);
    NewLists();
    std::vector<std::string> whileOpen;
    Ui.WhileOpen = [&] {
        testing::WriteBytes(RequestPath(), "-4\r\n");
        Form->Timer1Timer();
        whileOpen.push_back(testing::ReadBytes(RequestPath()));
    };
    const std::string line = Line(owned);
    Ui.Answers = {mrYes};
    Key(Qt::Key_Delete);
    Ui.WhileOpen = nullptr;
    ASSERT_EQ(Ui.Shown.size(), 1u);
    EXPECT_EQ(Ui.Shown[0].Text, "檀家名、割当て済みの墓地が1件あります。\r削除してよいですか？");
    EXPECT_EQ(whileOpen, (std::vector<std::string>{"-4\r\n"}));
    EXPECT_EQ(S().Fig(owned).Deleted, 1);
    EXPECT_EQ(NewLists(), (std::vector<std::string>{Bytes(Header + "削除\r\n" + line + "\r\n")}));
    ExpectNoHistory();
}

}  // namespace
}  // namespace tarvek

int main(int argc, char** argv) { return tarvek::testing::RunGuiTests<QApplication>(argc, argv); }
