// Our component layer, run offscreen with one QApplication for the whole suite.
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QWheelEvent>

#include <functional>
#include <string>
#include <vector>

#include "platform/vcl.h"
#include "gui_test_main.h"

namespace tarvek {
namespace {

void SendKey(QWidget* target, int key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
}

// Shows the form and gives the control the keyboard focus, as a click would.
void FocusOn(TForm& form, TControl& control) {
    form.Show();
    form.Widget()->activateWindow();
    QApplication::processEvents();
    control.SetFocus();
    QApplication::processEvents();
}

TEST(Components, ColoursShowAsTheirTableEntriesAndKeepTheirValue) {
    const struct {
        TColor color;
        QColor shown;
    } cases[] = {
        {clBtnFace, QColor(0xF0, 0xF0, 0xF0)},   {clWindow, QColor(0xFF, 0xFF, 0xFF)},
        {clWindowText, QColor(0, 0, 0)},          {clHighlight, QColor(0x00, 0x78, 0xD7)},
        {clHighlightText, QColor(0xFF, 0xFF, 0xFF)}, {SystemColor(0x63), QColor(0xF0, 0xF0, 0xF0)},
        {clRed, QColor(0xFF, 0, 0)},              {0x00123456, QColor(0x56, 0x34, 0x12)},
    };
    TForm form;
    auto* panel = form.Add<TPanel>();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.color);
        EXPECT_EQ(ColorToQColor(c.color), c.shown);
        panel->SetColor(c.color);
        EXPECT_EQ(panel->Color(), c.color);
        EXPECT_EQ(panel->Widget()->palette().color(QPalette::Window), c.shown);
    }
}

TEST(Components, OwnVisibleFlagStaysTrueOnAPageThatIsNotCurrent) {
    TForm form;
    form.SetClientSize(300, 200);
    auto* pages = form.Add<TPageControl>();
    pages->SetAlign(alClient);
    pages->AddPage("one");
    auto* edit = pages->AddPage("two")->Add<TEdit>();
    form.Show();

    ASSERT_EQ(pages->ActivePageIndex(), 0);
    EXPECT_TRUE(edit->Visible());
    EXPECT_FALSE(edit->Widget()->isVisible());
    pages->SetActivePageIndex(1);
    EXPECT_TRUE(edit->Widget()->isVisible());
    edit->SetVisible(false);
    EXPECT_FALSE(edit->Visible());
}

// Each case builds a control whose handlers count into calls, and returns a programmatic
// change and a user action.
struct TSilenceCase {
    const char* name;
    int userCalls;
    std::function<std::pair<std::function<void()>, std::function<void()>>(TForm&, int&)> build;
};

TEST(Components, ProgrammaticChangesAreSilentAndUserActionsNotify) {
    const TSilenceCase cases[] = {
        {"check box Click", 1,
         [](TForm& form, int& calls) {
             auto* box = form.Add<TCheckBox>();
             box->OnClick = [&calls, box] { ++calls; EXPECT_FALSE(box->Checked()); };
             return std::pair{std::function<void()>([box] { box->SetChecked(true); }),
                              std::function<void()>([box] { box->Click(); })};
         }},
        {"check box clicked in Qt", 1,
         [](TForm& form, int& calls) {
             auto* box = form.Add<TCheckBox>();
             box->OnClick = [&calls, box] { ++calls; EXPECT_TRUE(box->Checked()); };
             return std::pair{std::function<void()>([box] { box->SetChecked(false); }),
                              std::function<void()>([box] { static_cast<QCheckBox*>(box->Widget())->click(); })};
         }},
        {"combo box", 1,
         [](TForm& form, int& calls) {
             auto* combo = form.Add<TComboBox>();
             combo->SetStyle(csDropDownList);
             combo->OnChange = [&calls, combo] { ++calls; EXPECT_EQ(combo->ItemIndex(), 2); };
             return std::pair{std::function<void()>([combo] {
                                  combo->SetItems({"a", "b", "c"});
                                  combo->SetItemIndex(1);
                                  combo->SetText("a");
                              }),
                              std::function<void()>([combo] { combo->UserSelect(2); })};
         }},
        {"up-down", 1,
         [](TForm& form, int& calls) {
             auto* updown = form.Add<TUpDown>();
             updown->OnChanging = [updown](bool&) { EXPECT_EQ(updown->Position(), 5); };
             updown->OnClick = [&calls, updown](TUDBtnType b) {
                 ++calls; EXPECT_EQ(b, btNext); EXPECT_EQ(updown->Position(), 7);
             };
             return std::pair{std::function<void()>([updown] { updown->SetPosition(5); }),
                              std::function<void()>([updown] { updown->UserSetPosition(7); })};
         }},
        {"up-down stepped in Qt", 1,
         [](TForm& form, int& calls) {
             auto* updown = form.Add<TUpDown>();
             updown->OnClick = [&calls, updown](TUDBtnType b) {
                 ++calls; EXPECT_EQ(b, btPrev); EXPECT_EQ(updown->Position(), 4);
             };
             return std::pair{std::function<void()>([updown] { updown->SetPosition(5); }),
                              std::function<void()>([updown] { static_cast<QSpinBox*>(updown->Widget())->stepDown(); })};
         }},
        {"radio group", 1,
         [](TForm& form, int& calls) {
             auto* group = form.Add<TRadioGroup>();
             group->OnClick = [&calls, group] { ++calls; EXPECT_EQ(group->ItemIndex(), 1); };
             return std::pair{std::function<void()>([group] {
                                  group->SetItems({"x", "y"});
                                  group->SetItemIndex(0);
                              }),
                              std::function<void()>([group] { group->UserSelect(1); })};
         }},
        {"page control", 2,
         [](TForm& form, int& calls) {
             auto* pages = form.Add<TPageControl>();
             pages->AddPage("p0");
             pages->AddPage("p1");
             pages->OnChanging = [&calls, pages](bool&) { ++calls; EXPECT_EQ(pages->ActivePageIndex(), 1); };
             pages->OnChange = [&calls, pages] { ++calls; EXPECT_EQ(pages->ActivePageIndex(), 0); };
             return std::pair{std::function<void()>([pages] { pages->SetActivePageIndex(1); }),
                              std::function<void()>([pages] { pages->UserSelectTab(0); })};
         }},
        {"page control tab clicked in Qt", 2,
         [](TForm& form, int& calls) {
             auto* pages = form.Add<TPageControl>();
             pages->AddPage("p0");
             pages->AddPage("p1");
             pages->OnChanging = [&calls, pages](bool&) { ++calls; EXPECT_EQ(pages->ActivePageIndex(), 1); };
             pages->OnChange = [&calls, pages] { ++calls; EXPECT_EQ(pages->ActivePageIndex(), 0); };
             return std::pair{std::function<void()>([pages] { pages->SetActivePageIndex(1); }),
                              std::function<void()>([pages] { pages->Tabs()->tabBar()->setCurrentIndex(0); })};
         }},
        {"edit", 2,
         [](TForm& form, int& calls) {
             auto* edit = form.Add<TEdit>();
             edit->OnChange = [&calls] { ++calls; };
             return std::pair{std::function<void()>([edit] { edit->SetText("abc"); }),
                              std::function<void()>([edit] {
                                  // A text the program set leaves the caret at its start.
                                  edit->Editor()->end(false);
                                  edit->UserType("de");
                                  EXPECT_EQ(edit->Text(), "abcde");
                              })};
         }},
    };
    for (const TSilenceCase& c : cases) {
        SCOPED_TRACE(c.name);
        TForm form;
        int calls = 0;
        auto [programmatic, user] = c.build(form, calls);
        programmatic();
        EXPECT_EQ(calls, 0);
        user();
        EXPECT_EQ(calls, c.userCalls);
    }
}

TEST(Components, PageControlRefusedChangeStaysOnThePage) {
    TForm form;
    auto* pages = form.Add<TPageControl>();
    pages->AddPage("p0");
    pages->AddPage("p1");
    int changes = 0;
    pages->OnChanging = [](bool& allow) { allow = false; };
    pages->OnChange = [&changes] { ++changes; };
    pages->Tabs()->tabBar()->setCurrentIndex(1);
    pages->UserSelectTab(1);
    EXPECT_EQ(pages->ActivePageIndex(), 0);
    EXPECT_EQ(changes, 0);
}

TEST(Components, EditKeyPressCanSwallowAndReplaceTypedCharacters) {
    // "/" and Enter are swallowed, "q" becomes "Q".
    auto filter = [](std::vector<char32_t>& seen) {
        return [&seen](char32_t& key) {
            seen.push_back(key);
            if (key == U'/' || key == 13) key = 0;
            if (key == U'q') key = U'Q';
        };
    };
    const std::vector<char32_t> expectedSeen{U'a', U'/', U'q', 13, U'b'};

    TForm form;
    auto* edit = form.Add<TEdit>();
    std::vector<char32_t> seen;
    edit->OnKeyPress = filter(seen);
    edit->UserType("a/q\rb");
    EXPECT_EQ(edit->Text(), "aQb");
    EXPECT_EQ(seen, expectedSeen);

    edit->SetText("");
    seen.clear();
    FocusOn(form, *edit);
    QWidget* target = edit->Editor();
    SendKey(target, Qt::Key_A, "a");
    SendKey(target, Qt::Key_Slash, "/");
    SendKey(target, Qt::Key_Q, "q");
    SendKey(target, Qt::Key_Return, "\r");
    SendKey(target, Qt::Key_B, "b");
    EXPECT_EQ(edit->Text(), "aQb");
    EXPECT_EQ(seen, expectedSeen);
}

TEST(Components, AnEditShowsATextTheProgramSetsFromItsStart) {
    TForm form;
    form.SetBounds(0, 0, 600, 200);
    auto* narrow = form.Add<TEdit>();
    auto* wide = form.Add<TEdit>();
    narrow->SetBounds(10, 10, 129, 27);
    wide->SetBounds(10, 60, 400, 27);
    const std::string text = "0123-46-6289";
    for (TEdit* e : {narrow, wide}) {
        e->SetFont("DejaVu Sans", 14);
        e->SetText("x");
        e->SetText(text);
    }
    // The focus elsewhere: no caret drawn over the first digit.
    auto* elsewhere = form.Add<TEdit>();
    elsewhere->SetBounds(10, 110, 100, 27);
    FocusOn(form, *elsewhere);
    const QFontMetrics metrics(narrow->Editor()->font());
    ASSERT_GT(metrics.horizontalAdvance(QString::fromStdString(text)), narrow->Width());
    EXPECT_EQ(narrow->Editor()->cursorPosition(), 0);
    // Up to near its right edge the narrow field shows what the wide one shows: the text
    // from its first digit on.
    const QImage left = narrow->Editor()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage whole = wide->Editor()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect compared(0, 0, narrow->Width() - 8, narrow->Height());
    EXPECT_EQ(left.copy(compared), whole.copy(compared));
}

TEST(Components, StringGridKeepsCellsAcrossResizingAndShowsFixedCellsAsHeaders) {
    TForm form;
    auto* grid = form.Add<TStringGrid>();
    grid->SetFixedCols(0);
    grid->SetColCount(3);
    grid->SetRowCount(3);
    auto name = [](int c, int r) { return "c" + std::to_string(c) + "r" + std::to_string(r); };
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) grid->SetCell(c, r, name(c, r));

    grid->SetRowCount(5);
    grid->SetColCount(4);
    EXPECT_EQ(grid->Cells(2, 2), name(2, 2));
    EXPECT_EQ(grid->Cells(3, 1), "");
    EXPECT_EQ(grid->Cells(0, 4), "");
    grid->SetRowCount(2);
    grid->SetColCount(2);
    EXPECT_EQ(grid->Cells(1, 1), name(1, 1));
    EXPECT_EQ(grid->Cells(2, 1), "");  // outside the grid now
    grid->SetRowCount(3);
    EXPECT_EQ(grid->Cells(0, 2), "");  // a row that comes back comes back empty

    // Row 0 is the column header; data rows start at the view's row 0.
    const QAbstractItemModel* model = grid->Model();
    EXPECT_EQ(model->rowCount(), 2);
    EXPECT_EQ(model->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString().toStdString(), name(1, 0));
    EXPECT_EQ(model->data(model->index(0, 1)).toString().toStdString(), name(1, 1));

    grid->SetFixedCols(1);
    EXPECT_EQ(model->columnCount(), 1);
    EXPECT_EQ(model->headerData(0, Qt::Vertical, Qt::DisplayRole).toString().toStdString(), name(0, 1));
    EXPECT_EQ(model->data(model->index(0, 0)).toString().toStdString(), name(1, 1));

    grid->SetFixedCols(0);
    grid->SetColWidth(1, 0);
    EXPECT_TRUE(grid->View()->isColumnHidden(1));
    EXPECT_EQ(grid->ColWidths(1), 0);
    grid->SetColWidth(1, 40);
    EXPECT_FALSE(grid->View()->isColumnHidden(1));
    EXPECT_EQ(grid->View()->columnWidth(1), 40);

    grid->SetOptions(grid->Options() | goEditing);
    grid->Model()->setData(model->index(1, 0), QString("typed"));
    EXPECT_EQ(grid->Cells(0, 2), "typed");
}

TEST(Components, AStringGridRowIsSetWholeAsCellByCell) {
    TForm form;
    auto* grid = form.Add<TStringGrid>();
    grid->SetColCount(4);
    grid->SetRowCount(4);
    const std::vector<std::string> texts = {"id", "a", "b", "c", "beyond"};
    int notices = 0;
    QObject::connect(grid->Model(), &QAbstractItemModel::dataChanged, [&] { ++notices; });
    // A fixed column and row: row 0 and column 0 are headers, the rest data.
    for (const int row : {0, 2}) grid->SetRowCells(row, texts);
    EXPECT_EQ(notices, 1) << "one notice for the data cells of row 2";
    for (const int row : {0, 2})
        for (int c = 0; c < 4; ++c) EXPECT_EQ(grid->Cells(c, row), texts[std::size_t(c)]) << c << " " << row;
    EXPECT_EQ(grid->Cells(0, 1), "");
    const QAbstractItemModel* model = grid->Model();
    EXPECT_EQ(model->data(model->index(1, 2)).toString().toStdString(), "c");
    EXPECT_EQ(model->headerData(1, Qt::Vertical, Qt::DisplayRole).toString().toStdString(), "id");
    grid->SetRowCells(9, texts);  // outside: nothing
    EXPECT_EQ(grid->RowCount(), 4);
}

TEST(Components, StringGridAsksBeforeTheCurrentCellMoves) {
    TForm form;
    auto* grid = form.Add<TStringGrid>();
    grid->SetRowCount(10);
    std::vector<int> asked;
    bool allow = false;
    grid->OnSelectCell = [&](int, int row, bool& canSelect) {
        asked.push_back(row);
        canSelect = allow;
    };
    grid->SetRow(3);  // silent
    const QModelIndex target = grid->Model()->index(6, 0);  // grid row 7
    grid->View()->setCurrentIndex(target);
    EXPECT_EQ(grid->Row(), 3);
    allow = true;
    grid->View()->setCurrentIndex(target);
    EXPECT_EQ(grid->Row(), 7);
    EXPECT_EQ(asked, (std::vector<int>{7, 7}));
}

TEST(Layout, AlignedAndAnchoredControlsFollowTheFormSize) {
    TForm form;
    form.SetClientSize(400, 300);
    auto* status = form.Add<TStatusBar>();
    status->Name = "StatusBar1";
    auto* top = form.Add<TPanel>();
    top->Name = "Panel1";
    top->SetBounds(0, 0, 100, 40);
    top->SetAlign(alTop);
    auto* client = form.Add<TPanel>();
    client->Name = "Panel2";
    client->SetAlign(alClient);
    auto* button = client->Add<TButton>();
    button->Name = "Button1";
    button->SetBounds(300, 200, 80, 25);
    button->SetAnchors(akRight | akBottom);
    auto* edit = client->Add<TEdit>();
    edit->Name = "Edit1";
    edit->SetBounds(10, 10, 380, 21);
    edit->SetAnchors(akLeft | akTop | akRight);
    auto* label = client->Add<TLabel>();
    label->Name = "Label1";
    label->SetBounds(10, 50, 65, 13);

    form.Show();
    form.Widget()->resize(500, 350);  // as the user drags the frame
    QApplication::processEvents();

    const struct {
        const char* name;
        QRect bounds;
    } expected[] = {
        {"StatusBar1", {0, 331, 500, 19}}, {"Panel1", {0, 0, 500, 40}},  {"Panel2", {0, 40, 500, 291}},
        {"Button1", {400, 250, 80, 25}},   {"Edit1", {10, 10, 480, 21}}, {"Label1", {10, 50, 65, 13}},
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(e.name);
        TControl* c = form.FindComponent(e.name);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->BoundsRect(), e.bounds);
        EXPECT_EQ(c->Widget()->geometry(), e.bounds);
    }
}

TEST(Forms, ShowAndCloseHandlersRunOncePerShowAndClose) {
    TForm form;
    int shows = 0, closes = 0;
    form.OnShow = [&shows] { ++shows; };
    form.OnClose = [&closes] { ++closes; };
    form.Show();
    form.Close();
    form.Close();
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(form.Visible());
    EXPECT_FALSE(form.Widget()->isVisible());

    form.Show();
    form.Widget()->close();  // the window's close button
    EXPECT_EQ(closes, 2);
    EXPECT_EQ(shows, 1);

    form.Show();
    form.OnCloseQuery = [](bool& canClose) { canClose = false; };
    form.Close();
    EXPECT_EQ(closes, 2);
    EXPECT_TRUE(form.Widget()->isVisible());
}

TEST(Forms, KeyPreviewSeesKeysBeforeTheControlAndCanSwallowThem) {
    TForm form;
    auto* edit = form.Add<TEdit>();
    std::vector<std::string> order;
    form.SetKeyPreview(true);
    form.OnKeyDown = [&order](unsigned short& key, TShiftState) {
        order.push_back("form " + std::to_string(key));
        if (key == 'Q') key = 0;
    };
    edit->OnKeyDown = [&order](unsigned short& key, TShiftState) { order.push_back("edit " + std::to_string(key)); };
    FocusOn(form, *edit);
    ASSERT_TRUE(edit->Focused());

    SendKey(QApplication::focusWidget(), Qt::Key_A, "a");
    SendKey(QApplication::focusWidget(), Qt::Key_Q, "q");
    EXPECT_EQ(order, (std::vector<std::string>{"form 65", "edit 65", "form 81"}));
    EXPECT_EQ(edit->Text(), "a");
}

TEST(Components, PaintBoxWheelSumsSmallDeltasIntoWholeSteps) {
    TForm form;
    auto* box = form.Add<TPaintBox>();
    box->SetBounds(0, 0, 200, 100);
    std::vector<int> steps;
    box->OnMouseWheel = [&steps](TShiftState, int delta, int x, int y, bool& handled) {
        steps.push_back(delta);
        EXPECT_EQ(QPoint(x, y), QPoint(10, 20));
        handled = true;
    };
    for (int i = 0; i < 5; ++i) {
        QWheelEvent wheel(QPointF(10, 20), QPointF(10, 20), QPoint(), QPoint(0, 24), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(box->Widget(), &wheel);
    }
    EXPECT_EQ(steps, std::vector<int>{120});
}

TEST(Components, ImageLoadsAPictureAndFailsCleanlyOnAMissingFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage png(7, 5, QImage::Format_RGB32);
    png.fill(QColor(255, 0, 0));
    const QString path = dir.filePath("picture.png");
    ASSERT_TRUE(png.save(path));
    const std::string missing = dir.filePath("missing.png").toStdString();

    TForm form;
    auto* image = form.Add<TImage>();
    EXPECT_FALSE(image->LoadFromFile(missing));
    EXPECT_TRUE(image->Empty());
    ASSERT_TRUE(image->LoadFromFile(path.toStdString()));
    EXPECT_EQ(image->Picture().size(), QSize(7, 5));
    EXPECT_EQ(image->Picture().pixelColor(3, 2), QColor(255, 0, 0));
    EXPECT_FALSE(image->LoadFromFile(missing));
    EXPECT_EQ(image->Picture().size(), QSize(7, 5));  // the picture stays
}

}  // namespace
}  // namespace tarvek

int main(int argc, char** argv) { return tarvek::testing::RunGuiTests<QApplication>(argc, argv); }
