// What the plot search and the plot information panel keep between calls, and what
// they ask of the form around them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tarvek {

class THouseholdView;
class TLedgerView;

// One row of the co-owner list: head, district, address 2, phone, and the entry's
// position in the selection list.
using TCoOwnerRow = std::array<std::string, 5>;

// What the search asks of the form around it.
class TPlotSearchView {
public:
    virtual ~TPlotSearchView() = default;
    // The nine fields show a plot through the household fields of the form.
    virtual THouseholdView& FieldsView() = 0;
    virtual TLedgerView& LedgerLink() = 0;
    // The nine fields as typed: plot number, house name, head, phone, district,
    // address 1, address 2, remarks, grade.
    virtual std::array<std::string, 9> SearchCriteria() const = 0;
    virtual std::string RemarksText() const = 0;
    virtual void SetRemarksText(const std::string& text) = 0;
    // The caption of the search button.
    virtual std::string SearchButtonCaption() const = 0;
    virtual void SetSearchButtonCaption(const std::string& caption) = 0;
    // The selection count of the search page.
    virtual void SetSearchCount(int count) = 0;
    // The field that takes the first criterion.
    virtual void FocusSearchInput() = 0;
    // The co-owner list over the map; rows are 1-based below the header row.
    virtual bool CoOwnerListVisible() const = 0;
    virtual void ShowCoOwnerList(const std::vector<TCoOwnerRow>& rows, int currentRow) = 0;
    virtual void HideCoOwnerList() = 0;
    virtual void SetCoOwnerRow(int row) = 0;
};

struct TPlotSearchState {
    // 1 while a text field of the form is being edited (or the search fields take
    // criteria): the form's keys and the hover display stand back meanwhile.
    std::uint8_t EditingField = 0;
    // The remarks as they were when the remarks field got the focus.
    std::string OldRemarks;
    // The grade field's text when it got the focus.
    std::string OldGradeName;
};

}  // namespace tarvek
