#include "forms/hako_set.h"

#include <QImage>
#include <QPainter>

#include "editing/plot_blocks.h"
#include "forms/zumenn.h"
#include "platform/canvas.h"

namespace tarvek {

namespace {

constexpr TColor GradientActiveCaption = SystemColor(27);
constexpr TColor SkyBlue = 0xF0CAA6;

}  // namespace

Thako::Thako(TForm_zumenn& owner) : TForm(&owner), S(owner.S) {
    Name = "hako";
    // A tool window with only its close box, above the main window.
    Widget()->setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                             Qt::WindowStaysOnTopHint);
    SetColor(GradientActiveCaption);
    SetFont("Tahoma", 8);

    Panel1 = new TPanel(this);
    Panel1->Name = "Panel1";
    Panel1->SetBounds(4, 2, 133, 207);
    Panel1->SetColor(SkyBlue);
    PaintBox1 = new TPaintBox(Panel1);
    PaintBox1->Name = "PaintBox1";
    PaintBox1->SetBounds(8, 8, 121, 177);
    PaintBox1->SetColor(clWhite);
    PaintBox1->SetFont("ＭＳ Ｐゴシック", 8);
    PaintBox1->SetFontBold(true);
    PaintBox1->OnPaint = [this](QPainter& p, const QRect& dirty) { PaintBox1Paint(p, dirty); };

    const auto label = [this](TLabel*& l, const char* name, const char* caption, int left, int top) {
        l = new TLabel(Panel1);
        l->Name = name;
        l->SetCaption(caption);
        l->SetBounds(left, top, 36, 14);
    };
    label(Label1, "Label1", "横個数", 23, 163);
    label(Label2, "Label2", "縦個数", 83, 163);
    label(Label3, "Label3", "X", 65, 182);
    Label3->SetFontBold(true);

    TComboBox** const combos[] = {&ComboBox1, &ComboBox2, &ComboBox3, &ComboBox4, &ComboBox5, &ComboBox6};
    for (int i = 0; i < 6; ++i) {
        TComboBox*& c = *combos[i];
        c = new TComboBox(Panel1);
        c->Name = "ComboBox" + std::to_string(i + 1);
        c->SetStyle(csDropDown);
        c->SetItems(BlockSettingItems(i));
        if (i < 4) {
            const TSampleBoxPlace at = SampleBoxPlaces[static_cast<std::size_t>(i)];
            c->SetBounds(at.Left, at.Top, 35, 21);
        } else {
            c->SetBounds(i == 4 ? 21 : 77, 181, 40, 21);
        }
        c->OnChange = [this] { ComboBox1Change(); };
    }
    OnShow = [this] { ShowSettings(); };
    FormCreate();
}

std::array<TComboBox*, 6> Thako::Combos() const {
    return {ComboBox1, ComboBox2, ComboBox3, ComboBox4, ComboBox5, ComboBox6};
}

void Thako::FormCreate() {
    SetWindowBounds(108, 129, 147, 240);
    SetCaption(S.PlotKindWord + "個数");
    ShowSettings();
}

void Thako::ComboBox1Change() {
    TBlockSettingTexts texts;
    const auto combos = Combos();
    for (std::size_t i = 0; i < 6; ++i) texts[i] = combos[i]->Text();
    ReadBlockSettings(S, texts);
}

void Thako::ShowSettings() {
    const TBlockSettingTexts texts = BlockSettingTexts(S);
    const auto combos = Combos();
    // Only a text that differs is written, so a box being typed in keeps its caret.
    for (std::size_t i = 0; i < 6; ++i)
        if (combos[i]->Text() != texts[i]) combos[i]->SetText(texts[i]);
}

void Thako::PaintBox1Paint(QPainter& painter, const QRect&) {
    QImage image(PaintBox1->Width(), PaintBox1->Height(), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        TImageCanvas canvas(image);
        DrawBlockSample(canvas);
    }
    painter.drawImage(0, 0, image);
    ShowSettings();
}

}  // namespace tarvek
