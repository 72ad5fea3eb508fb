// Shared-ownership sets on the editing page: "共有所有" stacks two or more selected plots
// with households into one set; "共有分離" dissolves the selected sets and fans their
// records out so that each can be picked again.
#pragma once

namespace tarvek {

struct TDrawingState;

// Refusals beep and say why on the help line. False when nothing changed.
bool JoinSharedOwnership(TDrawingState& s);
bool SplitSharedOwnership(TDrawingState& s);

}  // namespace tarvek
