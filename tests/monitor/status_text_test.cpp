#include "monitor/StatusText.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

TEST(StatusText, ANoteShowsForItsTimeInFrontOfEverythingThenWhatWasThereComesBack) {
    StatusText text;
    text.SetBase("Select COM Port");
    // While stopped a note does not replace the prompt for good.
    text.Note("No web browser could be opened", 0);
    EXPECT_EQ(text.Shown(4999), "No web browser could be opened");
    EXPECT_EQ(text.NextChangeMs(10), std::optional<int64_t>(5000));
    EXPECT_EQ(text.Shown(5000), "Select COM Port");
    EXPECT_EQ(text.NextChangeMs(5000), std::nullopt);
    // Nor is a note swallowed by the link's news; the news comes back after it.
    text.SetBase("Waiting");
    text.SetLinkMessage("No reply");
    EXPECT_EQ(text.Shown(6000), "No reply");
    text.Note("Hit Run first", 6000);
    EXPECT_EQ(text.Shown(6001), "Hit Run first");
    EXPECT_EQ(text.Shown(11000), "No reply");
    text.SetLinkMessage("");
    EXPECT_EQ(text.Shown(11000), "Waiting");
}

TEST(StatusText, AHeldNoteOutlastsShortNotesUntilItIsLetGo) {
    StatusText text;
    text.SetBase("Waiting");
    EXPECT_FALSE(text.LetGo());
    text.Hold("Alert: Fire Dispatch, 154.4300 MHz");
    text.Note("Saved", 0);
    EXPECT_EQ(text.Shown(100), "Saved");
    EXPECT_EQ(text.Shown(60000), "Alert: Fire Dispatch, 154.4300 MHz");
    text.SetLinkMessage("No reply");  // what the link says now comes first
    EXPECT_EQ(text.Shown(60000), "No reply");
    text.SetLinkMessage("");
    EXPECT_TRUE(text.LetGo());
    EXPECT_EQ(text.Shown(60000), "Waiting");
}

}  // namespace
}  // namespace quorvane
