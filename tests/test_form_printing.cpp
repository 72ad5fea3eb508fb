// "印　刷" on the sample temple's print page, printed to PDF files and read back with
// poppler's pdfinfo (paper sizes) and pdftocairo (the page at 300 dpi, pixel by pixel;
// pdftoppm resamples the page image even at its own resolution and blends neighbours).
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>

#include <cmath>
#include <cstdio>

#include "document/selection.h"
#include "form_test_support.h"
#include "gui_test_main.h"
#include "platform/printer.h"
#include "view/painter.h"
#include "view/printing.h"

namespace tarvek {
namespace {

using testing::StartForm;
using testing::TProgramFolder;

constexpr double MarginPt = 36;  // half an inch: 150 pixels at 300 dpi
constexpr int MarginPx = 150;

std::string Run(const std::string& command) {
    std::string out;
    if (FILE* p = ::popen((command + " 2>&1").c_str(), "r")) {
        char buf[4096];
        while (std::size_t n = std::fread(buf, 1, sizeof buf, p)) out.append(buf, n);
        ::pclose(p);
    }
    return out;
}

bool HavePoppler() { return Run("command -v pdfinfo && command -v pdftocairo").find("pdftocairo") != std::string::npos; }

// "Page size:      842 x 595 pts (A4)" -> {842, 595}, rounded.
std::pair<int, int> PdfPageSize(const std::string& pdf) {
    const std::string info = Run("pdfinfo '" + pdf + "'");
    const std::size_t at = info.find("Page size:");
    double w = 0, h = 0;
    if (at == std::string::npos || std::sscanf(info.c_str() + at, "Page size: %lf x %lf", &w, &h) != 2) return {0, 0};
    return {static_cast<int>(std::lround(w)), static_cast<int>(std::lround(h))};
}

QImage RenderPdf(const std::string& pdf) {
    const std::string prefix = pdf + ".page";
    Run("pdftocairo -r 300 -png -singlefile '" + pdf + "' '" + prefix + "'");
    QImage page(QString::fromStdString(prefix + ".png"));
    return page.convertToFormat(QImage::Format_RGB32);
}

class FormPrinting : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(HavePoppler()) << "poppler-utils (pdfinfo, pdftocairo) are needed: bash scripts/deps.sh";
        std::filesystem::copy(TARVEK_SAMPLES "/temple", Dir.Path, std::filesystem::copy_options::recursive);
        Form = StartForm(Dir, Ui);
        ASSERT_EQ(Form->S.StartupError, 0);
        Form->PageControl1->UserSelectTab(5);
        ASSERT_EQ(Form->ActivePageIndex(), 5);
        SetPrintDestination(&Pdf);
    }
    void TearDown() override { SetPrintDestination(nullptr); }

    void Print(int orientation, int paper, int colour) {
        Form->RadioGroup17->SetItemIndex(orientation);
        Form->RadioGroup19->SetItemIndex(paper);
        Form->RadioGroup20->SetItemIndex(colour);
        Form->Button1->Click();
    }

    // Where the frame puts a drawing point on the rendered page (A4 landscape): the scroll
    // box's width minus 36 stretched to the printable width, its height centred.
    QPoint OnPage(double x, double y) const {
        const QRect area = QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                       QMarginsF(MarginPt, MarginPt, MarginPt, MarginPt), QPageLayout::Point)
                               .paintRectPixels(300);
        const TDrawingState& s = Form->S;
        const double k = double(area.width()) / (Form->ScrollBox1->Width() - 36);
        const double scale = k * s.Zoom / 1000;
        const long left = std::lround(k * Form->HorzScrollPos());
        const long top = std::lround(k * Form->VertScrollPos()) -
                         std::lround((area.height() - k * (Form->ScrollBox1->Height() - 36)) / 2);
        return {int(std::lround(x * scale) - left) + MarginPx, int(std::lround(y * scale) - top) + MarginPx};
    }

    // Any pixel of the colour within one pixel of p.
    static bool Near(const QImage& page, QPoint p, QRgb colour) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (page.valid(p.x() + dx, p.y() + dy) && (page.pixel(p.x() + dx, p.y() + dy) & 0xFFFFFF) == (colour & 0xFFFFFF))
                    return true;
        return false;
    }
    static int Count(const QImage& page, QRgb colour, QRect in = {}) {
        if (in.isNull()) in = page.rect();
        int n = 0;
        for (int y = in.top(); y <= in.bottom(); ++y)
            for (int x = in.left(); x <= in.right(); ++x)
                if ((page.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) ++n;
        return n;
    }

    // Owned plots with a name, whose box the scroll box shows whole.
    std::vector<std::int32_t> VisibleOwnedPlots() const {
        std::vector<std::int32_t> plots;
        const TDrawingState& s = Form->S;
        for (std::int32_t i = 1; i <= s.FigureCount; ++i) {
            const TDateRec& r = s.Fig(i);
            if (r.Kind != fkPlot || !r.IsPlot || r.SetAside || PlotHousehold(r) < 1 || r.HeadName.empty()) continue;
            const double z = s.Zoom / 1000.0;
            if (r.BoxX1 * z >= Form->HorzScrollPos() && r.BoxX2 * z < Form->HorzScrollPos() + Form->ScrollBox1->Width() - 36 &&
                r.BoxY1 * z >= Form->VertScrollPos() && r.BoxY2 * z < Form->VertScrollPos() + Form->ScrollBox1->Height() - 36)
                plots.push_back(i);
        }
        return plots;
    }

    TProgramFolder Dir;
    TScriptedUi Ui;
    TPdfDestination Pdf{Dir.File("page.pdf"), MarginPt};
    std::unique_ptr<TForm_zumenn> Form;
};

TEST_F(FormPrinting, EachPaperPrintsInItsSizeBothWays) {
    struct TCase {
        int Orientation, Paper;
        std::pair<int, int> Points;
    };
    // B4 and B5 are the Japanese sizes, not ISO's 499 x 709 for B5.
    const TCase cases[] = {
        {0, 0, {1191, 842}}, {1, 0, {842, 1191}}, {0, 1, {1032, 729}}, {1, 1, {729, 1032}},
        {0, 2, {842, 595}},  {1, 2, {595, 842}},  {0, 3, {729, 516}},  {1, 3, {516, 729}},
    };
    for (const TCase& c : cases) {
        std::filesystem::remove(Pdf.Path);
        Print(c.Orientation, c.Paper, 0);
        EXPECT_EQ(PdfPageSize(Pdf.Path), c.Points) << c.Orientation << " " << c.Paper;
    }
    EXPECT_TRUE(Ui.Shown.empty());
    EXPECT_EQ(Ui.BusyDepth, 0);
}

TEST_F(FormPrinting, ThePageShowsTheVisibleMapInOwnColoursWithNamesOnSelectedPlotsOnly) {
    TDrawingState& s = Form->S;
    const std::vector<std::int32_t> owned = VisibleOwnedPlots();
    ASSERT_GE(owned.size(), 2u);
    const std::int32_t named = owned[0], unnamed = owned[1];
    s.Fig(named).Selected = 1;
    // A selected ellipse: lime on the screen, its own green on paper.
    std::int32_t ellipse = 0;
    for (std::int32_t i = 1; i <= s.FigureCount && !ellipse; ++i)
        if (s.Fig(i).Kind == fkEllipse) ellipse = i;
    ASSERT_GT(ellipse, 0);
    s.Fig(ellipse).Selected = 1;
    RebuildSelectionList(s, true);
    s.MeshVisible = 1;
    const auto before = testing::Snapshot(Dir.Path);

    Print(0, 2, 0);
    ASSERT_TRUE(Ui.Shown.empty()) << Ui.Shown.front().Text;
    const QImage page = RenderPdf(Pdf.Path);
    ASSERT_NEAR(page.width(), 3508, 1);  // 842 x 595 pt at 300 dpi
    ASSERT_NEAR(page.height(), 2480, 1);

    const TDateRec& e = s.Fig(ellipse);
    EXPECT_TRUE(Near(page, OnPage((e.BoxX1 + e.BoxX2) / 2, e.BoxY1), 0x008000)) << "the ellipse's own pen";
    EXPECT_EQ(Count(page, qRgb(0, 255, 0)), 0) << "no selection colour";
    EXPECT_EQ(Count(page, TColorToRgb(s.MeshColor)), 0) << "no mesh";
    EXPECT_EQ(Count(page, qRgb(0, 0, 255)), 0) << "no selection box";
    // Only the printable area is painted: the margin stays blank paper.
    EXPECT_EQ(Count(page, qRgb(255, 255, 255), {0, 0, page.width(), MarginPx - 1}), page.width() * (MarginPx - 1));

    // The unselected owned plot: its diagonal from point 2 to point 4 and no name.
    const auto along = [&](const TDateRec& r, double t) {
        return OnPage(r.X2 + (r.X4 - r.X2) * t, r.Y2 + (r.Y4 - r.Y2) * t);
    };
    const auto inside = [&](const TDateRec& r) {
        const QPoint a = OnPage(r.BoxX1, r.BoxY1), b = OnPage(r.BoxX2, r.BoxY2);
        return QRect(a + QPoint(4, 4), b - QPoint(4, 4));
    };
    const TDateRec& u = s.Fig(unnamed);
    for (const double t : {0.25, 0.5, 0.75}) EXPECT_TRUE(Near(page, along(u, t), 0)) << "diagonal at " << t;
    const QRect ui = inside(u);
    EXPECT_LT(Count(page, qRgb(0, 0, 0), ui), ui.width() + ui.height()) << "a line, not a name";
    // The selected one: its name, in black, and no diagonal.
    const TDateRec& n = s.Fig(named);
    EXPECT_GT(Count(page, qRgb(0, 0, 0), inside(n)), 2 * (ui.width() + ui.height())) << "a name";
    EXPECT_FALSE(Near(page, along(n, 0.25), 0));
    EXPECT_FALSE(Near(page, along(n, 0.75), 0));
    // The drawing itself is as it was, and the PDF is the only new file.
    auto after = testing::Snapshot(Dir.Path);
    after.erase("page.pdf");
    after.erase("page.pdf.page.png");
    EXPECT_EQ(after, before);
}

TEST_F(FormPrinting, BlackAndWhiteHasNoColouredPixel) {
    Form->S.Fig(VisibleOwnedPlots().at(0)).Selected = 1;
    RebuildSelectionList(Form->S, true);
    Print(1, 3, 1);
    ASSERT_TRUE(Ui.Shown.empty()) << Ui.Shown.front().Text;
    EXPECT_EQ(PdfPageSize(Pdf.Path), (std::pair<int, int>{516, 729}));
    const QImage page = RenderPdf(Pdf.Path);
    int coloured = 0, dark = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QRgb p = page.pixel(x, y);
            if (qRed(p) != qGreen(p) || qGreen(p) != qBlue(p)) ++coloured;
            if (qRed(p) < 128) ++dark;
        }
    EXPECT_EQ(coloured, 0);
    EXPECT_GT(dark, 1000) << "the map is on the page";
}

TEST_F(FormPrinting, AJobThatCannotStartIsReportedAndChangesNothing) {
    TDrawingState& s = Form->S;
    const std::int32_t count = s.FigureCount, history = s.HistoryCount, selected = s.SelectedCount;
    const auto before = testing::Snapshot(Dir.Path);
    TPdfDestination missing(Dir.File("無い/page.pdf"));
    SetPrintDestination(&missing);
    Print(0, 2, 0);
    ASSERT_EQ(Ui.Shown.size(), 1u);
    EXPECT_EQ(Ui.Shown[0].Text, PrintErrorMessage(TPrintError::CannotStart));
    EXPECT_EQ(Ui.Shown[0].Type, TMsgDlgType::mtWarning);
    EXPECT_EQ(Ui.BusyDepth, 0);
    EXPECT_EQ(testing::Snapshot(Dir.Path), before);
    EXPECT_EQ(s.FigureCount, count);
    EXPECT_EQ(s.HistoryCount, history);
    EXPECT_EQ(s.SelectedCount, selected);
}

// The print system as the system printer sees it: listed queues, and the chosen queue's
// job sent to the test's PDF file.
class TStubPrintSystem final : public TSystemPrinter {
public:
    TStubPrintSystem(TPrintQueues queues, TPdfDestination& pdf) : Listed(std::move(queues)), Pdf(pdf) {}
    std::vector<std::string> Opened;

protected:
    TPrintQueues Queues() override { return Listed; }
    bool Open(QPrinter& printer, const std::string& queue) override {
        Opened.push_back(queue);
        return Pdf.Prepare(printer);
    }

private:
    TPrintQueues Listed;
    TPdfDestination& Pdf;
};

TEST_F(FormPrinting, TheCurrentPrinterIsTheDefaultDestinationElseTheFirstQueue) {
    struct TCase {
        TPrintQueues Queues;
        std::string Chosen;  // empty: no printer
    } cases[] = {
        {{"office", {"hall", "office"}}, "office"},
        {{"", {"hall"}}, "hall"},  // added by hand or found on the network: nobody's default
        {{"", {"hall", "office"}}, "hall"},
        {{"", {}}, ""},
    };
    for (const TCase& c : cases) {
        std::filesystem::remove(Pdf.Path);
        Ui.Shown.clear();
        TStubPrintSystem system(c.Queues, Pdf);
        SetPrintDestination(&system);
        Print(0, 2, 0);
        SetPrintDestination(&Pdf);
        if (c.Chosen.empty()) {
            EXPECT_TRUE(system.Opened.empty());
            ASSERT_EQ(Ui.Shown.size(), 1u);
            EXPECT_EQ(Ui.Shown[0].Text, "プリンタが見つかりません。印刷できませんでした。");
            EXPECT_EQ(Ui.Shown[0].Type, TMsgDlgType::mtWarning);
            EXPECT_FALSE(std::filesystem::exists(Pdf.Path));
        } else {
            EXPECT_EQ(system.Opened, std::vector<std::string>{c.Chosen});
            EXPECT_TRUE(Ui.Shown.empty()) << Ui.Shown.front().Text;
            EXPECT_EQ(PdfPageSize(Pdf.Path), (std::pair<int, int>{842, 595})) << c.Chosen;
        }
    }
    EXPECT_EQ(Ui.BusyDepth, 0);
}

TEST(PrintChoice, AnIndexOutsideAGroupLeavesThePrintersSetting) {
    const TPrintSettings chosen = PrintSettingsOf({1, 3, 1});
    EXPECT_EQ(chosen.Orientation, TPageOrientation::Portrait);
    EXPECT_EQ(chosen.Paper, TPaperSize::B5);
    EXPECT_EQ(chosen.Colour, TPrintColour::Monochrome);
    const TPrintSettings none = PrintSettingsOf({-1, 4, 2});
    EXPECT_FALSE(none.Orientation || none.Paper || none.Colour);
}

}  // namespace
}  // namespace tarvek

int main(int argc, char** argv) { return tarvek::testing::RunGuiTests<QApplication>(argc, argv); }
