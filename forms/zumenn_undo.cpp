// Ctrl+Z and the right button's undo on the form: the controls the restores set.
#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>

#include "editing/undo.h"
#include "forms/zumenn.h"

namespace tarvek {

namespace {

class TFormUndoView final : public TUndoView {
public:
    explicit TFormUndoView(TForm_zumenn& form) : F(form) {}

    void ShowWorking() override {
        F.Label3->Widget()->repaint();
        // Timers and paints run, but no key or click can start anything meanwhile.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    void ShowPage(int page) override {
        F.PageControl1->SetActivePageIndex(page);
        if (page != 0) F.StringGrid4->SetVisible(false);
    }
    void ShowPageSettings(int meshItem, int snapItem, bool rotateNames, bool clipNames) override {
        F.ComboBox1->SetItemIndex(meshItem);
        F.ComboBox5->SetItemIndex(snapItem);
        F.CheckBox2->SetChecked(rotateNames);
        F.clip_Check->SetChecked(clipNames);
        // What the name check box's own handler sets with it.
        F.clip_Check->SetEnabled(!rotateNames);
        F.UpDown2->SetEnabled(rotateNames);
    }
    std::string MeshText() const override { return F.ComboBox1->Text(); }
    void ShowDrawingPageControls(bool shown) override {
        for (TControl* c : std::initializer_list<TControl*>{F.Memo20, F.ComboBox1, F.ComboBox5, F.Label2})
            c->SetVisible(shown);
    }
    std::pair<int, int> SetFormSize(int width, int height) override {
        // Even, as the resize handler keeps the window: the window is asked once.
        F.SetWindowBounds(F.WindowLeft(), F.WindowTop(), width + width % 2, height + height % 2);
        return {F.WindowWidth(), F.WindowHeight()};
    }
    void ShowFont(const std::string& name) override { F.ComboBox2->SetItemIndex(F.ComboBox2->IndexOf(name)); }
    void ShowPenStyle(int item) override { F.pen_sty_conb->SetItemIndex(item); }
    void SetPenStyleEnabled(bool enabled) override { F.pen_sty_conb->SetEnabled(enabled); }
    void ShowPenWidth(int item) override { F.pen_width_conb->SetItemIndex(item); }
    void ShowBrushStyle(int item) override { F.brs_sty_conb->SetItemIndex(item); }
    void RepaintSamples(TSampleList list) override { F.RepaintAttributeSamples(list); }
    void ShowNameTextSize(int position) override { F.UpDown1->SetPosition(position); }
    void ShowDimensionTextSize(int position) override { F.UpDown3->SetPosition(position); }
    void ShowSelectionFilter(int item) override { F.liya->SetItemIndex(item); }

private:
    TForm_zumenn& F;
};

}  // namespace

void TForm_zumenn::UndoLastStep() {
    TFormUndoView view(*this);
    UndoLast(S, *this, view);
}

}  // namespace tarvek
