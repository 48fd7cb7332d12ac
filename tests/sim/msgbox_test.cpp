// Message boxes: recording, scripted answers, the answer hook and the loud
// failure of a box nobody answers.
#include <gtest/gtest.h>

#include <string>

#include "platform/sim/win32_sim.h"

namespace {

TEST(MessageBoxSim, RecordsEveryBoxWithItsAnswerInOrder) {
    sim::msgbox::QueueAnswer(IDNO);
    sim::msgbox::QueueAnswer(0);
    sim::msgbox::QueueAnswer(IDOK);
    auto owner = reinterpret_cast<HWND>(0x1234);

    EXPECT_EQ(MessageBoxEx(owner, "Caf\xE9 ?", "Title", MB_YESNO | MB_ICONSTOP, 1036), IDNO);
    EXPECT_EQ(MessageBoxEx(nullptr, "fails", "Title", MB_YESNO, 1031), 0);
    EXPECT_EQ(MessageBox(nullptr, "plain", nullptr, MB_OK), IDOK);

    const auto& shown = sim::msgbox::Shown();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].owner, owner);
    EXPECT_EQ(shown[0].text, "Caf\xE9 ?");
    EXPECT_EQ(shown[0].caption, "Title");
    EXPECT_EQ(shown[0].type, 0x14u);
    EXPECT_EQ(shown[0].languageId, 1036);
    EXPECT_EQ(shown[0].result, IDNO);
    EXPECT_EQ(shown[1].result, 0);
    // MessageBox is the neutral-language form; no caption shows "Error".
    EXPECT_EQ(shown[2].languageId, 0);
    EXPECT_EQ(shown[2].caption, "Error");
    EXPECT_EQ(sim::msgbox::PendingAnswers(), 0u);
    EXPECT_EQ(sim::OperationLog().back(), "MessageBoxEx \"Error\" style 0 lang 0 -> 1");
}

TEST(MessageBoxSim, AnswerSourceReplacesTheQueueAndSeesTheBox) {
    sim::msgbox::QueueAnswer(IDNO);
    std::string seen;
    sim::msgbox::SetAnswerSource([&seen](const sim::msgbox::Box& box) {
        seen = box.text;
        return IDYES;
    });
    EXPECT_EQ(MessageBoxEx(nullptr, "asked", "T", MB_YESNO, 0), IDYES);
    EXPECT_EQ(seen, "asked");
    EXPECT_EQ(sim::msgbox::PendingAnswers(), 1u);

    sim::msgbox::SetAnswerSource(nullptr);
    EXPECT_EQ(MessageBoxEx(nullptr, "queued", "T", MB_YESNO, 0), IDNO);
}

TEST(MessageBoxSimDeathTest, BoxWithoutAnswerAbortsNamingItsText) {
    EXPECT_DEATH(MessageBoxEx(nullptr, "Nobody answers me", "T", MB_YESNO, 0),
                 "no answer queued.*\n.*\n.*Nobody answers me");
}

TEST(MessageBoxSimDeathTest, AnswerThatIsNoButtonOfTheBoxAborts) {
    sim::msgbox::QueueAnswer(IDOK);
    EXPECT_DEATH(MessageBoxEx(nullptr, "Yes or no", "T", MB_YESNO, 0), "answer 1 is not a button");
}

} // namespace
