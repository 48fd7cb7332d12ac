// The board's display driver as the programs see it: the private escape 32990
// with its two-letter sub-functions "IC", "MS", "BV", "ID" and "VG".
//
// Each sub-function answers with a reply a test can set: the escape's return
// value, the bytes it puts into the caller's output block and, for a negative
// return value, the error code the system's last-error value then holds. A
// fresh driver answers as a supported board does (chip id 0x5D17).
//
//   adapter_model::DisplayDriver& driver = sim::TheBoard().Driver();
//   driver.SetReply("ID", {1, {0x34, 0x12, 0x16, 0x5D}});   // chip id 0x5D16
//   driver.SetReply("VG", {-1, {}, 0x57});                   // error 0x57
//   driver.ImplementNothing();                                // every code returns 0
//   driver.Calls();                                           // what was asked, in order
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace adapter_model {

struct EscapeReply {
    int32_t result = 0;          // > 0 success, 0 not implemented, < 0 error
    std::vector<uint8_t> output; // copied into the caller's block, whatever the result
    uint32_t lastError = 0;      // the last-error value a negative result leaves
};

// One call that reached the driver.
struct EscapeCall {
    std::string code;           // the first two bytes of the input block
    std::vector<uint8_t> input; // the whole input block
    int outputSize = 0;
    bool outputGiven = false; // a non-null output block was passed
};

class DisplayDriver {
  public:
    static constexpr int kEscape = 32990;

    DisplayDriver();

    // The reply of one sub-function from now on.
    void SetReply(const std::string& code, const EscapeReply& reply);
    const EscapeReply& Reply(const std::string& code) const;
    // A driver without the private escape: every sub-function returns 0.
    void ImplementNothing();

    // Answers one call of the escape. At most outputSize bytes of the reply's
    // output are copied into output (when it is not null); for a negative result
    // *lastError receives the reply's error code. Unknown codes return 0.
    int32_t Escape(int inputSize, const void* input, int outputSize, void* output,
                   uint32_t* lastError);

    const std::vector<EscapeCall>& Calls() const { return calls_; }
    void ClearCalls() { calls_.clear(); }

  private:
    std::map<std::string, EscapeReply> replies_;
    std::vector<EscapeCall> calls_;
};

} // namespace adapter_model
