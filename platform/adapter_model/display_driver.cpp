#include "platform/adapter_model/display_driver.h"

#include <algorithm>
#include <cstring>

namespace adapter_model {

DisplayDriver::DisplayDriver() {
    // A supported board: it answers the probe, has 4 MB of memory, and reports
    // chip id 0x5D17 with revision word 0x0001.
    replies_["IC"] = {1, {}, 0};
    replies_["MS"] = {4, {}, 0};
    replies_["BV"] = {1, {0x01, 0x00, 0x02, 0x00}, 0};
    replies_["ID"] = {1, {0x01, 0x00, 0x17, 0x5D}, 0};
    replies_["VG"] = {1, {0x02, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0};
}

void DisplayDriver::SetReply(const std::string& code, const EscapeReply& reply) {
    replies_[code] = reply;
}

const EscapeReply& DisplayDriver::Reply(const std::string& code) const {
    static const EscapeReply kNone;
    auto it = replies_.find(code);
    return it == replies_.end() ? kNone : it->second;
}

void DisplayDriver::ImplementNothing() {
    replies_.clear();
}

int32_t DisplayDriver::Escape(int inputSize, const void* input, int outputSize, void* output,
                              uint32_t* lastError) {
    EscapeCall call;
    if (input != nullptr && inputSize > 0) {
        const auto* bytes = static_cast<const uint8_t*>(input);
        call.input.assign(bytes, bytes + inputSize);
        for (int i = 0; i < inputSize && i < 2 && bytes[i] != 0; ++i) {
            call.code += static_cast<char>(bytes[i]);
        }
    }
    call.outputSize = outputSize;
    call.outputGiven = output != nullptr;
    calls_.push_back(call);

    auto it = replies_.find(call.code);
    if (call.code.size() != 2 || it == replies_.end()) {
        return 0;
    }
    const EscapeReply& reply = it->second;
    if (output != nullptr && outputSize > 0) {
        size_t n = std::min(reply.output.size(), static_cast<size_t>(outputSize));
        std::memcpy(output, reply.output.data(), n);
    }
    if (reply.result < 0 && lastError != nullptr) {
        *lastError = reply.lastError;
    }
    return reply.result;
}

} // namespace adapter_model
