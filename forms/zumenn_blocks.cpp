// The drawing page's block buttons: the niche-count dialog and the hints of the select
// and block-size buttons. The placement itself is the block tool's (editing/plot_blocks).
#include "forms/hako_set.h"
#include "forms/zumenn.h"

namespace tarvek {

void TForm_zumenn::AdoptBlockDialog(std::unique_ptr<Thako> dialog) { Hako = std::move(dialog); }

void TForm_zumenn::Button5Click() {
    Edit1->SetFocus();
    if (!Hako) return;
    Hako->Show();
    Hako->SetFocus();
}

void TForm_zumenn::BitBtn7MouseEnter() { S.SetHelpLine("選択（マウスドラッグで範囲選択）"); }

void TForm_zumenn::BitBtn8MouseEnter() { S.SetHelpLine(S.PlotKindWord + "の配置個数を別ウインドで設定します。"); }

}  // namespace tarvek
