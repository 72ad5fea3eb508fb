// The search page on the sample temple: a search typed into the fields, stepping onto
// the copies of a shared plot, the co-owner list over the map and the remarks field,
// with a fake ledger that takes every list out of "戻し.txt".
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <cstdlib>

#include "editing/drawing_tools.h"
#include "form_test_support.h"
#include "households/ledger_exchange.h"
#include "platform/numbers.h"
#include "tablet/tablet_edition.h"

namespace tarvek::testing {
namespace {

class SearchPage : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy(TARVEK_SAMPLES "/temple", Dir.Path, std::filesystem::copy_options::recursive);
        Ui.ReturnPath = ReturnPath();
        Form = StartForm(Dir, Ui);
        ASSERT_EQ(Form->S.StartupError, 0);
        ASSERT_EQ(Form->ActivePageIndex(), 0);
    }

    std::int32_t PlotWithId(std::int32_t id) const { return testing::LivePlotWithId(Form->S, id); }

    // Plot 西1-02 becomes shared: a second household's copy on top of it, showing.
    std::int32_t ShareWestOneTwo() {
        TDrawingState& s = Form->S;
        const std::int32_t plot = PlotWithId(2);
        EXPECT_EQ(s.Fig(plot).HeadName, "高橋　良一");  // from the hand-over merge
        const std::int32_t copy = ++s.FigureCount;
        s.Fig(copy) = s.Fig(plot);
        TDateRec& c = s.Fig(copy);
        c.PlotId = ++s.MaxPlotId;
        c.Text = "000036", c.HouseName = "今井家", c.HeadName = "今井　光男", c.Phone = "0123-49-9070";
        c.DistrictName = "中通", c.Address2 = "本町4";
        for (TDateRec* r : {&s.Fig(plot), &c}) r->ShareSetId = 2;
        s.Fig(plot).SetAside = 1;
        s.Fig(plot).PlotNumber = "西1-02(1)";
        c.PlotNumber = "西1-02(2)";
        return copy;
    }

    std::string ReturnPath() const { return Dir.File("戻し.txt"); }
    std::vector<std::string> Lists() { return Ui.Lists(); }

    // A press and release of the left button on the map, after the pointer came there.
    void ClickMap(int x, int y) {
        QWidget* w = Form->PaintBox1->Widget();
        const QPointF at(x, y);
        const auto send = [&](QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held) {
            QMouseEvent e(type, at, w->mapToGlobal(at), button, held, Qt::NoModifier);
            QCoreApplication::sendEvent(w, &e);
            QApplication::processEvents();
        };
        send(QEvent::MouseMove, Qt::NoButton, {});
        Form->ApplicationIdle();
        send(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, Qt::LeftButton, {});
    }
    // The ledger asks for a plot; the request timer finds it.
    void RequestPlot(std::int32_t id) {
        testing::WriteBytes(Dir.File("追加.txt"), IntToStr(id) + "\r\n");
        Form->Timer1Timer();
    }
    void CtrlZ() {
        QKeyEvent down(QEvent::KeyPress, Qt::Key_Z, Qt::ControlModifier);
        QCoreApplication::sendEvent(Form->Edit1->Widget(), &down);
        QKeyEvent up(QEvent::KeyRelease, Qt::Key_Z, Qt::ControlModifier);
        QCoreApplication::sendEvent(Form->Edit1->Widget(), &up);
        QApplication::processEvents();
    }
    // The keyboard focus goes to a field as a click or Tab takes it there.
    void Focus(TControl* field) {
        Form->Widget()->activateWindow();
        field->SetFocus();
        QApplication::processEvents();
    }

    TColor PixelAtHitCross() {
        Form->PaintMapImage();
        const TDrawingState& s = Form->S;
        const int x = RoundToInt32(s.HitCenterX * s.Zoom / 1000.0);
        const int y = RoundToInt32(s.HitBox[2] * s.Zoom / 1000.0) - 10;  // above the plot
        return Form->MapPixel(x, y);
    }

    TProgramFolder Dir;
    TTakingLedgerUi Ui;
    std::unique_ptr<TForm_zumenn> Form;
};

TEST_F(SearchPage, ATypedSearchStepsOntoTheCopiesOfASharedPlot) {
    TForm_zumenn& f = *Form;
    const std::int32_t first = PlotWithId(1), shared = PlotWithId(2);
    const std::int32_t copy = ShareWestOneTwo();
    const std::int32_t zoom = f.S.Zoom;
    const int width = f.PaintBox1->Width();
    // The current hit is within the visible part of the map.
    const auto hitInView = [&f] {
        const int cx = RoundToInt32(f.S.HitCenterX * f.S.Zoom / 1000.0);
        const int cy = RoundToInt32(f.S.HitCenterY * f.S.Zoom / 1000.0);
        return cx >= f.ScrollBox1->HorzScrollPos() && cx < f.ScrollBox1->HorzScrollPos() + f.ScrollBox1->ClientWidth() &&
               cy >= f.ScrollBox1->VertScrollPos() && cy < f.ScrollBox1->VertScrollPos() + f.ScrollBox1->ClientHeight();
    };

    f.BitBtn35->Click();
    EXPECT_EQ(f.BitBtn35->Caption(), "検索実行");
    EXPECT_EQ(f.Edit_no->Text(), "");
    EXPECT_EQ(f.Memo9->Lines().at(0), "0");
    f.Edit_no->UserType("西1-0");
    // Passing through the remarks to another field keeps what was typed.
    f.Widget()->activateWindow();
    f.Edit_bikou->SetFocus();
    f.Edit_tel->SetFocus();
    QApplication::processEvents();
    EXPECT_TRUE(f.Edit_tel->Focused());
    EXPECT_EQ(f.Edit_no->Text(), "西1-0");
    f.BitBtn35->Click();

    // 西1-01 to 西1-09 and the second copy of 西1-02, in plot-number order.
    EXPECT_EQ(f.BitBtn35->Caption(), "新規検索");
    ASSERT_EQ(f.S.SelectedCount, 10);
    EXPECT_EQ(f.S.SelectedList[1], first);
    EXPECT_EQ(f.S.SelectedList[2], shared);
    EXPECT_EQ(f.S.SelectedList[3], copy);
    EXPECT_EQ(f.Memo9->Lines().at(0), "10");
    EXPECT_EQ(f.S.CurrentHitIndex, first);
    EXPECT_EQ(f.Edit_no->Text(), "西1-01");
    EXPECT_FALSE(f.StringGrid4->Visible());
    EXPECT_EQ(f.S.Zoom, zoom);  // a search keeps the user's zoom
    EXPECT_EQ(f.PaintBox1->Width(), width);
    EXPECT_TRUE(hitInView());
    EXPECT_EQ(PixelAtHitCross(), clRed);
    EXPECT_EQ(Ui.Beeps, 0);

    f.BitBtn37->Click();  // 次検索: onto the set-aside copy, which comes to the front
    EXPECT_EQ(f.S.CurrentHitIndex, shared);
    EXPECT_EQ(f.S.Fig(shared).SetAside, 0);
    EXPECT_EQ(f.S.Fig(copy).SetAside, 1);
    EXPECT_EQ(f.Edit_name->Text(), "高橋家");
    EXPECT_EQ(f.S.Zoom, zoom);
    EXPECT_TRUE(hitInView());
    EXPECT_EQ(PixelAtHitCross(), clRed);
    ASSERT_TRUE(f.StringGrid4->Visible());
    EXPECT_EQ(f.StringGrid4->RowCount(), 3);
    EXPECT_EQ(f.StringGrid4->Height(), 17 * 3);
    EXPECT_EQ(f.StringGrid4->Width(), 383);
    EXPECT_EQ(f.StringGrid4->Cells(0, 0), "現世帯主");
    EXPECT_EQ(f.StringGrid4->Cells(0, 1), "高橋　良一");
    EXPECT_EQ(f.StringGrid4->Cells(0, 2), "今井　光男");
    EXPECT_EQ(f.StringGrid4->Cells(2, 2), "本町4");
    EXPECT_EQ(f.StringGrid4->Cells(4, 2), "3");
    EXPECT_EQ(f.StringGrid4->Row(), 1);

    f.BitBtn37->Click();  // the other copy
    EXPECT_EQ(f.S.CurrentHitIndex, copy);
    EXPECT_EQ(f.StringGrid4->Row(), 2);
    EXPECT_EQ(f.Edit_name->Text(), "今井家");
    // Every field shows the hit's text from its start, however narrow the field.
    for (TEdit* e : {f.Edit_no, f.Edit_name, f.Edit_genn, f.Edit_tel, f.Edit_tiku, f.Edit_j1, f.Edit_j2, f.Edit_bikou})
        EXPECT_EQ(e->Editor()->cursorPosition(), 0) << e->Name << " " << e->Text();
    f.Widget()->grab().save(QString::fromStdString(Dir.File("search.png")));
    if (const char* shot = std::getenv("TARVEK_SEARCH_SHOT")) f.Widget()->grab().save(shot);

    f.BitBtn36->Click();  // 前検索
    f.BitBtn36->Click();
    f.BitBtn36->Click();  // round to the last hit
    EXPECT_EQ(f.S.SelectedCursor, 10);
    EXPECT_FALSE(f.StringGrid4->Visible());

    // The ledger heard of every plot the search made current, the last one last.
    const std::vector<std::string> lists = Lists();
    ASSERT_FALSE(lists.empty());
    EXPECT_EQ(lists.back(), "-999,-999,,,,-999,-999,選択\r\n" +
                                PlotExchangeLine(f.S, f.S.SelectedList[10]) + "\r\n");
    EXPECT_TRUE(Ui.Shown.empty());
}

TEST_F(SearchPage, TheRemarksRefuseCommasAndReachTheLedgerOnce) {
    TForm_zumenn& f = *Form;
    f.BitBtn35->Click();
    f.Edit_no->UserType("東1-05");
    f.BitBtn35->Click();
    const std::int32_t plot = PlotWithId(29);
    ASSERT_EQ(f.S.CurrentHitIndex, plot);
    Ui.Taken.clear();
    std::filesystem::remove(ReturnPath());

    // With plots selected, entering any other field of the plot leads to the remarks.
    f.Widget()->activateWindow();
    f.Edit_name->SetFocus();
    QApplication::processEvents();
    EXPECT_TRUE(f.Edit_bikou->Focused());
    EXPECT_EQ(f.Edit_no->Text(), "東1-05");
    EXPECT_EQ(f.S.Search.EditingField, 1);

    f.Edit_bikou->UserType("花立て,破損\"");
    EXPECT_EQ(f.Edit_bikou->Text(), "花立て破損");
    EXPECT_EQ(Ui.Beeps, 2);
    f.Edit_bikou->UserType("\r");  // Enter stores the remarks ...
    f.Edit_bikouExit(f.Edit_bikou);  // ... and leaving the field sends nothing more
    EXPECT_EQ(f.S.Fig(plot).PlotRemarks, "花立て破損");
    EXPECT_EQ(Lists(), (std::vector<std::string>{"-999,-999,,,,-999,-999,変更\r\n" + PlotExchangeLine(f.S, plot) + "\r\n"}));
    EXPECT_EQ(f.S.LedgerUnchanged, 0);

    // The numbering page's fields share the handlers: focusing and leaving sends nothing.
    f.Edit5->SetText("3");
    f.Edit_bikouEnter();
    f.Edit_bikouExit(f.Edit5);
    EXPECT_EQ(Lists().size(), 1u);
    EXPECT_TRUE(Ui.Shown.empty());
}

// "新規検索" leaves the search fields taking criteria until the search runs; the fields
// that only share the remarks handlers must not keep the editing mark on other pages,
// or every shortcut is ignored there.
TEST_F(SearchPage, LeavingAFieldThatSharesTheRemarksHandlersGivesTheShortcutsBack) {
    TForm_zumenn& f = *Form;
    struct TCase {
        int Page;
        TControl* Field;
    };
    const TCase cases[] = {{2, f.Edit5}, {2, f.Edit6}, {5, f.ComboBox3}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Field->Name);
        f.PageControl1->UserSelectTab(1);
        f.PageControl1->UserSelectTab(0);
        f.BitBtn35->Click();
        ASSERT_EQ(f.BitBtn35->Caption(), "検索実行");
        f.PageControl1->UserSelectTab(c.Page);
        const std::int32_t steps = f.S.HistoryCount;
        ASSERT_EQ(f.S.History[static_cast<std::size_t>(steps)].Label, "タブページを戻す");

        f.Widget()->activateWindow();
        c.Field->SetFocus();
        QApplication::processEvents();
        ASSERT_TRUE(c.Field->Focused());
        EXPECT_EQ(f.S.Search.EditingField, 1);
        f.Edit1->SetFocus();
        QApplication::processEvents();
        EXPECT_EQ(f.S.Search.EditingField, 0);

        // Ctrl+Z takes the page switch back with the selection step below it.
        QKeyEvent down(QEvent::KeyPress, Qt::Key_Z, Qt::ControlModifier);
        QCoreApplication::sendEvent(f.Edit1->Widget(), &down);
        QKeyEvent up(QEvent::KeyRelease, Qt::Key_Z, Qt::ControlModifier);
        QCoreApplication::sendEvent(f.Edit1->Widget(), &up);
        EXPECT_EQ(f.S.HistoryCount, steps - 2);
        EXPECT_EQ(f.ActivePageIndex(), 0);
    }
    EXPECT_TRUE(Ui.Shown.empty());
}

// After "新規検索" a plot can still become the current hit while the button waits to
// search: picked on the map or asked for by the ledger. What is typed for it then is
// that plot's grade or remarks, and leaving the field gives the shortcuts back.
TEST_F(SearchPage, AFieldLeftWhileAPlotIsCurrentBeforeTheSearchRunsStoresItAndFreesTheKeys) {
    TForm_zumenn& f = *Form;
    TDrawingState& s = f.S;
    struct TCase {
        const char* Name;
        bool Picked;  // else requested by the ledger
        bool Grade;   // else the remarks
        std::int32_t Id;
        const char* Typed;
    };
    const TCase cases[] = {
        {"picked, grade", true, true, 2, "准特等"},
        {"picked, remarks", true, false, 2, "花立て破損"},
        {"requested, grade", false, true, 19, "三等"},
        {"requested, remarks", false, false, 19, "済"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        if (f.BitBtn35->Caption() == "検索実行") f.BitBtn35->Click();  // refused: a plot is selected
        f.BitBtn35->Click();
        ASSERT_EQ(f.BitBtn35->Caption(), "検索実行");
        ASSERT_EQ(s.SelectedCount, 0);
        const std::int32_t plot = PlotWithId(c.Id);
        ASSERT_GT(plot, 0);
        if (c.Picked) {
            const TDateRec& r = s.Fig(plot);  // on its outline: an owned plot is not filled
            ClickMap(ToPixel(s, r.BoxX1), ToPixel(s, (r.BoxY1 + r.BoxY2) / 2));
        } else {
            RequestPlot(c.Id);
            EXPECT_EQ(testing::ReadBytes(Dir.File("追加.txt")), "");
        }
        ASSERT_EQ(s.CurrentHitIndex, plot);
        ASSERT_EQ(f.BitBtn35->Caption(), "検索実行");
        Lists();
        Ui.Taken.clear();
        s.LedgerUnchanged = 1;
        const std::int32_t steps = s.HistoryCount;
        ASSERT_GT(steps, 0);

        TEdit* field = c.Grade ? f.tou_name : f.Edit_bikou;
        Focus(field);
        ASSERT_TRUE(field->Focused());
        EXPECT_EQ(s.Search.EditingField, 1);
        const std::string typed = c.Grade ? std::string(c.Typed) : s.Fig(plot).PlotRemarks + c.Typed;
        field->SetText("");
        field->UserType(typed);
        Focus(f.Edit1);

        EXPECT_EQ(s.Search.EditingField, 0);
        EXPECT_EQ(c.Grade ? s.Fig(plot).Grade : s.Fig(plot).PlotRemarks, typed);
        const std::vector<std::string> lists = Lists();
        EXPECT_EQ(lists, std::vector<std::string>{"-999,-999,,,,-999,-999,変更\r\n" + PlotExchangeLine(s, plot) + "\r\n"});
        if (!lists.empty()) {
            EXPECT_NE(lists[0].find("," + typed + ","), std::string::npos);
        }
        EXPECT_EQ(s.LedgerUnchanged, 0);
        if (c.Grade) {
            EXPECT_EQ(f.ComboBox4->Items().back(), typed);
        }
        EXPECT_EQ(s.HistoryCount, steps);  // no step of its own

        // Ctrl+Z is heard again: it takes back the steps below, not the edit.
        CtrlZ();
        EXPECT_LT(s.HistoryCount, steps);
        EXPECT_EQ(c.Grade ? s.Fig(plot).Grade : s.Fig(plot).PlotRemarks, typed);
    }
    EXPECT_TRUE(Ui.Shown.empty());
}

// With no plot current the grade and remarks typed after "新規検索" are criteria: moving
// on through the fields keeps them, and the search finds the plots that hold both.
TEST_F(SearchPage, AGradeAndRemarksTypedAfterNewSearchStayCriteriaWhileNoPlotIsCurrent) {
    TForm_zumenn& f = *Form;
    TDrawingState& s = f.S;
    f.BitBtn35->Click();
    ASSERT_EQ(f.BitBtn35->Caption(), "検索実行");
    Lists();
    Ui.Taken.clear();

    Focus(f.tou_name);
    f.tou_name->UserType("二等");
    Focus(f.Edit_bikou);
    f.Edit_bikou->UserType("墓誌");
    Focus(f.Edit_no);
    EXPECT_EQ(f.tou_name->Text(), "二等");
    EXPECT_EQ(f.Edit_bikou->Text(), "墓誌");
    EXPECT_EQ(s.Search.EditingField, 1);

    f.BitBtn35->Click();
    std::vector<std::int32_t> ids;
    for (std::int32_t k = 1; k <= s.SelectedCount; ++k) ids.push_back(s.Fig(s.SelectedList[static_cast<std::size_t>(k)]).PlotId);
    EXPECT_EQ(ids, (std::vector<std::int32_t>{17, 43}));
    EXPECT_EQ(s.Search.EditingField, 0);
    for (const std::int32_t id : {17, 43}) {
        EXPECT_EQ(s.Fig(PlotWithId(id)).Grade, "二等");
        EXPECT_EQ(s.Fig(PlotWithId(id)).PlotRemarks, "墓誌あり");
    }
    for (const std::string& list : Lists()) EXPECT_EQ(list.find("変更"), std::string::npos) << list;
}

// Every file and every list for the ledger is CP932: a character it cannot hold would
// reach them as "?". Each field whose text is stored refuses it as the text tool does,
// typed with a beep, pasted at the latest when the text is taken.
TEST(TypedTexts, KeepToWhatTheCodePageHoldsInEitherEdition) {
    for (const TEdition* edition : {&ProEdition(), &TabletEdition()}) {
        const bool pro = edition == &ProEdition();
        for (const std::string bad : {"𠮷", "😀"}) {
            SCOPED_TRACE(std::string(pro ? "full editor " : "tablet ") + bad);
            TProgramFolder dir;
            std::filesystem::copy(TARVEK_SAMPLES "/temple", dir.Path, std::filesystem::copy_options::recursive);
            WriteBytes(dir.File(SelectedDrawingFileName),
                       Utf8ToCp932("\"墓地\",\"\",\"29\",\"明星寺\",\"\",\"本堂裏墓地\"\r\n"));
            TTakingLedgerUi ui;
            ui.ReturnPath = dir.File("戻し.txt");
            auto form = StartForm(dir, ui, *edition);
            TForm_zumenn& f = *form;
            ASSERT_EQ(f.S.StartupError, 0);
            const std::int32_t plot = LivePlotWithId(f.S, 29);
            ASSERT_EQ(f.S.CurrentHitIndex, plot);
            int beeps = ui.Beeps;

            f.Edit_bikouEnter();
            f.Edit_bikou->SetText("");
            f.Edit_bikou->UserType("花" + bad + "立て\r");
            EXPECT_EQ(ui.Beeps, ++beeps);
            EXPECT_EQ(f.S.Fig(plot).PlotRemarks, "花立て");
            f.Edit_bikouEnter();
            f.Edit_bikou->SetText("墓誌" + bad);  // pasted
            f.Edit_bikouExit(f.Edit_bikou);
            EXPECT_EQ(f.Edit_bikou->Text(), "墓誌");
            EXPECT_EQ(f.S.Fig(plot).PlotRemarks, "墓誌");

            f.tou_nameEnter();
            f.tou_name->SetText("");
            f.tou_name->UserType("特" + bad + "等\r");
            EXPECT_EQ(ui.Beeps, ++beeps);
            EXPECT_EQ(f.S.Fig(plot).Grade, "特等");
            f.tou_nameEnter();
            f.tou_name->SetText(bad + "一等");
            f.tou_nameExit();
            EXPECT_EQ(f.tou_name->Text(), "一等");
            EXPECT_EQ(f.S.Fig(plot).Grade, "一等");

            if (pro) {
                // The grade list and the group name of the numbering page.
                f.PageControl1->UserSelectTab(2);
                char32_t key = bad == "𠮷" ? U'𠮷' : U'😀';
                f.ComboBox4KeyPress(key);
                EXPECT_EQ(key, 0u);
                EXPECT_EQ(ui.Beeps, ++beeps);
                f.ComboBox4->SetText("別" + bad + "格");
                f.ComboBox4Exit();
                EXPECT_EQ(f.ComboBox4->Text(), "別格");
                f.tokyuu->Click();
                EXPECT_EQ(f.S.Fig(plot).Grade, "別格");
                for (const std::string& item : f.ComboBox4->Items()) EXPECT_TRUE(IsCp932Encodable(item)) << item;
                f.Edit3->SetText("");
                f.Edit3->UserType("南" + bad + "区");
                EXPECT_EQ(f.Edit3->Text(), "南区");
                EXPECT_EQ(ui.Beeps, ++beeps);
                f.Edit3->SetText("東" + bad + "区");
                f.BitBtn19->Click();
                EXPECT_EQ(f.Edit3->Text(), "東区");
                EXPECT_EQ(f.S.Fig(plot).PlotNumber.rfind("東区", 0), 0u) << f.S.Fig(plot).PlotNumber;
            }
            const std::vector<std::string> lists = ui.Lists();
            EXPECT_FALSE(lists.empty());
            for (const std::string& bytes : ui.Taken) EXPECT_EQ(bytes.find('?'), std::string::npos) << Cp932ToUtf8(bytes);

            ui.Answers.push_back(mrYes);
            f.Close();
            for (const auto& [file, bytes] : Snapshot(dir.Path)) EXPECT_EQ(bytes.find('?'), std::string::npos) << file;
            form.reset();
            WriteBytes(dir.File(SelectedDrawingFileName),
                       Utf8ToCp932("\"墓地\",\"\",\"\",\"明星寺\",\"\",\"本堂裏墓地\"\r\n"));
            TScriptedUi ui2;
            auto again = StartForm(dir, ui2, *edition);
            ASSERT_EQ(again->S.StartupError, 0);
            const std::int32_t reread = LivePlotWithId(again->S, 29);
            EXPECT_EQ(again->S.Fig(reread).PlotRemarks, "墓誌");
            EXPECT_EQ(again->S.Fig(reread).Grade, pro ? "別格" : "一等");
        }
    }
}

}  // namespace
}  // namespace tarvek::testing
