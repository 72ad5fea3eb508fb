// Printing the map: one page on the current printer with the orientation, paper and
// colour chosen on the print page, showing what the scroll box shows.
#pragma once

#include <string>

#include "platform/printer.h"
#include "view/painter.h"

namespace tarvek {

struct TDrawingState;

// Item indices of the print page's radio groups: orientation "横"/"縦", paper
// "Ａ３"/"Ｂ４"/"Ａ４"/"Ｂ５", colour "カラー"/"白黒".
struct TPrintChoice {
    int Orientation = 0;
    int Paper = 2;
    int Colour = 0;
};

// An index outside a group's items leaves the printer's own setting.
TPrintSettings PrintSettingsOf(const TPrintChoice& choice);

// What the user is told when a job fails.
std::string PrintErrorMessage(TPrintError error);

// Paints the map onto one page: screen holds the view as the screen paints it (page,
// scroll position, box sizes, name options); the page size and resolution are the
// printer's. A job that cannot start or finish is reported in a warning box and changes
// nothing. True when the page was handed over.
bool PrintMap(TDrawingState& s, const TPaintInputs& screen, const TPrintChoice& choice);

}  // namespace tarvek
