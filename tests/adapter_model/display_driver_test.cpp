// The board's display driver: its default answers and the replies tests set.
#include "platform/adapter_model/display_driver.h"

#include <gtest/gtest.h>

using adapter_model::DisplayDriver;
using adapter_model::EscapeReply;

namespace {

TEST(DisplayDriver, DefaultsToASupportedBoard) {
    DisplayDriver driver;
    uint8_t id[4] = {};
    uint32_t error = 0;
    EXPECT_GT(driver.Escape(3, "IC", 0, nullptr, &error), 0);
    ASSERT_GT(driver.Escape(3, "ID", 4, id, &error), 0);
    EXPECT_GE(id[2] | id[3] << 8, 0x5D17);
    uint8_t vg[12] = {};
    EXPECT_GT(driver.Escape(3, "VG", sizeof vg, vg, &error), 0);
    EXPECT_EQ(driver.Escape(3, "ZZ", 0, nullptr, &error), 0);
}

TEST(DisplayDriver, ReplyIsCopiedUpToTheOutputSizeAndErrorsCarryTheirCode) {
    DisplayDriver driver;
    driver.SetReply("BV", {-1, {9, 8, 7, 6, 5}, 0x57});
    uint8_t out[6] = {0, 0, 0, 0, 0, 0xEE};
    uint32_t error = 0;
    EXPECT_EQ(driver.Escape(3, "BV", 4, out, &error), -1);
    EXPECT_EQ(error, 0x57u);
    // The bytes arrive even on failure: a caller must look at the result.
    EXPECT_EQ(out[3], 6);
    EXPECT_EQ(out[4], 0);
    EXPECT_EQ(out[5], 0xEE);

    driver.ImplementNothing();
    error = 0;
    EXPECT_EQ(driver.Escape(3, "IC", 0, nullptr, &error), 0);
    EXPECT_EQ(error, 0u);

    ASSERT_EQ(driver.Calls().size(), 2u);
    EXPECT_EQ(driver.Calls()[0].code, "BV");
    EXPECT_EQ(driver.Calls()[0].input, (std::vector<uint8_t>{'B', 'V', 0}));
    EXPECT_EQ(driver.Calls()[0].outputSize, 4);
    EXPECT_FALSE(driver.Calls()[1].outputGiven);
}

} // namespace
