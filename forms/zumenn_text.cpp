// The text tool's entry box, the memo laid over the map: the handlers pass its keys and
// changes on to the text entry logic, which places the text.
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextLayout>

#include "editing/text_entry.h"
#include "forms/zumenn.h"

namespace tarvek {

void TForm_zumenn::Memo1Change() { TextMemoChanged(S, *this); }

void TForm_zumenn::Memo1KeyDown(unsigned short& key, TShiftState) { TextMemoKeyDown(S, *this, key); }

void TForm_zumenn::Memo1KeyPress(char32_t& key) { TextMemoKeyPress(S, key); }

void TForm_zumenn::OpenTextBox(int left, int top, int width, int height, int fontSize) {
    Memo1->SetBounds(left, top, width, height);
    Memo1->SetFont("", fontSize);
    Memo1->Clear();
    Memo1->SetVisible(true);
    Memo1->BringToFront();
    Memo1->SetFocus();
}

std::string TForm_zumenn::TextBoxText() const { return Memo1->Text(); }

void TForm_zumenn::SetTextBoxText(const std::string& text) {
    Memo1->SetText(text);
    Memo1->Editor()->moveCursor(QTextCursor::End);
}

void TForm_zumenn::SetTextBoxWidth(int width) { Memo1->SetWidth(width); }

void TForm_zumenn::SetTextBoxColor(TColor color) { Memo1->SetColor(color); }

std::string TForm_zumenn::TextBoxFontName() const { return Memo1->FontName(); }

bool TForm_zumenn::TextBoxComposing() const {
    const QTextLayout* layout = Memo1->Editor()->textCursor().block().layout();
    return layout && !layout->preeditAreaText().isEmpty();
}

int TForm_zumenn::MapLeft() const { return ScrollBox1->Left(); }

int TForm_zumenn::MapTop() const { return ScrollBox1->Top(); }

}  // namespace tarvek
