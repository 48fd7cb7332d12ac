// The settings store: what the registry holds after a save, what memory holds
// after a load, and how damaged or foreign values are read.
#include <climits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "correction/settings.h"

namespace {

const char kCorrectionKey[] = "Software\\Veridane\\Corvantis";
const char kUtilityKey[] = "Software\\Veridane\\Lumivex";

void AssignKinds(int desktopKind, int videoKind) {
    correctionSettings.targets[Desktop].paletteKind = desktopKind;
    correctionSettings.targets[Video].paletteKind = videoKind;
}

void ExpectTriple(const ChannelTriple* t, int r, int g, int b) {
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->r, r);
    EXPECT_EQ(t->g, g);
    EXPECT_EQ(t->b, b);
}

// Bytes stored under a value, terminator included.
std::vector<BYTE> Bytes(const std::string& text) {
    std::vector<BYTE> data(text.begin(), text.end());
    data.push_back(0);
    return data;
}

class StoreTest : public ::testing::Test {
  protected:
    void SetUp() override { AssignKinds(Palette256, Palette32); }
};

TEST_F(StoreTest, FirstLoadCreatesBothKeysEmptyAndClearsTheStoredFields) {
    correctionSettings.targets[Desktop] = {1, 1, 1, Palette256};
    correctionSettings.targets[Video] = {1, 1, 1, Palette32};
    correctionSettings.palBrightCtrls[0] = {5, 6, 7};
    correctionSettings.palContrastCtrls[1] = {-5, -6, -7};

    LoadCorrectionSettings();

    EXPECT_TRUE(sim::registry::KeyExists(kCorrectionKey));
    EXPECT_TRUE(sim::registry::KeyExists(kUtilityKey));
    EXPECT_TRUE(sim::registry::ValueNames(kCorrectionKey).empty());
    EXPECT_TRUE(sim::registry::ValueNames(kUtilityKey).empty());
    for (int target : {Desktop, Video}) {
        EXPECT_EQ(correctionSettings.targets[target].on, 0);
        EXPECT_EQ(correctionSettings.targets[target].lock, 0);
        EXPECT_EQ(correctionSettings.targets[target].correctionType, 0);
        ExpectTriple(TargetBrightness(target), 0, 0, 0);
        ExpectTriple(TargetContrast(target), 0, 0, 0);
    }
    // The kinds are not part of the store.
    EXPECT_EQ(correctionSettings.targets[Desktop].paletteKind, Palette256);
    EXPECT_EQ(correctionSettings.targets[Video].paletteKind, Palette32);
    EXPECT_EQ(sim::registry::OpenHandleCount(), 0u);
}

TEST_F(StoreTest, SaveWritesEveryValueAsDecimalTextInTheCompanionsOrder) {
    LoadCorrectionSettings();
    correctionSettings.targets[Desktop] = {1, 0, 1, Palette256};
    correctionSettings.targets[Video] = {0, 1, 0, Palette32};
    *TargetBrightness(Desktop) = {5, -3, 0};
    *TargetContrast(Desktop) = {-64, -64, -64};
    *TargetBrightness(Video) = {64, 0, -1};
    *TargetContrast(Video) = {10, 20, 30};
    sim::ClearOperationLog();

    SaveCorrectionSettings();

    struct Expected {
        const char* key;
        const char* name;
        const char* text;
    };
    const Expected expected[] = {
        {kCorrectionKey, "CHROMA_ON/OFF", "0"},
        {kCorrectionKey, "CHROMA_CorrectionType", "0"},
        {kCorrectionKey, "CHROMA_PalBrightCtrls", "64 0 -1"},
        {kCorrectionKey, "CHROMA_PalContrastCtrls", "10 20 30"},
        {kCorrectionKey, "GAMMA_ON/OFF", "1"},
        {kCorrectionKey, "GAMMA_CorrectionType", "1"},
        {kCorrectionKey, "GAMMA_PalBrightCtrls", "5 -3 0"},
        {kCorrectionKey, "GAMMA_PalContrastCtrls", "-64 -64 -64"},
        {kUtilityKey, "CHROMA_LOCK", "1"},
        {kUtilityKey, "GAMMA_LOCK", "0"},
    };
    std::vector<std::string> order;
    for (const std::string& line : sim::OperationLog()) {
        if (line.rfind("RegSetValueEx", 0) == 0) {
            order.push_back(line);
        }
    }
    ASSERT_EQ(order.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        const Expected& e = expected[i];
        SCOPED_TRACE(e.name);
        std::optional<sim::registry::Value> value = sim::registry::GetValue(e.key, e.name);
        ASSERT_TRUE(value.has_value());
        EXPECT_EQ(value->type, static_cast<DWORD>(REG_SZ));
        // The text and its terminating zero, nothing more.
        EXPECT_EQ(value->data, Bytes(e.text));
        EXPECT_NE(order[i].find(std::string("[") + e.name + "]"), std::string::npos) << order[i];
    }
    EXPECT_EQ(sim::registry::OpenHandleCount(), 0u);
}

TEST_F(StoreTest, LoadReadsBackWhatSaveWrote) {
    LoadCorrectionSettings();
    correctionSettings.targets[Desktop] = {1, 1, 1, Palette256};
    correctionSettings.targets[Video] = {1, 0, 0, Palette32};
    *TargetBrightness(Desktop) = {-64, -64, -64};
    *TargetContrast(Desktop) = {64, 0, -7};
    *TargetBrightness(Video) = {1, 2, 3};
    *TargetContrast(Video) = {-1, -2, -3};
    SaveCorrectionSettings();

    CorrectionSettings saved = correctionSettings;
    correctionSettings = CorrectionSettings{};
    AssignKinds(Palette256, Palette32);
    LoadCorrectionSettings();

    for (int target : {Desktop, Video}) {
        EXPECT_EQ(correctionSettings.targets[target].on, saved.targets[target].on);
        EXPECT_EQ(correctionSettings.targets[target].lock, saved.targets[target].lock);
        EXPECT_EQ(correctionSettings.targets[target].correctionType,
                  saved.targets[target].correctionType);
    }
    ExpectTriple(TargetBrightness(Desktop), -64, -64, -64);
    ExpectTriple(TargetContrast(Desktop), 64, 0, -7);
    ExpectTriple(TargetBrightness(Video), 1, 2, 3);
    ExpectTriple(TargetContrast(Video), -1, -2, -3);
}

TEST_F(StoreTest, LoadReadsTheValuesInTheCompanionsOrder) {
    sim::registry::CreateKey(kCorrectionKey);
    sim::registry::CreateKey(kUtilityKey);

    LoadCorrectionSettings();

    const std::string correction = std::string("HKLM\\") + kCorrectionKey + " [";
    const std::string utility = std::string("HKLM\\") + kUtilityKey + " [";
    std::vector<std::string> expected;
    for (const char* name : {"CHROMA_ON/OFF", "CHROMA_CorrectionType", "CHROMA_PalBrightCtrls",
                             "CHROMA_PalContrastCtrls", "GAMMA_ON/OFF", "GAMMA_CorrectionType",
                             "GAMMA_PalBrightCtrls", "GAMMA_PalContrastCtrls"}) {
        expected.push_back(correction + name + "]");
    }
    expected.push_back(utility + "CHROMA_LOCK]");
    expected.push_back(utility + "GAMMA_LOCK]");
    EXPECT_EQ(sim::registry::QueryLog(), expected);
}

TEST_F(StoreTest, EachTargetsValuesFollowItWhenTheKindsSwap) {
    sim::registry::SetString(kCorrectionKey, "GAMMA_PalBrightCtrls", "1 2 3");
    sim::registry::SetString(kCorrectionKey, "CHROMA_PalBrightCtrls", "4 5 6");
    sim::registry::CreateKey(kUtilityKey);

    AssignKinds(Palette256, Palette32); // 24 bits per pixel
    LoadCorrectionSettings();
    ExpectTriple(&correctionSettings.palBrightCtrls[0], 1, 2, 3);
    ExpectTriple(&correctionSettings.palBrightCtrls[1], 4, 5, 6);

    AssignKinds(Palette32, Palette256); // 16 bits per pixel
    LoadCorrectionSettings();
    ExpectTriple(&correctionSettings.palBrightCtrls[1], 1, 2, 3);
    ExpectTriple(&correctionSettings.palBrightCtrls[0], 4, 5, 6);
}

// How one stored triple text is read: numbers from left to right, a field
// without a number keeps its value, nothing beyond the 32-bit range is
// undefined.
struct TripleCase {
    const char* text;
    int r, g, b;
};

class TripleParsing : public ::testing::TestWithParam<TripleCase> {};

TEST_P(TripleParsing, ReadsNumbersLeftToRight) {
    const TripleCase& c = GetParam();
    AssignKinds(Palette256, Palette32);
    correctionSettings.palBrightCtrls[0] = {11, 22, 33};
    sim::registry::SetString(kCorrectionKey, "GAMMA_PalBrightCtrls", c.text);
    sim::registry::CreateKey(kUtilityKey);

    LoadCorrectionSettings();

    ExpectTriple(TargetBrightness(Desktop), c.r, c.g, c.b);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TripleParsing,
    ::testing::Values(TripleCase{"5 -3 0", 5, -3, 0}, TripleCase{"7", 7, 22, 33},
                      TripleCase{"5 -3 10 9", 5, -3, 10}, TripleCase{"100 100 100", 100, 100, 100},
                      TripleCase{" \t+4\r\n-5   6", 4, -5, 6}, TripleCase{"", 11, 22, 33},
                      TripleCase{"abc", 11, 22, 33}, TripleCase{"5,6,7", 5, 22, 33},
                      TripleCase{"1 - 2", 1, 22, 33}, TripleCase{"-0 +0 x", 0, 0, 33},
                      TripleCase{"8 9 10junk", 8, 9, 10},
                      TripleCase{"99999999999 -99999999999 2147483648", INT_MAX, INT_MIN, INT_MAX},
                      TripleCase{"2147483647 -2147483648 -2147483649", INT_MAX, INT_MIN, INT_MIN},
                      TripleCase{"000000000000000000000000000012 3 4", 12, 3, 4}));

TEST_F(StoreTest, MissingOrOversizedValuesLeaveTheirFields) {
    AssignKinds(Palette256, Palette32);
    correctionSettings.targets[Desktop] = {1, 1, 1, Palette256};
    correctionSettings.palBrightCtrls[0] = {9, 8, 7};
    // Keys present, values missing: what a start after a run without a save finds.
    sim::registry::CreateKey(kCorrectionKey);
    sim::registry::CreateKey(kUtilityKey);
    // A value longer than the 180-byte read buffer.
    sim::registry::SetString(kCorrectionKey, "GAMMA_ON/OFF", std::string(200, '0') + "5");

    LoadCorrectionSettings();

    EXPECT_EQ(correctionSettings.targets[Desktop].on, 1);
    EXPECT_EQ(correctionSettings.targets[Desktop].lock, 1);
    EXPECT_EQ(correctionSettings.targets[Desktop].correctionType, 1);
    ExpectTriple(TargetBrightness(Desktop), 9, 8, 7);
}

TEST_F(StoreTest, ValuesThatAreNotTextAreReadWithoutOverrun) {
    AssignKinds(Palette256, Palette32);
    correctionSettings.targets[Video].on = 1;
    sim::registry::CreateKey(kUtilityKey);
    // Exactly the buffer's size with no terminator: read as the text it holds.
    std::vector<BYTE> full(180, ' ');
    full[179] = '3';
    sim::registry::SetValue(kCorrectionKey, "GAMMA_ON/OFF", REG_BINARY, full);
    // A binary number is no decimal text.
    sim::registry::SetValue(kCorrectionKey, "CHROMA_ON/OFF", REG_DWORD, {1, 0, 0, 0});

    LoadCorrectionSettings();

    EXPECT_EQ(correctionSettings.targets[Desktop].on, 3);
    EXPECT_EQ(correctionSettings.targets[Video].on, 1);
}

TEST_F(StoreTest, TriplesAreNeitherReadNorWrittenBeforeTheKindsAreAssigned) {
    AssignKinds(0, 0);
    correctionSettings.palBrightCtrls[0] = {1, 1, 1};
    correctionSettings.palBrightCtrls[1] = {2, 2, 2};
    sim::registry::SetString(kCorrectionKey, "GAMMA_PalBrightCtrls", "5 5 5");
    sim::registry::SetString(kCorrectionKey, "GAMMA_ON/OFF", "1");
    sim::registry::CreateKey(kUtilityKey);

    LoadCorrectionSettings();
    EXPECT_EQ(TargetBrightness(Desktop), nullptr);
    ExpectTriple(&correctionSettings.palBrightCtrls[0], 1, 1, 1);
    ExpectTriple(&correctionSettings.palBrightCtrls[1], 2, 2, 2);
    EXPECT_EQ(correctionSettings.targets[Desktop].on, 1);

    SaveCorrectionSettings();
    EXPECT_EQ(sim::registry::GetString(kCorrectionKey, "GAMMA_PalBrightCtrls"), "5 5 5");
}

TEST_F(StoreTest, OutOfRangeTargetOrKindHasNoTriple) {
    correctionSettings.targets[Desktop].paletteKind = 3;
    correctionSettings.targets[Video].paletteKind = -1;
    EXPECT_EQ(TargetBrightness(Desktop), nullptr);
    EXPECT_EQ(TargetContrast(Video), nullptr);
    EXPECT_EQ(TargetBrightness(2), nullptr);
    EXPECT_EQ(TargetContrast(-1), nullptr);
}

TEST_F(StoreTest, SaveDoesNotRecreateARemovedUtilityKey) {
    LoadCorrectionSettings();
    sim::registry::DeleteKey(kUtilityKey);
    correctionSettings.targets[Desktop].lock = 1;

    SaveCorrectionSettings();

    EXPECT_FALSE(sim::registry::KeyExists(kUtilityKey));
    EXPECT_EQ(sim::registry::GetString(kCorrectionKey, "GAMMA_ON/OFF"), "0");
    EXPECT_EQ(sim::registry::OpenHandleCount(), 0u);
}

TEST_F(StoreTest, ARegistryWithoutFullAccessLeavesMemoryAndStoreAlone) {
    sim::registry::SetString(kCorrectionKey, "GAMMA_ON/OFF", "1");
    sim::registry::SetString(kUtilityKey, "GAMMA_LOCK", "1");
    sim::registry::DenyRights(KEY_SET_VALUE | KEY_CREATE_SUB_KEY);
    correctionSettings.targets[Desktop] = {0, 0, 1, Palette256};

    LoadCorrectionSettings();
    EXPECT_EQ(correctionSettings.targets[Desktop].on, 0);
    EXPECT_EQ(correctionSettings.targets[Desktop].lock, 0);
    EXPECT_EQ(correctionSettings.targets[Desktop].correctionType, 1);

    SaveCorrectionSettings();
    EXPECT_EQ(sim::registry::GetString(kCorrectionKey, "GAMMA_ON/OFF"), "1");
    EXPECT_EQ(sim::registry::GetValue(kCorrectionKey, "GAMMA_CorrectionType"), std::nullopt);
    EXPECT_EQ(sim::registry::OpenHandleCount(), 0u);
}

struct PositionCase {
    const char* stored;
    int left, top;
};

// The position is read into a buffer of 80 bytes: 79 characters and the
// terminator still fit, one more character leaves the position as it was.
const std::string kPositionFillingTheBuffer = "412 230" + std::string(72, ' ');
const std::string kPositionOverTheBuffer = "412 230" + std::string(73, ' ');

class DialogPositionLoad : public ::testing::TestWithParam<PositionCase> {};

TEST_P(DialogPositionLoad, KeepsTheDialogOffTheRightAndBottomEdges) {
    const PositionCase& c = GetParam();
    sim::SetScreenSize(1024, 768);
    dialogPosition = {100, 200, 400, 500};
    if (c.stored != nullptr) {
        sim::registry::SetString(kUtilityKey, "Dialog Position", c.stored);
    }

    LoadDialogPosition();

    EXPECT_EQ(dialogPosition.left, c.left);
    EXPECT_EQ(dialogPosition.top, c.top);
    EXPECT_TRUE(sim::registry::KeyExists(kUtilityKey));
    EXPECT_EQ(sim::registry::OpenHandleCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Stored, DialogPositionLoad,
    ::testing::Values(PositionCase{"412 230", 412, 230}, PositionCase{"2000 2000", 904, 678},
                      PositionCase{"904 678", 904, 678}, PositionCase{"903 677", 903, 677},
                      PositionCase{"-50 -20", -50, -20}, PositionCase{"7", 7, 200},
                      PositionCase{"junk", 100, 200},
                      PositionCase{"99999999999 99999999999", 904, 678},
                      PositionCase{kPositionFillingTheBuffer.c_str(), 412, 230},
                      PositionCase{kPositionOverTheBuffer.c_str(), 100, 200},
                      PositionCase{nullptr, 100, 200}));

} // namespace
