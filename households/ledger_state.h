// What the live exchange with the ledger keeps between calls.
#pragma once

#include <cstdint>

#include "platform/textfile.h"

namespace tarvek {

struct TLedgerLinkState {
    // The one line buffer: the outgoing change record list, and briefly the incoming request.
    TLines tuika;
    // 1 whenever a list was built but not delivered; the next ticking of real-time
    // reflection then sends the whole plot list.
    std::uint8_t LedgerChangesPending = 0;
    // 1 while a flush waits or writes: undo and the key handler must not act meanwhile.
    std::uint8_t LedgerWriteBusy = 0;
    // The record index last sent with the selection verb.
    std::int32_t LastSentSelection = -1;
    // A request that could not be understood stops polling for the rest of the run.
    bool PollingStopped = false;
    // A poll is working (the timer is off for its duration).
    bool PollRunning = false;
};

}  // namespace tarvek
