// The simulated board's trace as short readable lines, so tests can compare
// whole access sequences: "cli", "sti", "in 3C5=D0", "out 3C4 1E",
// "inw 3C4=5A07", "outw 3C4 5A07".
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "platform/sim/board.h"

inline std::string TraceLine(const adapter_model::TraceEntry& e) {
    char text[32];
    const char* suffix = e.width == 16 ? "w" : "";
    switch (e.op) {
    case adapter_model::Op::DisableInterrupts:
        return "cli";
    case adapter_model::Op::EnableInterrupts:
        return "sti";
    case adapter_model::Op::In:
        std::snprintf(text, sizeof text, e.width == 16 ? "in%s %X=%04X" : "in%s %X=%02X", suffix,
                      e.port, e.value);
        return text;
    case adapter_model::Op::Out:
        std::snprintf(text, sizeof text, e.width == 16 ? "out%s %X %04X" : "out%s %X %02X", suffix,
                      e.port, e.value);
        return text;
    }
    return "?";
}

inline std::vector<std::string> TraceLines() {
    std::vector<std::string> lines;
    for (const auto& e : sim::TheBoard().Trace()) {
        lines.push_back(TraceLine(e));
    }
    return lines;
}
