// The full editor's start-up and shutdown, driven through the real form offscreen in
// a temporary program folder.
#include <gtest/gtest.h>

#include <QApplication>

#include "document/drawing_file.h"
#include "form_test_support.h"
#include "jpeg_test_support.h"
#include "gui_test_main.h"
#include "tablet/tablet_edition.h"

namespace tarvek {
namespace {

using testing::Snapshot;
using testing::StartForm;
using testing::TProgramFolder;

TEST(FormStartup, EachBrokenInputGivesItsMessageAndTouchesNoFile) {
    struct TCase {
        const char* Name;
        std::function<void(TProgramFolder&)> Break;
        const char* Message;
    };
    const TCase cases[] = {
        {"empty request", [](TProgramFolder& d) { testing::WriteBytes(d.RequestFile(), ""); }, RequestStageMessage},
        {"no request", [](TProgramFolder& d) { std::filesystem::remove(d.RequestFile()); }, RequestStageMessage},
        {"target no integer", [](TProgramFolder& d) { d.WriteFreshRequest(TProgramFolder::Drawing, "x1"); },
         RequestStageMessage},
        {"unsafe drawing name", [](TProgramFolder& d) { d.WriteFreshRequest("../図面1"); }, RequestStageMessage},
        {"request already answered",
         [](TProgramFolder& d) { d.WriteRequest("\"厨子\",\"変更有\",\"0\",\"寺\",OK,\"図面1\""); },
         StaleRequestMessage},
        {"drawing cut short", [](TProgramFolder& d) { d.UseDrawingFixture("cut_data.txt"); }, FigureReadErrorMessage},
        {"drawing file missing", [](TProgramFolder& d) { std::filesystem::remove(d.DataFile()); },
         FigureReadErrorMessage},
        {"display settings line damaged",
         [](TProgramFolder& d) {
             TLines lines = FormDataToLines(TFormData{});
             lines[4] = "幅";
             ASSERT_TRUE(WriteTextLines(d.DispFile(), lines));
         },
         ViewReadErrorMessage},
        {"empty household export", [](TProgramFolder& d) { testing::WriteBytes(d.File(HouseholdTableFileName), ""); },
         HouseholdStageMessage},
        // Beyond any file the ledger or the editor writes: refused before it is read whole.
        {"household export of 300 MB",
         [](TProgramFolder& d) { std::filesystem::resize_file(d.File(HouseholdTableFileName), std::uintmax_t{300} << 20); },
         HouseholdStageMessage},
        {"drawing file of 300 MB",
         [](TProgramFolder& d) { std::filesystem::resize_file(d.DataFile(), std::uintmax_t{300} << 20); },
         FigureReadErrorMessage},
        {"display settings with a line of 2 MB",
         [](TProgramFolder& d) { testing::WriteBytes(d.DispFile(), std::string(2 << 20, '1') + "\r\n"); },
         ViewReadErrorMessage},
        {"hand-over file with a line of 2 MB",
         [](TProgramFolder& d) { testing::WriteBytes(d.File(HandoverCsvFileName), std::string(2 << 20, '1') + "\r\n"); },
         HandoverStageMessage},
        {"target out of the 32-bit range", [](TProgramFolder& d) { d.WriteFreshRequest(TProgramFolder::Drawing, "-2147483649"); },
         RequestStageMessage},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TProgramFolder dir;
        dir.LayOutDefault();
        c.Break(dir);
        const auto before = Snapshot(dir.Path);
        TScriptedUi ui;
        auto form = StartForm(dir, ui);
        ASSERT_EQ(ui.Shown.size(), 1u);
        EXPECT_EQ(ui.Shown[0].Text, c.Message);
        EXPECT_EQ(ui.Shown[0].Type, TMsgDlgType::mtWarning);
        EXPECT_EQ(ui.Shown[0].Buttons, static_cast<unsigned>(mbAbort));
        EXPECT_GE(ui.Beeps, 1);
        EXPECT_FALSE(form->Widget()->isVisible());
        EXPECT_EQ(Snapshot(dir.Path), before);
        // A failed start keeps the captions as laid out.
        if (c.Message != StaleRequestMessage) {
            EXPECT_EQ(form->BitBtn6->Caption(), "複厨子");
            EXPECT_FALSE(form->Timer1->Enabled());
        }
    }
}

TEST(FormStartup, CleanStartShowsTheDrawingAsSaved) {
    TProgramFolder dir;
    dir.LayOutDefault();
    TScriptedUi ui;
    auto form = StartForm(dir, ui);
    EXPECT_TRUE(ui.Shown.empty());
    EXPECT_TRUE(form->Widget()->isVisible());
    EXPECT_EQ(form->Caption(), "寺図面データ_厨子");
    EXPECT_EQ(form->neisyo->Text(), "厨子名称");
    EXPECT_EQ(form->taiou->Text(), "「厨子台帳」にリアルタイム");
    EXPECT_EQ(form->file_neisyo->Text(), "図面1");
    EXPECT_EQ(form->S.FigureCount, 7);
    EXPECT_EQ(form->S.Zoom, 8);
    EXPECT_EQ(form->S.ZoomStep, 5);
    EXPECT_EQ(form->PaintBox1->Width(), 3000);
    EXPECT_EQ(form->PaintBox1->Height(), 2000);
    EXPECT_EQ(form->ActivePageIndex(), 0);
    EXPECT_EQ(form->BitBtn6->Caption(), "複数厨子");
    EXPECT_EQ(form->botika_false->Caption(), "厨子を図形");
    EXPECT_EQ(form->BitBtn45->Hint(), "１個の厨子を配置します。");
    EXPECT_EQ(form->CheckBox2->Caption(), "厨子回転時、檀家名も回転させる");
    EXPECT_EQ(form->liya->Items(), (std::vector<std::string>{"全て", "厨子のみ", "厨子以外"}));
    EXPECT_TRUE(form->Timer1->Enabled());
    EXPECT_TRUE(form->clip_Check->Checked());
    EXPECT_FALSE(form->CheckBox2->Checked());
    EXPECT_EQ(form->UpDown1->Position(), 12);
    EXPECT_EQ(form->UpDown3->Position(), 400);
    EXPECT_TRUE(form->ck_true->Checked());
    EXPECT_EQ(form->StringGrid1->RowCount(), 4);
    EXPECT_EQ(form->StringGrid1->Cells(0, 1), "000123");
    EXPECT_EQ(form->StringGrid1->ColWidths(8), 48);
    EXPECT_TRUE(form->StringGrid1->Visible());
    EXPECT_EQ(form->S.LedgerUnchanged, 1);
    EXPECT_EQ(form->S.DrawingUnchanged, 1);
    EXPECT_EQ(form->S.Tools.ChainStart, 31000);  // beyond every record: no chain is being drawn
}

TEST(FormStartup, TheSampleTempleStartsClean) {
    TProgramFolder dir;
    std::filesystem::copy(TARVEK_SAMPLES "/temple", dir.Path, std::filesystem::copy_options::recursive);
    TScriptedUi ui;
    auto form = StartForm(dir, ui);
    EXPECT_TRUE(ui.Shown.empty());
    EXPECT_EQ(ui.Beeps, 0);
    EXPECT_EQ(form->Caption(), "明星寺図面データ_墓地");
    EXPECT_EQ(form->S.FigureCount, 84);
    EXPECT_EQ(form->StringGrid1->RowCount(), 101);
    EXPECT_EQ(form->BitBtn45->Caption(), "単数墓地");
    EXPECT_EQ(form->Panel1->Color(), NewDrawingPanelColor);  // light beige round the map
    for (const auto& cursor : form->ScreenCursors) EXPECT_TRUE(cursor.has_value());
    EXPECT_EQ(form->ScreenCursors[2]->hotSpot(), QPoint(16, 17));
    form->Widget()->grab().save(QString::fromStdString(dir.File("window.png")));
    form->Close();
    TLines answer;
    ASSERT_TRUE(ReadTextLines(dir.RequestFile(), answer));
    EXPECT_EQ(answer, (TLines{"\"墓地\",\"\",\"0\",\"明星寺\",OK,\"本堂裏墓地\""}));
}

TEST(FormStartup, RequestTargetsAPlotOrAHousehold) {
    {
        TProgramFolder dir;
        dir.LayOutDefault();
        dir.WriteFreshRequest(TProgramFolder::Drawing, "41");
        TScriptedUi ui;
        auto form = StartForm(dir, ui);
        EXPECT_EQ(form->S.CurrentHitIndex, 2);
        EXPECT_EQ(form->S.SelectedCount, 1);
        EXPECT_EQ(form->S.Fig(2).Selected, 1);
        EXPECT_EQ(form->S.Fig(2).SetAside, 0);  // the target is the copy that shows
        EXPECT_EQ(form->ActivePageIndex(), 0);
    }
    {
        TProgramFolder dir;
        dir.LayOutDefault();
        dir.WriteFreshRequest(TProgramFolder::Drawing, "-124");
        TScriptedUi ui;
        auto form = StartForm(dir, ui);
        EXPECT_EQ(form->ActivePageIndex(), 1);
        EXPECT_TRUE(form->StringGrid2->Visible());
        EXPECT_FALSE(form->StringGrid1->Visible());
        // Columns 0 to 7 of the household's row; not its remarks.
        const std::vector<std::string> shown{"000124", "鈴木家", "鈴木　花子", "川原", "北浜県", "川原2", "0123-45-0000", "2", ""};
        for (int c = 0; c < HouseholdColumns; ++c) EXPECT_EQ(form->StringGrid2->Cells(c, 1), shown[static_cast<std::size_t>(c)]) << "column " << c;
        EXPECT_EQ(form->S.LedgerTargetId, 0);
        form->Close();
        TLines answer;
        ASSERT_TRUE(ReadTextLines(dir.RequestFile(), answer));
        EXPECT_EQ(answer, (TLines{"\"厨子\",\"依頼\",\"0\",\"寺\",OK,\"図面1\""}));
    }
    {
        // Its negation does not fit: no household, and none written back.
        TProgramFolder dir;
        dir.LayOutDefault();
        dir.WriteFreshRequest(TProgramFolder::Drawing, "-2147483648");
        TScriptedUi ui;
        auto form = StartForm(dir, ui);
        EXPECT_TRUE(ui.Shown.empty());
        EXPECT_EQ(form->ActivePageIndex(), 0);
        EXPECT_EQ(form->S.LedgerTargetId, 0);
        form->Close();
        TLines answer;
        ASSERT_TRUE(ReadTextLines(dir.RequestFile(), answer));
        EXPECT_EQ(answer, (TLines{"\"厨子\",\"依頼\",\"0\",\"寺\",OK,\"図面1\""}));
    }
}

// One version-4 record of a plot as the drawing file holds it.
TLines PlotRecord(int kind, std::array<const char*, 8> pts, int key, const char* setAside, int share, int owner) {
    return {std::to_string(kind), pts[0], pts[1], pts[2], pts[3], "0", "0", "7321527", std::to_string(key),
            pts[4], pts[5], pts[6], pts[7], "0", "0", "0", "0", setAside, std::to_string(share),
            std::to_string(owner), "1", "0", "1", "-1", "ＭＳ 明朝"};
}

// A plot named by the request at start-up is shown as a ledger request shows it: the same
// sorted list, counter, co-owner list, current hit and zoom.
TEST(FormStartup, ARequestedPlotIsShownAsALedgerRequestShowsIt) {
    constexpr std::array<const char*, 8> box{"1000", "1000", "5000", "1000", "5000", "4000", "1000", "4000"};
    constexpr std::array<const char*, 8> edge1{"10000", "1000", "10000", "1000", "14000", "1000", "14000", "1000"};
    constexpr std::array<const char*, 8> edge2{"14000", "1000", "14000", "1000", "12000", "4000", "12000", "4000"};
    constexpr std::array<const char*, 8> edge3{"12000", "4000", "12000", "4000", "10000", "1000", "10000", "1000"};
    constexpr std::array<const char*, 8> polygon{"10000", "1000", "14000", "1000", "14000", "4000", "10000", "4000"};
    // 1, 2: a shared plot of two copies, the first in front; 3-6: a polygon plot, its
    // three edges before it.
    TLines drawing{"Ver4.00"};
    for (const TLines& r : {PlotRecord(11000, box, 50, "0", 50, 0), PlotRecord(11000, box, 51, "-1", 50, 0),
                            PlotRecord(77, edge1, 60, "0", 0, 6), PlotRecord(77, edge2, 60, "0", 0, 6),
                            PlotRecord(77, edge3, 60, "0", 0, 6), PlotRecord(31, polygon, 60, "0", 0, 0)})
        drawing.insert(drawing.end(), r.begin(), r.end());
    drawing.push_back("endofdata");

    struct TCase {
        const char* Name;
        const char* Target;
        std::int32_t Hit;
        std::vector<std::int32_t> Listed;
        bool CoOwners;
    };
    const TCase cases[] = {
        {"the set-aside copy of a shared plot", "51", 2, {1, 2}, true},
        {"a polygon plot", "60", 6, {6}, false},
    };
    struct TShown {
        std::vector<std::int32_t> List;
        std::int32_t Count, Cursor, Hit, Zoom;
        std::string Counter;
        bool CoOwnerList;
        int CoOwnerRows;
        std::vector<int> SetAside;
        bool operator==(const TShown&) const = default;
    };
    const auto shown = [](const TForm_zumenn& f) {
        TShown v{f.S.SelectedList, f.S.SelectedCount, f.S.SelectedCursor, f.S.CurrentHitIndex, f.S.Zoom,
                 f.Memo9->Lines().at(0), f.StringGrid4->Visible(), f.StringGrid4->RowCount(), {}};
        for (std::int32_t i = 1; i <= f.S.FigureCount; ++i) v.SetAside.push_back(f.S.Fig(i).SetAside);
        return v;
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TProgramFolder atStart, asked;
        for (TProgramFolder* d : {&atStart, &asked}) {
            d->LayOutDefault();
            testing::WriteBytes(d->DataFile(), Utf8ToCp932([&] {
                std::string text;
                for (const std::string& l : drawing) text += l + "\r\n";
                return text;
            }()));
        }
        atStart.WriteFreshRequest(TProgramFolder::Drawing, c.Target);
        TScriptedUi ui, askedUi;
        auto form = StartForm(atStart, ui);
        ASSERT_TRUE(ui.Shown.empty());
        auto reference = StartForm(asked, askedUi);
        testing::WriteBytes(asked.File("追加.txt"), std::string(c.Target) + "\r\n");
        reference->Timer1Timer();
        ASSERT_EQ(testing::ReadBytes(asked.File("追加.txt")), "");

        const TShown got = shown(*form);
        EXPECT_EQ(got.Hit, c.Hit);
        EXPECT_EQ(std::vector<std::int32_t>(got.List.begin() + 1, got.List.end()), c.Listed);
        EXPECT_EQ(got.Count, static_cast<std::int32_t>(c.Listed.size()));
        EXPECT_EQ(got.Counter, std::to_string(c.Listed.size()));
        EXPECT_EQ(got.CoOwnerList, c.CoOwners);
        EXPECT_EQ(got.Zoom, 2);
        EXPECT_EQ(form->ActivePageIndex(), 0);
        EXPECT_TRUE(got == shown(*reference));
    }
}

TEST(FormView, SettingsReachTheControlsAndComeBackAtClosing) {
    TProgramFolder dir;
    dir.LayOutDefault();
    QImage paper(8, 8, QImage::Format_RGB32);
    paper.fill(Qt::yellow);
    std::filesystem::create_directory(dir.File("紙"));
    ASSERT_TRUE(paper.save(QString::fromStdString(dir.File("紙/背景.png"))));
    TFormData d;
    d.FormTop = 30, d.FormLeft = 40, d.FormWidth = 1000, d.FormHeight = 700;
    d.BackgroundPicturePath = dir.File("紙/背景.png");
    d.GridColWidths = {50, 80, 80, 60, 90, 150, 60, 0, 200};
    d.ClipCheck = false, d.RotateCheck = true, d.NameTextSize = 15, d.SelectAfterDrawing = true;
    ASSERT_TRUE(WriteTextLines(dir.DispFile(), FormDataToLines(d)));

    TScriptedUi ui;
    auto form = StartForm(dir, ui);
    ASSERT_TRUE(ui.Shown.empty());
    EXPECT_FALSE(form->Image1->Empty());
    EXPECT_EQ(form->WindowTop(), 30);
    EXPECT_EQ(form->WindowWidth(), 1000);
    EXPECT_EQ(form->StringGrid1->ColWidths(8), 200);
    EXPECT_FALSE(form->clip_Check->Checked());
    EXPECT_FALSE(form->clip_Check->Enabled());  // rotating names: clipping does not apply
    EXPECT_TRUE(form->UpDown2->Enabled());
    EXPECT_EQ(form->UpDown1->Position(), 15);

    form->UpDown1->UserSetPosition(18);
    form->StringGrid1->SetColWidth(2, 123);
    form->ck_true->Click();
    // The name size is a change of the drawing: closing asks, and saving keeps the view.
    ui.Answers.push_back(mrYes);
    form->Close();
    ASSERT_EQ(ui.Shown.size(), 1u);
    EXPECT_NE(ui.Shown[0].Text.find("保存しますか"), std::string::npos);
    TLines lines;
    ASSERT_TRUE(ReadTextLines(dir.DispFile(), lines));
    ASSERT_EQ(lines.size(), 41u);
    EXPECT_EQ(lines[0], "30");
    EXPECT_EQ(lines[2], "1000");
    EXPECT_EQ(lines[17], dir.File("紙/背景.png"));
    EXPECT_EQ(lines[24], "123");
    EXPECT_EQ(lines[31], "なし");
    EXPECT_EQ(lines[32], "あり");
    EXPECT_EQ(lines[33], "18");
    EXPECT_EQ(lines[35], "なし");

    // A picture gone from a folder that is still there clears the paper; a folder that
    // is gone leaves it as it was.
    for (const bool folderGone : {false, true}) {
        SCOPED_TRACE(folderGone ? "folder gone" : "file gone");
        TProgramFolder again;
        again.LayOutDefault();
        TFormData g;
        g.BackgroundPicturePath = folderGone ? again.File("無い/背景.png") : again.File("背景.png");
        ASSERT_TRUE(WriteTextLines(again.DispFile(), FormDataToLines(g)));
        TScriptedUi ui2;
        TForm_zumenn f(again.Folder(), ui2);
        EXPECT_TRUE(f.Image1->Empty());
        EXPECT_EQ(f.S.BackgroundPicturePath, g.BackgroundPicturePath);
    }
}

// A JPEG named by the settings is decoded at start-up; one cut short clears the paper as a
// file that is gone does.
TEST(FormView, AJpegPaperPictureAtStartUp) {
    for (const bool whole : {true, false}) {
        SCOPED_TRACE(whole ? "whole" : "cut short");
        TProgramFolder dir;
        dir.LayOutDefault();
        QImage plain(40, 30, QImage::Format_RGB32);
        const QRgb orange = qRgb(255, 128, 0);
        plain.fill(orange);
        const std::string jpeg = testing::EncodeJpeg(plain);
        testing::WriteBytes(dir.File("背景.JPEG"), whole ? jpeg : jpeg.substr(0, jpeg.size() - 2));
        TFormData d;
        d.BackgroundPicturePath = dir.File("背景.JPEG");
        ASSERT_TRUE(WriteTextLines(dir.DispFile(), FormDataToLines(d)));
        TScriptedUi ui;
        auto form = StartForm(dir, ui);
        ASSERT_TRUE(ui.Shown.empty());
        EXPECT_EQ(form->Image1->Empty(), !whole);
        EXPECT_EQ(form->S.BackgroundPicturePath, d.BackgroundPicturePath);
        form->PaintMapImage();
        const QImage& map = form->MapImage;
        int paper = 0;
        for (int y = 0; y < map.height(); ++y)
            for (int x = 0; x < map.width(); ++x) paper += testing::NearColour(map.pixel(x, y), orange) ? 1 : 0;
        // The picture fills the view but for the figures drawn over it.
        if (whole) {
            EXPECT_GT(paper, map.width() * map.height() / 2);
        } else {
            EXPECT_EQ(paper, 0);
        }
    }
}

// What the view shows of a drawing whose file holds no view section, beside a new
// drawing: the two must not differ in any control nor in any line written at closing.
struct TShownView {
    std::vector<std::string> Values;

    static TShownView Of(const TForm_zumenn& f) {
        TShownView v;
        const auto add = [&v](const std::string& name, long long value) { v.Values.push_back(name + "=" + std::to_string(value)); };
        add("window colour", f.Color());
        add("Panel1", f.Panel1->Color());
        for (const TMemo* m : f.CaptionMemos()) add(m->Name, m->Color());
        for (int c = 0; c < HouseholdColumns; ++c) add("grid column " + std::to_string(c), f.StringGrid1->ColWidths(c));
        add("clip_Check", f.clip_Check->Checked());
        add("clip_Check enabled", f.clip_Check->Enabled());
        add("CheckBox2", f.CheckBox2->Checked());
        add("UpDown2 enabled", f.UpDown2->Enabled());
        add("UpDown1", f.UpDown1->Position());
        add("UpDown3", f.UpDown3->Position());
        add("ck_true", f.ck_true->Checked());
        add("zoom", f.S.Zoom);
        add("zoom step", f.S.ZoomStep);
        add("window", f.WindowLeft() * 100000LL + f.WindowTop());
        add("window size", f.WindowWidth() * 100000LL + f.WindowHeight());
        add("paint box", f.PaintBox1->Width() * 100000LL + f.PaintBox1->Height());
        add("scroll", f.ScrollBox1->HorzScrollPos() * 100000LL + f.ScrollBox1->VertScrollPos());
        return v;
    }
};

TEST(FormView, ADrawingWithoutAViewSectionOpensAndClosesAsANewDrawingDoes) {
    // The new drawing, saved, and the view it leaves in its settings file.
    TProgramFolder fresh;
    fresh.LayOutDefault();
    fresh.WriteFreshRequest(NewDrawingName);
    TScriptedUi freshUi;
    auto freshForm = StartForm(fresh, freshUi);
    ASSERT_TRUE(freshUi.Shown.empty());
    const TShownView freshView = TShownView::Of(*freshForm);
    freshForm->S.DrawingUnchanged = 0;
    freshUi.Answers.push_back(mrYes);
    freshForm->Close();
    TLines freshLines;
    ASSERT_TRUE(ReadTextLines(fresh.DispFile("作成時刻2026_12_10 9_05_07"), freshLines));
    ASSERT_EQ(freshLines.size(), 41u);

    // What a new drawing shows, line by line (1-based), where the user sees it.
    const std::pair<int, const char*> newView[] = {
        {1, "100"}, {2, "200"}, {4, "600"}, {7, "0"}, {8, "0"}, {9, "1"},
        {16, "15398391"}, {17, "14282224"},
        {23, "55"}, {24, "85"}, {25, "85"}, {26, "60"}, {27, "90"}, {28, "150"}, {29, "60"}, {30, "0"}, {31, "280"},
        {32, "あり"}, {33, "あり"}, {34, "10"}, {35, "500"}, {36, "なし"},
    };
    for (const auto& [line, text] : newView) EXPECT_EQ(freshLines[static_cast<std::size_t>(line - 1)], text) << "line " << line;

    // Closed untouched, and closed after a change the user would not save: the view
    // written is the new drawing's either way, and the next start opens with it.
    for (const bool declined : {false, true}) {
        SCOPED_TRACE(declined ? "change declined" : "nothing changed");
        TProgramFolder dir;
        dir.LayOutDefault();
        dir.UseDrawingFixture("noview_data.txt");
        for (int start = 0; start < 2; ++start) {
            SCOPED_TRACE(start == 0 ? "first start" : "next start");
            TScriptedUi ui;
            auto form = StartForm(dir, ui);
            ASSERT_TRUE(ui.Shown.empty());
            ASSERT_EQ(form->S.FigureCount, 7);
            const TShownView shown = TShownView::Of(*form);
            ASSERT_EQ(shown.Values.size(), freshView.Values.size());
            for (std::size_t k = 0; k < shown.Values.size(); ++k) EXPECT_EQ(shown.Values[k], freshView.Values[k]);
            if (declined) {
                form->S.DrawingUnchanged = 0;
                ui.Answers.push_back(mrNo);
            }
            form->Close();
            TLines lines;
            ASSERT_TRUE(ReadTextLines(dir.DispFile(), lines));
            ASSERT_EQ(lines.size(), freshLines.size());
            for (std::size_t k = 0; k < lines.size(); ++k) EXPECT_EQ(lines[k], freshLines[k]) << "line " << k + 1;
            dir.WriteFreshRequest();
        }
    }
}

TEST(FormShutdown, TheOneQuestionAndTheOutcomeLine) {
    enum TAnswer { None, Yes, No };
    struct TCase {
        const char* Name;
        bool DrawingChanged, LedgerChanged;
        const char* NewName;  // nullptr: the name field is left alone
        TAnswer Answer;
        const char* Question;  // the start of the question, nullptr: none asked
        const char* Status;
        const char* SavedAs;  // the drawing file written, nullptr: none
        bool HandoverWritten;
    };
    const char* const q1 = "厨子台帳に変更はありませんが";
    const char* const q2 = "厨子データに変更がありました";
    const TCase cases[] = {
        {"nothing changed", false, false, nullptr, None, nullptr, "依頼", nullptr, false},
        {"drawing changed, saved", true, false, nullptr, Yes, q1, "変更図", "図面1", true},
        {"drawing changed, not saved", true, false, nullptr, No, q1, "依頼", nullptr, false},
        {"ledger data changed, handed over", false, true, nullptr, Yes, q2, "変更有", "図面1", true},
        {"ledger data changed, withheld", true, true, nullptr, No, q2, "取消し", nullptr, false},
        {"renamed, handed over", true, false, "本堂裏", Yes, q2, "変更有", "本堂裏", true},
        {"renamed, withheld", false, false, "本堂裏", No, q2, "取消し", nullptr, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TProgramFolder dir;
        dir.LayOutDefault();
        TScriptedUi ui;
        auto form = StartForm(dir, ui);
        ASSERT_TRUE(ui.Shown.empty());
        const std::string drawingBefore = testing::ReadBytes(dir.DataFile());
        if (c.DrawingChanged) form->S.DrawingUnchanged = 0;
        if (c.LedgerChanged) form->S.LedgerUnchanged = 0;
        if (c.NewName) form->file_neisyo->SetText(c.NewName);
        if (c.Answer != None) ui.Answers.push_back(c.Answer == Yes ? mrYes : mrNo);

        form->Close();

        if (c.Question) {
            ASSERT_EQ(ui.Shown.size(), 1u);
            EXPECT_EQ(ui.Shown[0].Text.rfind(c.Question, 0), 0u) << ui.Shown[0].Text;
            EXPECT_EQ(ui.Shown[0].Type, TMsgDlgType::mtInformation);
            EXPECT_EQ(ui.Shown[0].Buttons, static_cast<unsigned>(mbYes | mbNo));
        } else {
            EXPECT_TRUE(ui.Shown.empty());
        }
        const std::string finalName = c.SavedAs ? c.SavedAs : "図面1";
        EXPECT_EQ(testing::ReadBytes(dir.RequestFile()),
                  Utf8ToCp932("\"厨子\",\"" + std::string(c.Status) + "\",\"0\",\"寺\",OK,\"" + finalName + "\"") + "\r\n");
        if (c.SavedAs) {
            TScriptedUi ui2;
            TDrawingState reread(ui2);
            testing::PointAtDrawing(reread, dir.Folder(), "寺", "厨子", c.SavedAs);
            EXPECT_TRUE(LoadDrawingData(reread));
            EXPECT_EQ(reread.FigureCount, 7);
            if (std::string(c.SavedAs) != "図面1") {
                EXPECT_FALSE(FileExists(dir.DataFile()));
            }
        } else {
            EXPECT_EQ(testing::ReadBytes(dir.DataFile()), drawingBefore);
        }
        EXPECT_EQ(FileExists(dir.File(HandoverCsvFileName)), c.HandoverWritten);
        // The view at closing is kept for the next start, saved or not.
        EXPECT_TRUE(FileExists(dir.DispFile(finalName)));
    }
}

TEST(FormShutdown, ANewDrawingGetsItsNameFromTheClock) {
    TProgramFolder dir;
    dir.LayOutDefault();
    dir.WriteFreshRequest(NewDrawingName);
    TScriptedUi ui;
    auto form = StartForm(dir, ui);
    ASSERT_TRUE(ui.Shown.empty());
    EXPECT_EQ(form->S.Zoom, 1);
    EXPECT_EQ(form->S.FigureCount, 0);
    form->S.DrawingUnchanged = 0;
    ui.Answers.push_back(mrYes);
    form->Close();
    const std::string name = "作成時刻2026_12_10 9_05_07";
    EXPECT_TRUE(FileExists(dir.DataFile(name)));
    EXPECT_TRUE(FileExists(dir.DispFile(name)));
    EXPECT_EQ(testing::ReadBytes(dir.RequestFile()),
              Utf8ToCp932("\"厨子\",\"変更図\",\"0\",\"寺\",OK,\"" + name + "\"") + "\r\n");
}

TEST(FormShutdown, ANewDrawingNeverSavedGetsNoSettingsFile) {
    TProgramFolder dir;
    dir.LayOutDefault();
    dir.WriteFreshRequest(NewDrawingName);
    TScriptedUi ui;
    auto form = StartForm(dir, ui);
    form->Close();
    EXPECT_FALSE(FileExists(dir.DispFile(NewDrawingName)));
    EXPECT_EQ(testing::ReadBytes(dir.RequestFile()),
              Utf8ToCp932("\"厨子\",\"依頼\",\"0\",\"寺\",OK,\"新規図面\"") + "\r\n");
}

TEST(FormShutdown, AFailedSaveIsShownAndNeverReported) {
    TProgramFolder dir;
    dir.LayOutDefault();
    // Where the renamed drawing would go stands a folder: the write cannot succeed.
    std::filesystem::create_directory(dir.DataFile("塞がり"));
    TScriptedUi ui;
    auto form = StartForm(dir, ui);
    form->file_neisyo->SetText("塞がり");
    ui.Answers.push_back(mrYes);
    form->Close();
    ASSERT_EQ(ui.Shown.size(), 2u);
    EXPECT_EQ(ui.Shown[1].Type, TMsgDlgType::mtError);
    EXPECT_NE(ui.Shown[1].Text.find("塞がり_data.txt"), std::string::npos);
    EXPECT_TRUE(FileExists(dir.DataFile()));
    EXPECT_FALSE(FileExists(dir.File(HandoverCsvFileName)));
    EXPECT_EQ(testing::ReadBytes(dir.RequestFile()),
              Utf8ToCp932("\"厨子\",\"取消し\",\"0\",\"寺\",OK,\"図面1\"") + "\r\n");
}

TEST(DrawingNameField, ANameTakenByAnotherDrawingIsRefusedAtTheFieldAndAtSaving) {
    TProgramFolder dir;
    dir.LayOutDefault();
    dir.UseDrawingFixture("ver3_data.txt", "西");
    const std::string other = testing::ReadBytes(dir.DataFile("西"));
    TScriptedUi ui;
    auto form = StartForm(dir, ui);

    form->file_neisyoEnter();
    form->file_neisyo->SetText("");
    form->file_neisyo->UserType("/西\r");  // "/" is filtered, Enter validates
    ASSERT_EQ(ui.Shown.size(), 1u);
    EXPECT_EQ(ui.Shown[0].Text, "同名の図面が既にあります。別の名前でお願いします。");
    EXPECT_EQ(form->file_neisyo->Text(), "図面1");

    form->file_neisyoEnter();
    form->file_neisyo->SetText("");
    form->file_neisyoExit();
    ASSERT_EQ(ui.Shown.size(), 2u);
    EXPECT_EQ(ui.Shown[1].Text, "図面名が空欄です。正しい名前でお願いします。");
    EXPECT_EQ(form->file_neisyo->Text(), "図面1");

    // Pasted in past the field's checks: the save refuses it all the same.
    form->file_neisyo->SetText("西");
    ui.Answers.push_back(mrYes);
    form->Close();
    ASSERT_EQ(ui.Shown.size(), 4u);
    EXPECT_EQ(ui.Shown[3].Text, "同名の図面が既にあります。別の名前でお願いします。");
    EXPECT_EQ(testing::ReadBytes(dir.DataFile("西")), other);
    EXPECT_TRUE(FileExists(dir.DataFile()));
    EXPECT_EQ(testing::ReadBytes(dir.RequestFile()),
              Utf8ToCp932("\"厨子\",\"変更有\",\"0\",\"寺\",OK,\"図面1\"") + "\r\n");
}

// Every file is CP932: a name with a character it cannot hold would be written as "?",
// and the next start would look for a drawing of that other name.
TEST(DrawingNameField, ACharacterTheCodePageCannotHoldIsRefusedInEitherEdition) {
    const std::string refused = DrawingNameProblemMessage(TDrawingNameProblem::BadCharacter);
    for (const TEdition* edition : {&ProEdition(), &TabletEdition()}) {
        for (const std::string bad : {"𠮷", "😀"}) {
            SCOPED_TRACE(std::string(edition == &ProEdition() ? "full editor " : "tablet ") + bad);
            TProgramFolder dir;
            dir.LayOutDefault();
            TScriptedUi ui;
            auto form = StartForm(dir, ui, *edition);
            ASSERT_TRUE(ui.Shown.empty());

            // Typed: the key is refused with a beep, as the text tool refuses it.
            form->file_neisyoEnter();
            form->file_neisyo->SetText("");
            form->file_neisyo->UserType("裏" + bad + "区");
            EXPECT_EQ(form->file_neisyo->Text(), "裏区");
            EXPECT_EQ(ui.Beeps, 1);

            // Pasted past the key filter: leaving the field refuses the name.
            form->file_neisyo->SetText("裏" + bad + "区");
            form->file_neisyoExit();
            ASSERT_EQ(ui.Shown.size(), 1u);
            EXPECT_EQ(ui.Shown[0].Text, refused);
            EXPECT_EQ(ui.Shown[0].Type, TMsgDlgType::mtWarning);
            EXPECT_EQ(form->file_neisyo->Text(), "図面1");

            // Pasted and never left: the save refuses it and keeps the name in force.
            form->file_neisyo->SetText("裏" + bad + "区");
            ui.Answers.push_back(mrYes);
            form->Close();
            ASSERT_EQ(ui.Shown.size(), 3u);
            EXPECT_EQ(ui.Shown[2].Text, refused);
            EXPECT_EQ(testing::ReadBytes(dir.RequestFile()),
                      Utf8ToCp932("\"厨子\",\"変更有\",\"0\",\"寺\",OK,\"図面1\"") + "\r\n");
            for (const auto& [file, bytes] : Snapshot(dir.Path)) {
                EXPECT_EQ(bytes.find('?'), std::string::npos) << file;
                EXPECT_EQ(file.find(bad), std::string::npos) << file;
            }
            form.reset();

            // The next start opens the drawing under the name the ledger holds.
            dir.WriteFreshRequest();
            TScriptedUi ui2;
            auto again = StartForm(dir, ui2, *edition);
            EXPECT_TRUE(ui2.Shown.empty());
            EXPECT_EQ(again->S.StartupError, 0);
            EXPECT_EQ(again->S.FigureCount, 7);
        }
    }
}

}  // namespace
}  // namespace tarvek

int main(int argc, char** argv) { return tarvek::testing::RunGuiTests<QApplication>(argc, argv); }
