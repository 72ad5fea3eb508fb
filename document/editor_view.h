// What the logic asks of the window around it. The main form implements it; without a
// form (tests, tools) the defaults do nothing.
#pragma once

#include <string>

namespace tarvek {

class TEditorView {
public:
    virtual ~TEditorView() = default;
    virtual void HelpLineChanged(const std::string& /*text*/) {}
    // The three selection counters of the form.
    virtual void SelectionCountChanged(int /*count*/) {}
    // Marks and centres the current search hit.
    virtual void ShowCurrentHit() {}
    virtual void RepaintMap() {}
    // The page of the main page control in front (0 search ... 5 options and printing).
    virtual int ActivePageIndex() const { return 3; }
};

}  // namespace tarvek
