// The close request's decision table, the check box's effect whatever the answer, what the exit
// question leaves behind, and that questions never stack.
#include "app/CloseRequest.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

class QuestionHost : public CloseRequestHost {
public:
    bool frameVisible() const override { return frame; }
    void setFrameVisible(bool visible) override { frame = visible; }
    bool hotkeysEnabled() const override { return hotkeys; }
    void setHotkeysEnabled(bool enabled) override { hotkeys = enabled; }
    void disableTrayMenu() override { trayEnabled = false; }
    void enableTrayMenu() override { trayEnabled = true; }
    void repaintRemote() override { ++repaints; }

    ExitQuestionAnswer askExitQuestion(const std::string& caption) override
    {
        captions.push_back(caption);
        seenWhileAsking.push_back({frame, hotkeys, trayEnabled});
        if (whileAsking) {
            whileAsking();
        }
        return answer;
    }
    void abandonExitQuestion() override { abandoned = true; }

    struct Seen {
        bool frame, hotkeys, trayEnabled;
    };
    bool frame = true;
    bool hotkeys = true;
    bool trayEnabled = true;
    int repaints = 0;
    ExitQuestionAnswer answer;
    bool abandoned = false;
    std::function<void()> whileAsking;
    std::vector<std::string> captions;
    std::vector<Seen> seenWhileAsking;
};

} // namespace

TEST(CloseRequest, AsksOnlyWhenConfirmationIsOnAndTheCaptureIsUnsaved)
{
    for (bool confirmation : {false, true}) {
        for (bool notSaved : {false, true}) {
            for (bool yes : {false, true}) {
                for (bool ticked : {false, true}) {
                    SCOPED_TRACE(testing::Message() << "confirmation " << confirmation << " notSaved " << notSaved
                                                    << " yes " << yes << " ticked " << ticked);
                    QuestionHost host;
                    host.answer = {yes, ticked};
                    CloseRequest request(host);
                    bool exitConfirmation = confirmation;
                    const bool granted = request.granted(exitConfirmation, notSaved);

                    const bool asks = confirmation && notSaved;
                    EXPECT_EQ(host.captions.size(), asks ? 1u : 0u);
                    EXPECT_EQ(granted, !asks || yes);
                    // The box decides the confirmation from now on, "&Yes" or "&No" alike.
                    EXPECT_EQ(exitConfirmation, asks ? !ticked : confirmation);
                    EXPECT_TRUE(host.trayEnabled);
                    EXPECT_TRUE(host.hotkeys);
                }
            }
        }
    }
}

TEST(CloseRequest, TheQuestionRunsInsideTheBracketAndARefusalRestoresTheFrame)
{
    QuestionHost host;
    host.answer = {false, true};
    CloseRequest request(host);
    bool exitConfirmation = true;
    EXPECT_FALSE(request.granted(exitConfirmation, true));
    ASSERT_EQ(host.captions, std::vector<std::string>{"Zentrap"});
    const auto& seen = host.seenWhileAsking.front();
    EXPECT_FALSE(seen.frame);
    EXPECT_FALSE(seen.hotkeys);
    EXPECT_FALSE(seen.trayEnabled);
    EXPECT_TRUE(host.frame);
    EXPECT_EQ(host.repaints, 1);
    EXPECT_TRUE(host.hotkeys);

    // The box was ticked: the next request ends the program without a question.
    EXPECT_TRUE(request.granted(exitConfirmation, true));
    EXPECT_EQ(host.captions.size(), 1u);
}

TEST(CloseRequest, AnAcceptedExitLeavesTheFrameHiddenAndKeepsTheHotkeysSetting)
{
    QuestionHost host;
    host.answer = {true, false};
    CloseRequest request(host);
    bool exitConfirmation = true;
    EXPECT_TRUE(request.granted(exitConfirmation, true));
    EXPECT_FALSE(host.frame);
    EXPECT_EQ(host.repaints, 0);
    // The hotkeys' enabled state is saved at exit: the question must not switch it off for good.
    EXPECT_TRUE(host.hotkeys);
    EXPECT_TRUE(exitConfirmation);
}

TEST(CloseRequest, ASecondRequestWhileTheQuestionIsOpenIsRefusedWithoutAnotherQuestion)
{
    QuestionHost host;
    host.answer = {false, false};
    CloseRequest request(host);
    bool exitConfirmation = true;
    bool inner = true;
    host.whileAsking = [&] {
        bool innerConfirmation = true;
        inner = request.granted(innerConfirmation, true);
    };
    EXPECT_FALSE(request.granted(exitConfirmation, true));
    EXPECT_FALSE(inner);
    EXPECT_EQ(host.captions.size(), 1u);
    EXPECT_FALSE(request.questionOpen());
}

TEST(CloseRequest, EndingTheSessionClosesTheQuestionAndEndsWithoutAsking)
{
    QuestionHost host;
    host.answer = {false, true};
    CloseRequest request(host);
    host.whileAsking = [&] { request.endWithoutAsking(); };
    bool exitConfirmation = true;
    EXPECT_TRUE(request.granted(exitConfirmation, true));
    EXPECT_TRUE(host.abandoned);
    // Nobody answered: the confirmation stays as it was.
    EXPECT_TRUE(exitConfirmation);
    EXPECT_TRUE(host.hotkeys);

    QuestionHost later;
    CloseRequest ended(later);
    ended.endWithoutAsking();
    EXPECT_TRUE(ended.granted(exitConfirmation, true));
    EXPECT_TRUE(later.captions.empty());
    EXPECT_FALSE(later.abandoned);
}
