// The placing functions both main-form layouts use: each creates a component under its
// name, puts it at its design place and gives it its texts and start values.
#pragma once

#include <QAbstractTextDocumentLayout>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <string>
#include <vector>

#include "document/view_settings.h"
#include "platform/vcl.h"

namespace tarvek::placing {

constexpr TColor FormColor = NewDrawingWindowColor;

struct TBox {
    int x, y, w, h;
};

template <class T>
inline T* Place(TWinControl* parent, T*& member, const char* name, TBox b) {
    member = new T(parent);
    member->Name = name;
    member->SetBounds(b.x, b.y, b.w, b.h);
    return member;
}

template <class T>
inline T* PlaceCaptioned(TWinControl* parent, T*& member, const char* name, const std::string& caption, TBox b,
                         const std::string& hint = {}) {
    Place(parent, member, name, b);
    member->SetCaption(caption);
    member->SetHint(hint);
    return member;
}

// A memo that serves as a label: no border, no caret, in the form's colour.
inline TMemo* PlaceCaption(TWinControl* parent, TMemo*& member, const char* name, const std::string& text, TBox b) {
    Place(parent, member, name, b);
    member->SetText(text);
    member->SetReadOnly(true);
    member->SetBorderless(true);
    member->SetWordWrap(false);
    member->SetColor(FormColor);
    member->Editor()->document()->setDocumentMargin(0);
    member->Editor()->viewport()->setCursor(Qt::ArrowCursor);
    return member;
}

inline TEdit* PlaceEdit(TWinControl* parent, TEdit*& member, const char* name, TBox b, const std::string& text = {},
                        const std::string& hint = {}) {
    Place(parent, member, name, b);
    member->SetText(text);
    member->SetHint(hint);
    return member;
}

inline TComboBox* PlaceCombo(TWinControl* parent, TComboBox*& member, const char* name, TBox b, TComboBoxStyle style,
                             const std::vector<std::string>& items, int itemIndex, const std::string& hint = {}) {
    Place(parent, member, name, b);
    member->SetStyle(style);
    member->SetItems(items);
    member->SetItemIndex(itemIndex);
    member->SetHint(hint);
    return member;
}

inline TRadioGroup* PlaceRadios(TWinControl* parent, TRadioGroup*& member, const char* name, TBox b,
                                const std::string& caption, const std::vector<std::string>& items, int itemIndex,
                                int columns = 1, const std::string& hint = {}) {
    Place(parent, member, name, b);
    member->SetCaption(caption);
    member->SetColumns(columns);
    member->SetItems(items);
    member->SetItemIndex(itemIndex);
    member->SetHint(hint);
    return member;
}

inline TUpDown* PlaceUpDown(TWinControl* parent, TUpDown*& member, const char* name, TBox b, int lo, int hi, int step,
                            int at) {
    Place(parent, member, name, b);
    member->SetMin(lo);
    member->SetMax(hi);
    member->SetIncrement(step);
    member->SetPosition(at);
    return member;
}

inline TTimer* MakeTimer(TWinControl* owner, TTimer*& member, const char* name, int interval) {
    member = new TTimer(owner);
    member->Name = name;
    member->SetInterval(interval);
    member->SetEnabled(false);
    return member;
}

template <class T>
inline T* MakeDialog(TWinControl* owner, T*& member, const char* name) {
    member = new T(owner);
    member->Name = name;
    return member;
}

}  // namespace tarvek::placing
