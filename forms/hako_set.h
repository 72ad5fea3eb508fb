// The niche-count dialog: plot size, gaps, columns and rows of the block the block tool
// places. Modeless and on top of the main window while the user draws; it lives from
// start-up to exit.
#pragma once

#include <QRect>
#include <array>

#include "platform/vcl.h"

class QPainter;

namespace tarvek {

class TForm_zumenn;
struct TDrawingState;

class Thako : public TForm {
public:
    explicit Thako(TForm_zumenn& owner);

    TPanel* Panel1 = nullptr;
    TPaintBox* PaintBox1 = nullptr;
    TLabel* Label1 = nullptr;  // "横個数"
    TLabel* Label2 = nullptr;  // "縦個数"
    TLabel* Label3 = nullptr;  // "X"
    // Plot width, plot height, horizontal gap, vertical gap, columns, rows.
    TComboBox* ComboBox1 = nullptr;
    TComboBox* ComboBox2 = nullptr;
    TComboBox* ComboBox3 = nullptr;
    TComboBox* ComboBox4 = nullptr;
    TComboBox* ComboBox5 = nullptr;
    TComboBox* ComboBox6 = nullptr;

    void FormCreate();
    // Shared by the six combo boxes: all six are read again.
    void ComboBox1Change();
    void PaintBox1Paint(QPainter& painter, const QRect& dirty);
    // The combo boxes show the current settings.
    void ShowSettings();

private:
    std::array<TComboBox*, 6> Combos() const;
    TDrawingState& S;
};

}  // namespace tarvek
