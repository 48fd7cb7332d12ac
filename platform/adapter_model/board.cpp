#include "platform/adapter_model/board.h"

namespace adapter_model {

namespace {

constexpr uint8_t kFloatingBus = 0xFF;
constexpr uint8_t kWindowMask = 0x3F; // 64 windows of 4 registers

uint8_t SixBit(uint8_t component) {
    return component & 0x3F;
}

} // namespace

Board::Board() {
    sequencer_[kSignatureRegister1] = 'K';
    sequencer_[kSignatureRegister2] = 'T';
    SetExtendedBase(kDefaultExtendedBase);
    for (int i = 0; i < 256; ++i) {
        auto v = static_cast<uint8_t>(i);
        palette256_[i] = {v, v, v};
    }
    for (int i = 0; i < 32; ++i) {
        auto v = static_cast<uint8_t>(i * 255 / 31);
        palette32_[i] = {v, v, v};
    }
}

uint16_t Board::ExtendedBase() const {
    return static_cast<uint16_t>(sequencer_[kBaseHighRegister] << 8 | sequencer_[kBaseLowRegister]);
}

void Board::SetExtendedBase(uint16_t base) {
    sequencer_[kBaseLowRegister] = static_cast<uint8_t>(base & 0xFF);
    sequencer_[kBaseHighRegister] = static_cast<uint8_t>(base >> 8);
}

double Board::LinePeriodNs() const {
    return timing_.horizontalTotal * 1e6 / timing_.pixelClockKHz;
}

double Board::FramePeriodNs() const {
    return LinePeriodNs() * timing_.verticalTotal;
}

uint8_t Board::StatusAt(uint64_t ns) const {
    if (neverBlanks_) {
        return 0;
    }
    // Whole pixels since the start of the first frame; 64 bits last for days of
    // modelled time at any pixel clock.
    uint64_t pixels = ns * timing_.pixelClockKHz / 1000000;
    uint64_t frame = static_cast<uint64_t>(timing_.horizontalTotal) * timing_.verticalTotal;
    uint64_t inFrame = pixels % frame;
    uint64_t line = inFrame / timing_.horizontalTotal;
    uint64_t x = inFrame % timing_.horizontalTotal;
    uint8_t status = 0;
    if (x >= timing_.horizontalVisible || line >= timing_.verticalVisible) {
        status |= kStatusBlanking;
    }
    if (line >= timing_.verticalSyncStart &&
        line < timing_.verticalSyncStart + timing_.verticalSyncLines) {
        status |= kStatusVerticalRetrace;
    }
    return status;
}

double Board::WaitScanLines() const {
    return counters_.waitNs / LinePeriodNs();
}

bool Board::InWindow(uint16_t port, uint8_t* index) const {
    uint16_t base = ExtendedBase();
    if (base == 0 || port < base || port - base > 3) {
        return false;
    }
    uint8_t window = sequencer_[kWindowSelectRegister] & kWindowMask;
    *index = static_cast<uint8_t>(window << 2 | (port - base));
    return true;
}

uint8_t Board::Read(uint16_t port) {
    uint8_t index = 0;
    if (InWindow(port, &index)) {
        return extended_[index];
    }
    switch (port) {
    case kSequencerIndexPort:
        return sequencerIndex_;
    case kSequencerDataPort:
        return sequencer_[sequencerIndex_];
    case kDacWriteIndexPort:
        return dacIndex_;
    case kInputStatusPort:
        return StatusAt(nowNs_);
    default:
        return kFloatingBus;
    }
}

void Board::Write(uint16_t port, uint8_t value) {
    uint8_t index = 0;
    if (InWindow(port, &index)) {
        extended_[index] = value;
        return;
    }
    switch (port) {
    case kSequencerIndexPort:
        sequencerIndex_ = value;
        break;
    case kSequencerDataPort:
        if (sequencerIndex_ != kSignatureRegister1 && sequencerIndex_ != kSignatureRegister2) {
            sequencer_[sequencerIndex_] = value;
        }
        break;
    case kDacWriteIndexPort:
        dacIndex_ = value;
        dacComponent_ = 0;
        break;
    case kDacDataPort:
        WriteDac(value);
        break;
    default:
        break;
    }
}

void Board::WriteDac(uint8_t value) {
    uint8_t control = PaletteControl();
    uint8_t component = (control & kEightBitComponents) != 0 ? value : SixBit(value);
    switch (dacComponent_) {
    case 0:
        dacLatch_.r = component;
        dacComponent_ = 1;
        return;
    case 1:
        dacLatch_.g = component;
        dacComponent_ = 2;
        return;
    default:
        dacLatch_.b = component;
        dacComponent_ = 0;
        break;
    }
    if ((control & kDacReaches32) != 0) {
        palette32_[dacIndex_ % 32] = dacLatch_;
    } else {
        palette256_[dacIndex_] = dacLatch_;
    }
    ++dacIndex_;
}

void Board::Record(Op op, uint8_t width, uint16_t port, uint16_t value) {
    if (traceEnabled_) {
        trace_.push_back({op, width, port, value, interruptsEnabled_});
    }
}

void Board::Tick(uint16_t port, Op op, uint8_t valueLow) {
    counters_.accesses++;
    counters_.modelledNs += accessCostNs_;
    if (port == kInputStatusPort && op == Op::In) {
        counters_.statusReads++;
        if ((valueLow & (kStatusBlanking | kStatusVerticalRetrace)) == 0) {
            counters_.waitNs += accessCostNs_;
        }
    }
    nowNs_ += accessCostNs_;
}

uint8_t Board::InByte(uint16_t port) {
    uint8_t value = Read(port);
    Record(Op::In, 8, port, value);
    Tick(port, Op::In, value);
    return value;
}

void Board::OutByte(uint16_t port, uint8_t value) {
    Write(port, value);
    Record(Op::Out, 8, port, value);
    Tick(port, Op::Out, value);
}

uint16_t Board::InWord(uint16_t port) {
    uint8_t low = Read(port);
    uint8_t high = Read(static_cast<uint16_t>(port + 1));
    auto value = static_cast<uint16_t>(high << 8 | low);
    Record(Op::In, 16, port, value);
    Tick(port, Op::In, low);
    return value;
}

void Board::OutWord(uint16_t port, uint16_t value) {
    Write(port, static_cast<uint8_t>(value & 0xFF));
    Write(static_cast<uint16_t>(port + 1), static_cast<uint8_t>(value >> 8));
    Record(Op::Out, 16, port, value);
    Tick(port, Op::Out, static_cast<uint8_t>(value & 0xFF));
}

void Board::DisableInterrupts() {
    interruptsEnabled_ = false;
    Record(Op::DisableInterrupts, 0, 0, 0);
}

void Board::EnableInterrupts() {
    interruptsEnabled_ = true;
    Record(Op::EnableInterrupts, 0, 0, 0);
}

} // namespace adapter_model
