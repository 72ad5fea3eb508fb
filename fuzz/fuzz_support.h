// What every fuzz target shares: a program folder in memory-backed storage, editors made
// one after the other without remaking their record table, and the check that stops a
// run with a finding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "document/drawing_state.h"
#include "fuzz/invariants.h"
#include "platform/ui_services.h"

namespace tarvek::fuzz {

// Stops the run (libFuzzer records the input) when problem is not empty.
void Require(const std::string& problem, const char* what);
inline void Require(bool holds, const char* what) { Require(holds ? std::string() : std::string("false"), what); }

// Answers every box with its first button and records nothing; sleeps do not sleep.
class TQuietUi : public TUserServices {
public:
    int MessageDlg(const std::string&, TMsgDlgType, unsigned buttons, const std::string& = {}) override {
        Boxes += 1;
        return buttons & mbYes ? mrYes : mrOk;
    }
    void Beep() override { Beeps += 1; }
    void Sleep(int) override {}
    TDateTimeParts Now() override { return {2026, 12, 10, 9, 5, 7}; }
    void SetBusyCursor(bool) override {}
    int Boxes = 0, Beeps = 0;
};

constexpr const char* FuzzTemple = "寺";
constexpr const char* FuzzWord = "厨子";
constexpr const char* FuzzDrawing = "図面1";

// One program folder for the whole process (removed at exit), and editors in it.
class TFuzzEnv {
public:
    TFuzzEnv();
    ~TFuzzEnv();

    // A new editor in slot k (0 or 1) pointed at the fuzz drawing of the folder; the
    // slot's previous editor is gone.
    TDrawingState& Fresh(int k = 0);

    // Raw bytes into a file of the folder, and back.
    void Put(const std::string& name, std::string_view bytes) const;
    std::string Get(const std::string& name) const;
    bool Exists(const std::string& name) const;
    void Remove(const std::string& name) const;
    std::string Path(const std::string& name) const { return Folder + name; }

    std::string DataFileName() const;
    std::string DispFileName() const;

    std::string Folder;  // with a trailing "/"
    TQuietUi Ui;

private:
    std::unique_ptr<TDrawingState> Slots[2];
};

// Copies what the start-up stages leave (records, keys, households, names, view) from
// one editor into another, so that a target can start from a loaded drawing without
// loading it for every input.
void CopyDocument(const TDrawingState& from, TDrawingState& to);

// The sample temple's drawing, households and hand-over file: paths of the files as the
// ledger leaves them (built into the targets from the source tree).
std::string SampleFile(const std::string& name);
// A file of the sample temple put into the folder under name as its CP932 lines, each
// ended by CR LF; stops the process when the sample cannot be read.
void PutSampleFile(const TFuzzEnv& env, const std::string& sampleName, const std::string& name);

}  // namespace tarvek::fuzz
