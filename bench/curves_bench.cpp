// Benchmarks of the correction curves and of one palette write on the board
// model. Built with the project, run by hand:
//
//   cmake --preset default && cmake --build --preset default --target lumivex_bench
//   build/sim/lumivex_bench
//
// compute/<size>/<offsets> times the computation of a corrected palette;
// pow_floor/<size>/<offsets> times the same pow calls, with the same inputs,
// in a tight loop. After the table the ratio of the two is printed: how much
// the computation costs beyond its unavoidable power functions.
// board_write/<size> writes one corrected palette to the simulated board and
// reports port accesses, modelled time and the scan lines spent waiting for
// blanking per palette write.
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "correction/curves.h"
#include "platform/sim/board.h"

namespace {

struct Offsets {
    const char* name;
    ChannelTriple brightness;
    ChannelTriple contrast;
};

// A dialog step with every channel at work, and the case where every entry
// needs its power function.
const Offsets kOffsets[] = {
    {"mixed", {32, -32, 17}, {10, -10, 0}},
    {"all_pow", {64, -64, 1}, {0, 0, 0}},
};

int Offset(const ChannelTriple& t, int c) {
    return c == 0 ? t.r : c == 1 ? t.g : t.b;
}

int Component(const PaletteEntry& e, int c) {
    return c == 0 ? e.r : c == 1 ? e.g : e.b;
}

std::vector<PaletteEntry> Ramp(int size) {
    paletteMax = 255;
    std::vector<PaletteEntry> table(size);
    ComputeRamp(table.data(), size);
    return table;
}

// The base and exponent of every power function the computation makes.
std::vector<std::pair<double, double>> PowInputs(const Offsets& o, int size) {
    std::vector<PaletteEntry> base = Ramp(size);
    std::vector<std::pair<double, double>> inputs;
    for (int i = 0; i < size; i++) {
        for (int c = 0; c < 3; c++) {
            int v = ContrastIndex(Offset(o.contrast, c), i, size);
            int b = Offset(o.brightness, c);
            if (v < 0 || v >= size || b == 0) {
                continue;
            }
            int s = Component(base[v], c);
            if (s == 0 || s == 255) {
                continue;
            }
            double e = ((b > 0 ? 65 - b : 1 - b) * (1.0 / 13)) * (45.0 / 256);
            inputs.push_back({s / 255.0, e});
        }
    }
    return inputs;
}

void Compute(benchmark::State& state, const Offsets& o, int size) {
    std::vector<PaletteEntry> base = Ramp(size);
    std::vector<PaletteEntry> work(size);
    for (auto _ : state) {
        ComputeCorrectedPalette(&o.brightness, &o.contrast, base.data(), size, work.data());
        benchmark::DoNotOptimize(work.data());
        benchmark::ClobberMemory();
    }
    state.counters["pow_calls"] = (double)PowInputs(o, size).size();
}

void PowFloor(benchmark::State& state, const Offsets& o, int size) {
    std::vector<std::pair<double, double>> inputs = PowInputs(o, size);
    for (auto _ : state) {
        double sum = 0;
        for (const auto& [q, e] : inputs) {
            double p = pow(q, e);
            benchmark::DoNotOptimize(p);
            sum += p;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.counters["pow_calls"] = (double)inputs.size();
}

void BoardWrite(benchmark::State& state, int size) {
    adapter_model::Board& board = sim::TheBoard();
    board.SetTraceEnabled(false);
    // As the correction start-up leaves the masks.
    paletteControlOrMask = 0x10;
    paletteControlAndMask = 0xFF;
    paletteMax = 255;
    PreparePalette256();
    PreparePalette32();
    const Offsets& o = kOffsets[0];
    board.ResetCounters();
    for (auto _ : state) {
        if (size == 256) {
            CorrectPalette256(&o.brightness, &o.contrast, baseTable256);
        } else {
            CorrectPalette32(&o.brightness, &o.contrast, baseTable32);
        }
    }
    const adapter_model::Counters& counters = board.GetCounters();
    using benchmark::Counter;
    state.counters["port_accesses"] = Counter((double)counters.accesses, Counter::kAvgIterations);
    state.counters["status_reads"] = Counter((double)counters.statusReads, Counter::kAvgIterations);
    state.counters["modelled_us"] = Counter(counters.modelledNs / 1000.0, Counter::kAvgIterations);
    state.counters["wait_lines"] = Counter(board.WaitScanLines(), Counter::kAvgIterations);
}

// The console table, then each computation's CPU time as a multiple of its
// floor's (CPU time, as the machine may be shared).
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
                cpuNs_[run.benchmark_name()] = run.GetAdjustedCPUTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void PrintRatios() const {
        std::printf("\ncomputation / pow floor, CPU time (same pow calls, same inputs)\n");
        for (const auto& [name, ns] : cpuNs_) {
            if (name.rfind("compute/", 0) != 0) {
                continue;
            }
            auto floor = cpuNs_.find("pow_floor/" + name.substr(8));
            if (floor != cpuNs_.end() && floor->second > 0) {
                std::printf("  %-22s %8.0f ns / %8.0f ns = %.2f\n", name.c_str(), ns, floor->second,
                            ns / floor->second);
            }
        }
    }

  private:
    std::map<std::string, double> cpuNs_;
};

} // namespace

int main(int argc, char** argv) {
    for (int size : {256, 32}) {
        for (const Offsets& o : kOffsets) {
            std::string suffix = std::to_string(size) + "/" + o.name;
            benchmark::RegisterBenchmark(("compute/" + suffix).c_str(), Compute, o, size);
            benchmark::RegisterBenchmark(("pow_floor/" + suffix).c_str(), PowFloor, o, size);
        }
    }
    for (int size : {256, 32}) {
        benchmark::RegisterBenchmark(("board_write/" + std::to_string(size)).c_str(), BoardWrite,
                                     size);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
