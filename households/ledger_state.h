// What the live exchange with the ledger keeps between calls.
#pragma once

namespace tarvek {

struct TLedgerLinkState {};

}  // namespace tarvek
