// Writes tests/correction/data/curve_fixture.txt: whole corrected palettes of
// 256 and 32 entries for a spread of brightness and contrast triples.
//
// This is a second, separate implementation of the curves, so that the tests
// compare the program against values it did not compute itself. It does not
// use double arithmetic at all: every step that the program rounds to double
// is formed exactly in the 64-bit significand of x87 long double and rounded
// to double once, and the power curve is evaluated in long double. Where a
// step cannot be formed exactly (the division) the rounding is proven by its
// residual, and every value that is rounded to an integer is checked to lie
// well away from a rounding tie, so that any accurate power function gives
// the same palette.
//
// Usage: make_curve_fixture [output file]   (standard output without one)

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

static_assert(LDBL_MANT_DIG == 64, "needs the x87 80-bit long double");

namespace {

constexpr int kMax = 255; // paletteMax whenever palettes are computed

// Nearest doubles of 0.01, 1/13 and 1/31, as the decimal literals name them.
constexpr double kHundredth = 0.01;
constexpr double kThirteenth = 0.07692307692307693;
constexpr double kInverse31 = 0.03225806451612903;

// The closest any value rounded to an integer may come to a half.
constexpr long double kTieMargin = 1e-9L;

long double closestTie = 1.0L;

[[noreturn]] void Fail(const char* what, long double value) {
    std::fprintf(stderr, "make_curve_fixture: %s (%.21Lg)\n", what, value);
    std::exit(1);
}

// n × x rounded once to double. |n| < 2^11 and x has 53 significant bits,
// so the product has at most 64 and is exact in long double.
double Multiply(int n, double x) {
    if (n <= -2048 || n >= 2048) {
        Fail("factor too wide for an exact product", n);
    }
    long double exact = static_cast<long double>(n) * x;
    return static_cast<double>(exact);
}

// s / m rounded once to double, checked through the exact residual q × m - s
// against half a unit in the last place of q.
double Divide(int s, int m) {
    double q = static_cast<double>(static_cast<long double>(s) / m);
    long double residual = static_cast<long double>(q) * m - s; // exact: 61 bits
    long double halfUlp = (std::nextafter(q, 2.0) - static_cast<long double>(q)) / 2;
    if (std::fabs(residual) >= halfUlp * m) {
        Fail("division not correctly rounded", q);
    }
    return q;
}

// Nearest integer, halves away from zero, for a value known only to within a
// tiny error: refuses values near a half.
int RoundChecked(long double x) {
    long double distance = std::fabs(std::fabs(x - std::trunc(x)) - 0.5L);
    if (distance < kTieMargin) {
        Fail("value near a rounding tie", x);
    }
    if (distance < closestTie) {
        closestTie = distance;
    }
    return static_cast<int>(std::lround(x));
}

struct Triple {
    int c[3];
};

int Entry(int index, int size) {
    if (size == 256) {
        return index; // M × (1/255) rounds to exactly 1
    }
    double k = Multiply(kMax, kInverse31);
    return RoundChecked(Multiply(index, k));
}

int Component(int brightness, int contrast, int index, int size) {
    int h = size / 2;
    double f = Multiply(contrast + 100, kHundredth);
    double p = Multiply(index - h, f);
    int v = h + static_cast<int>(std::trunc(p));
    if (v < 0) {
        return 0;
    }
    if (v >= size) {
        return kMax;
    }
    int s = Entry(v, size);
    if (brightness == 0) {
        return s;
    }
    double q = Divide(s, kMax);
    int offset = brightness > 0 ? 65 - brightness : 1 - brightness;
    double e = Multiply(45, Multiply(offset, kThirteenth)) / 256; // 45/256: exact scale
    long double power = std::pow(static_cast<long double>(q), static_cast<long double>(e));
    if (brightness > 0) {
        int result = RoundChecked(kMax * power - s) + s;
        return result > kMax ? kMax : result;
    }
    return RoundChecked(s * power - s) + s;
}

std::string Palette(const Triple& brightness, const Triple& contrast, int size) {
    std::string hex;
    char digits[3];
    for (int i = 0; i < size; i++) {
        for (int c = 0; c < 3; c++) {
            std::snprintf(digits, sizeof digits, "%02x",
                          Component(brightness.c[c], contrast.c[c], i, size));
            hex += digits;
        }
    }
    return hex;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::pair<Triple, Triple>> cases = {
        {{0, 0, 0}, {0, 0, 0}},
        {{0, 0, 0}, {64, -64, 1}},
        {{64, -64, 1}, {0, 0, 0}},
        {{64, 64, 64}, {64, 64, 64}},
        {{-64, -64, -64}, {-64, -64, -64}},
        {{64, -64, -1}, {-64, 64, -1}},
        {{-1, 1, 0}, {1, -1, 0}},
    };
    // Each channel runs through every third offset, so that together the
    // three channels take every brightness and every contrast in -64..64.
    for (int j = 0; j < 43; j++) {
        Triple brightness = {{-64 + 3 * j, -63 + 3 * j, -62 + 3 * j}};
        Triple contrast = {{64 - 3 * j, -63 + 3 * (j * 5 % 43), -64 + 3 * (j * 11 % 43)}};
        cases.push_back({brightness, contrast});
    }

    FILE* out = argc > 1 ? std::fopen(argv[1], "w") : stdout;
    if (out == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    std::fprintf(out, "# Corrected palettes, written by tools/make_curve_fixture.cpp.\n"
                      "# Each case: a line \"size bR bG bB cR cG cB\" (brightness and contrast\n"
                      "# offsets), then a line of size entries as hex R G B bytes.\n");
    for (int size : {256, 32}) {
        for (const auto& [brightness, contrast] : cases) {
            std::fprintf(out, "%d %d %d %d %d %d %d\n%s\n", size, brightness.c[0], brightness.c[1],
                         brightness.c[2], contrast.c[0], contrast.c[1], contrast.c[2],
                         Palette(brightness, contrast, size).c_str());
        }
    }
    if (out != stdout && std::fclose(out) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    std::fprintf(stderr, "make_curve_fixture: %zu cases, closest approach to a tie %.3Lg\n",
                 cases.size() * 2, closestTie);
    return 0;
}
