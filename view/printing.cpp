#include "view/printing.h"

#include "document/drawing_state.h"

namespace tarvek {

namespace {

// The busy cursor for as long as the job is being made, on every way out.
class TBusyCursor {
public:
    explicit TBusyCursor(TUserServices& ui) : Ui(ui) { Ui.SetBusyCursor(true); }
    ~TBusyCursor() { Ui.SetBusyCursor(false); }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;

private:
    TUserServices& Ui;
};

}  // namespace

TPrintSettings PrintSettingsOf(const TPrintChoice& choice) {
    TPrintSettings s;
    if (choice.Orientation == 0) s.Orientation = TPageOrientation::Landscape;
    if (choice.Orientation == 1) s.Orientation = TPageOrientation::Portrait;
    constexpr TPaperSize papers[] = {TPaperSize::A3, TPaperSize::B4, TPaperSize::A4, TPaperSize::B5};
    if (choice.Paper >= 0 && choice.Paper < 4) s.Paper = papers[choice.Paper];
    if (choice.Colour == 0) s.Colour = TPrintColour::Colour;
    if (choice.Colour == 1) s.Colour = TPrintColour::Monochrome;
    return s;
}

std::string PrintErrorMessage(TPrintError error) {
    switch (error) {
        case TPrintError::NoPrinter: return "プリンタが見つかりません。印刷できませんでした。";
        case TPrintError::CannotStart: return "印刷を開始できませんでした。";
        case TPrintError::NoMemory: return "印刷用の画像を用意できませんでした。印刷できませんでした。";
        case TPrintError::CannotFinish: return "印刷を終了できませんでした。";
        case TPrintError::None: break;
    }
    return {};
}

bool PrintMap(TDrawingState& s, const TPaintInputs& screen, const TPrintChoice& choice) {
    TPrintError error = TPrintError::None;
    {
        TBusyCursor busy(s.Ui);
        TPrinter printer;
        error = printer.BeginDoc(PrintSettingsOf(choice));
        if (error == TPrintError::None) {
            TPaintInputs in = screen;
            in.PageWidth = printer.PageWidth();
            in.PageHeight = printer.PageHeight();
            in.FontPixelsPerInch = TPrinter::PageDpi;
            in.PaperColor = 0xFFFFFF;  // paper, whatever colour the screen's paper has
            DrawDrawing(s, printer.Canvas(), in);
            error = printer.EndDoc();
        }
    }
    if (error == TPrintError::None) return true;
    s.Ui.MessageDlg(PrintErrorMessage(error), TMsgDlgType::mtWarning, mbOK);
    return false;
}

}  // namespace tarvek
