// The simulated board: the graphics chip's port space and its display driver,
// in plain C++ without any operating-system dependency.
//
// Port space
//   0x3C4/0x3C5  VGA sequencer index and data. Register 0x11 reads 'K' and 0x12
//                reads 'T' (the chip's signature; read-only through the ports),
//                0x1D selects the extended-register window, 0x1E/0x1F hold the
//                low/high byte of the window's base port. Every other index is
//                plain storage.
//   base+0..3    the extended-register window: register (window << 2) | offset.
//                A base of 0 decodes no window.
//   0x3C8/0x3C9  DAC: 0x3C8 takes the entry index, 0x3C9 then R, G and B; the
//                entry is stored when B arrives and the index advances by one
//                (wrapping). Register 0xE0 bit 5 decides which palette the
//                entry goes to: clear the 256-entry palette, set the 32-entry
//                palette (index taken modulo 32). With bit 4 clear the DAC keeps
//                6-bit components (the low six bits of each byte); with bit 4
//                set it keeps the whole byte.
//   0x3DA        input status: bit 0 while the beam is in horizontal or vertical
//                blanking, bit 3 during vertical retrace; computed from the
//                modelled clock and the scan timing.
//   anything else reads 0xFF and ignores writes.
//
// Register 0xE0 (palette control): bits 0-1 the desktop's source, bits 2-3 the
// video window's source (0 none, 1 the 256-entry palette, 2 the 32-entry
// palette, 3 taken as none), bit 4 8-bit components, bit 5 the palette the
// DAC ports reach, bits 6-7 plain storage.
//
// Timing: the modelled clock starts at 0 (top left of the first frame) and
// advances by AccessCostNs() with every port access; the state a read returns
// is the state at the start of the access. Changes of the interrupt flag take
// no time.
//
// Trace and counters: every port access is appended to Trace() (port, width,
// direction, value moved, interrupt flag), and so is every change of the
// interrupt flag (as Op::DisableInterrupts/EnableInterrupts). Counters() sum
// up accesses and modelled time since the last ResetCounters(). A benchmark
// that makes millions of accesses switches the trace off with
// SetTraceEnabled(false); the counters go on counting.
//
// Reading state directly (no trace, no time): Palette256(), Palette32(),
// PaletteControl(), ExtendedRegister(i), Sequencer(i), SequencerIndex().
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "platform/adapter_model/display_driver.h"

namespace adapter_model {

// Ports and registers the programs use.
constexpr uint16_t kSequencerIndexPort = 0x3C4;
constexpr uint16_t kSequencerDataPort = 0x3C5;
constexpr uint16_t kDacWriteIndexPort = 0x3C8;
constexpr uint16_t kDacDataPort = 0x3C9;
constexpr uint16_t kInputStatusPort = 0x3DA;
constexpr uint8_t kSignatureRegister1 = 0x11;
constexpr uint8_t kSignatureRegister2 = 0x12;
constexpr uint8_t kWindowSelectRegister = 0x1D;
constexpr uint8_t kBaseLowRegister = 0x1E;
constexpr uint8_t kBaseHighRegister = 0x1F;
constexpr uint8_t kPaletteControlRegister = 0xE0;

// Bits of register 0xE0.
constexpr uint8_t kDesktopSourceMask = 0x03;
constexpr uint8_t kVideoSourceMask = 0x0C;
constexpr uint8_t kEightBitComponents = 0x10;
constexpr uint8_t kDacReaches32 = 0x20;

// Values of a source field.
constexpr int kSourceNone = 0;
constexpr int kSource256 = 1;
constexpr int kSource32 = 2;

// Bits of the input status port.
constexpr uint8_t kStatusBlanking = 0x01;
constexpr uint8_t kStatusVerticalRetrace = 0x08;

constexpr uint16_t kDefaultExtendedBase = 0xD000;

struct Rgb {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// A display mode's scan timing. A line is horizontalVisible pixels shown and
// then blanked up to horizontalTotal; a frame is verticalVisible lines shown
// and then blanked up to verticalTotal, with verticalSyncLines lines of
// retrace from verticalSyncStart.
struct ScanTiming {
    uint32_t pixelClockKHz;
    uint32_t horizontalVisible;
    uint32_t horizontalTotal;
    uint32_t verticalVisible;
    uint32_t verticalSyncStart;
    uint32_t verticalSyncLines;
    uint32_t verticalTotal;
};

// 640x480 at 60 Hz: 25.175 MHz, 800 pixels a line, 525 lines a frame.
constexpr ScanTiming kMode640x480At60{25175, 640, 800, 480, 490, 2, 525};

enum class Op : uint8_t { In, Out, DisableInterrupts, EnableInterrupts };

struct TraceEntry {
    Op op;
    uint8_t width;          // 8 or 16 for a port access, 0 for the interrupt flag
    uint16_t port;          // 0 for the interrupt flag
    uint16_t value;         // the byte or word moved (a 16-bit access at p: low byte at p)
    bool interruptsEnabled; // the flag during the access (after the change, for Op::*Interrupts)
    bool IsPortAccess() const { return width != 0; }
};

struct Counters {
    uint64_t accesses = 0;    // port accesses of either width
    uint64_t modelledNs = 0;  // modelled time those accesses took
    uint64_t statusReads = 0; // reads of 0x3DA
    // Time of the 0x3DA reads that found the display neither blanked nor in
    // retrace, that is, time spent waiting for blanking.
    uint64_t waitNs = 0;
};

class Board {
  public:
    Board();

    // Port access as the processor makes it. A 16-bit access at port p moves
    // its low byte at p and its high byte at p + 1, as one access.
    uint8_t InByte(uint16_t port);
    void OutByte(uint16_t port, uint8_t value);
    uint16_t InWord(uint16_t port);
    void OutWord(uint16_t port, uint16_t value);

    // The processor's interrupt flag (on at start).
    void DisableInterrupts();
    void EnableInterrupts();
    bool InterruptsEnabled() const { return interruptsEnabled_; }

    // Chip state, read and set directly: no trace, no modelled time.
    uint8_t SequencerIndex() const { return sequencerIndex_; }
    void SetSequencerIndex(uint8_t index) { sequencerIndex_ = index; }
    uint8_t Sequencer(uint8_t index) const { return sequencer_[index]; }
    void SetSequencer(uint8_t index, uint8_t value) { sequencer_[index] = value; }
    uint16_t ExtendedBase() const;
    void SetExtendedBase(uint16_t base);
    uint8_t ExtendedRegister(uint8_t index) const { return extended_[index]; }
    void SetExtendedRegister(uint8_t index, uint8_t value) { extended_[index] = value; }
    uint8_t PaletteControl() const { return extended_[kPaletteControlRegister]; }
    void SetPaletteControl(uint8_t value) { extended_[kPaletteControlRegister] = value; }
    int DesktopSource() const { return PaletteControl() & kDesktopSourceMask; }
    int VideoSource() const { return (PaletteControl() & kVideoSourceMask) >> 2; }

    // The palettes. Fresh ones hold grey ramps (256: i; 32: i * 255 / 31).
    std::array<Rgb, 256>& Palette256() { return palette256_; }
    const std::array<Rgb, 256>& Palette256() const { return palette256_; }
    std::array<Rgb, 32>& Palette32() { return palette32_; }
    const std::array<Rgb, 32>& Palette32() const { return palette32_; }
    uint8_t DacWriteIndex() const { return dacIndex_; }

    // Timing.
    void SetScanTiming(const ScanTiming& timing) { timing_ = timing; }
    const ScanTiming& Timing() const { return timing_; }
    // Cost of one port access in modelled time, 1000 ns (an ISA-speed I/O
    // cycle) unless set.
    void SetAccessCostNs(uint32_t ns) { accessCostNs_ = ns; }
    uint32_t AccessCostNs() const { return accessCostNs_; }
    uint64_t NowNs() const { return nowNs_; }
    void SetNowNs(uint64_t ns) { nowNs_ = ns; }
    double LinePeriodNs() const;
    double FramePeriodNs() const;
    // The status port's value at a moment of modelled time.
    uint8_t StatusAt(uint64_t ns) const;
    // A display that never reports blanking or retrace (status reads 0). The
    // palette writers then give up waiting after a bound for each entry: a
    // whole palette makes millions of status reads, so switch the trace off.
    void SetNeverBlanks(bool never) { neverBlanks_ = never; }

    // Trace and counters.
    const std::vector<TraceEntry>& Trace() const { return trace_; }
    void ClearTrace() { trace_.clear(); }
    void SetTraceEnabled(bool enabled) { traceEnabled_ = enabled; }
    const Counters& GetCounters() const { return counters_; }
    void ResetCounters() { counters_ = Counters{}; }
    // Counters().waitNs in scan lines of the present timing.
    double WaitScanLines() const;

    DisplayDriver& Driver() { return driver_; }
    const DisplayDriver& Driver() const { return driver_; }

  private:
    uint8_t Read(uint16_t port);
    void Write(uint16_t port, uint8_t value);
    void WriteDac(uint8_t value);
    bool InWindow(uint16_t port, uint8_t* index) const;
    void Record(Op op, uint8_t width, uint16_t port, uint16_t value);
    void Tick(uint16_t port, Op op, uint8_t valueLow);

    std::array<uint8_t, 256> sequencer_{};
    uint8_t sequencerIndex_ = 0;
    std::array<uint8_t, 256> extended_{};
    std::array<Rgb, 256> palette256_{};
    std::array<Rgb, 32> palette32_{};
    uint8_t dacIndex_ = 0;
    int dacComponent_ = 0; // 0 R, 1 G, 2 B next
    Rgb dacLatch_{};

    ScanTiming timing_ = kMode640x480At60;
    uint32_t accessCostNs_ = 1000;
    uint64_t nowNs_ = 0;
    bool neverBlanks_ = false;
    bool interruptsEnabled_ = true;

    bool traceEnabled_ = true;
    std::vector<TraceEntry> trace_;
    Counters counters_;

    DisplayDriver driver_;
};

} // namespace adapter_model
