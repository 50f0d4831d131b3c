#include "ScenarioParser.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <set>

#include "DemoScenario.h"

namespace quorvane {
namespace {

TEST(ScenarioParser, ReadsStepsSettingsAndMemory) {
    const std::string text =
        "# a comment\r\n"
        "delay 1500  # after each transmission\r\n"
        "once\n"
        "\n"
        "   step 1200 idle line1=\"County\" line2=\"Fire \\x82 EMS\" icons1=110000000000000 "
        "icons2=11100000000011000111\n"
        "step 3000 hit prompt freq=01544300 line2=\"Dispatch 1\"\n"
        "step 800 hit cont line2=\"Disp\\\\1 \\\"A\\\"\"\n"
        "step 2000\thit line1=Metro freq=08561125 tgid=12345 system=\"Metro Trunk\" group=Police "
        "talkgroup=\"PD \xE9\"\n"
        "system \"County \xFC\"\n"
        "group Fire\n"
        "channel \"Dispatch 1\" 01544300 NFM\n"
        "channel Tac 01542800\n"
        "group \"Empty\"\n"
        "system \"#1 Harbor\" # a quoted '#' is text\n";
    std::string error = "stale";
    const Scenario s = ParseScenario(text, &error);
    ASSERT_EQ(error, "");
    EXPECT_EQ(s.scan_delay_ms, 1500);
    EXPECT_TRUE(s.once);
    ASSERT_EQ(s.steps.size(), 4u);

    const ScanStep& idle = s.steps[0];
    EXPECT_EQ(idle.duration_ms, 1200);
    EXPECT_FALSE(idle.view.receiving);
    EXPECT_EQ(idle.view.line1, "County          ");
    EXPECT_EQ(idle.view.line2, "Fire \x82 EMS      ");
    EXPECT_EQ(idle.view.icons1, "110000000000000");
    EXPECT_EQ(idle.view.icons2, "11100000000011000111");
    EXPECT_EQ(idle.view.frequency, "00000000");

    const ScanStep& hit = s.steps[1];
    EXPECT_TRUE(hit.view.receiving);
    EXPECT_TRUE(hit.prompt);
    EXPECT_FALSE(hit.continues);
    EXPECT_EQ(hit.view.line1, std::string(16, ' '));  // a new step starts blank
    EXPECT_EQ(hit.view.icons1, kIconsOff1);
    EXPECT_EQ(hit.view.frequency, "01544300");

    const ScanStep& cont = s.steps[2];
    EXPECT_TRUE(cont.continues);
    EXPECT_FALSE(cont.prompt);
    EXPECT_EQ(cont.view.frequency, "01544300");  // taken over from the step before
    EXPECT_EQ(cont.view.line2, "Disp\\1 \"A\"      ");

    const RadioView& trunk = s.steps[3].view;
    EXPECT_EQ(trunk.line1, "Metro           ");
    EXPECT_EQ(trunk.tgid, "12345");
    EXPECT_EQ(trunk.system, "Metro Trunk");
    EXPECT_EQ(trunk.group, "Police");
    EXPECT_EQ(trunk.talkgroup, "PD \xE9");

    ASSERT_EQ(s.systems.size(), 2u);
    EXPECT_EQ(s.systems[0].name, "County \xFC");
    ASSERT_EQ(s.systems[0].groups.size(), 2u);
    const StoredGroup& fire = s.systems[0].groups[0];
    ASSERT_EQ(fire.channels.size(), 2u);
    EXPECT_EQ(fire.channels[0].name, "Dispatch 1");
    EXPECT_EQ(fire.channels[0].frequency, "01544300");
    EXPECT_EQ(fire.channels[0].modulation, "NFM");
    EXPECT_EQ(fire.channels[1].modulation, "AUTO");
    EXPECT_TRUE(s.systems[0].groups[1].channels.empty());
    EXPECT_EQ(s.systems[1].name, "#1 Harbor");
    EXPECT_TRUE(s.systems[1].groups.empty());
}

TEST(ScenarioParser, EmptyTextIsALoopingRadioWithDefaultDelay) {
    std::string error = "stale";
    const Scenario s = ParseScenario("", &error);
    EXPECT_EQ(error, "");
    EXPECT_EQ(s.scan_delay_ms, 2000);
    EXPECT_FALSE(s.once);
    EXPECT_TRUE(s.steps.empty());
    EXPECT_TRUE(s.systems.empty());
}

struct BadCase {
    const char* text;
    const char* error;
};

TEST(ScenarioParser, RejectsFaultsWithTheLineAndReason) {
    const BadCase cases[] = {
        {"frobnicate", "line 1: unknown directive 'frobnicate'"},
        {"\n\nstep", "line 3: usage: step"},
        {"step 10", "line 1: usage: step"},
        {"step ten idle", "line 1: step duration must be a number of ms"},
        {"step 0 idle", "line 1: step duration out of range"},
        {"step 99999999999 idle", "line 1: step duration must be a number"},
        {"step 10 busy", "line 1: step mode must be idle or hit"},
        {"step 10 idle cont", "line 1: cont on the first step"},
        {"step 10 idle bogus", "line 1: unknown step word 'bogus'"},
        {"step 10 idle color=red", "line 1: unknown step value 'color'"},
        {"step 10 idle line1=\"12345678901234567\"", "line 1: line1 longer than 16 characters"},
        {"step 10 idle line2=\"a,b\"", "line 1: line2 holds a comma"},
        {"step 10 idle line2=\"a\\x0Db\"", "line 1: line2 holds a carriage return"},
        {"step 10 idle icons1=11111", "line 1: icons1 needs at least 15 flags"},
        {"step 10 idle icons2=1111111111111111x", "line 1: icons2 may hold only 0 and 1"},
        {"step 10 hit freq=1544300", "line 1: frequency must be 8 digits"},
        {"step 10 hit freq=0154430a", "line 1: frequency must be 8 digits"},
        {"step 10 idle line1=\"open", "line 1: unterminated quote"},
        {"step 10 idle line1=\"a\\qb\"", "line 1: unknown escape \\q"},
        {"step 10 idle line1=\"a\\x8\"", "line 1: \\x needs two hex digits"},
        {"step 10 idle line1=\"a\\", "line 1: unterminated quote"},
        {"step 10 idle line1=\"a\"b", "line 1: text straight after a quote"},
        {"step 10 idle line1=a\"b\"", "line 1: quote inside a word"},
        {"step 10 idle =x", "line 1: '=' without a name"},
        {"delay", "line 1: usage: delay MS"},
        {"delay -5", "line 1: delay must be a number of ms"},
        {"once now", "line 1: usage: once"},
        {"group Fire", "line 1: group before any system"},
        {"system S\nchannel C 01544300", "line 2: channel before any group"},
        {"system S\ngroup G\nchannel C", "line 3: usage: channel"},
        {"system S\ngroup G\nchannel C 01544300 USB", "line 3: modulation must be FM, NFM, AM or AUTO"},
        {"system S\ngroup G\nchannel \"A,B\" 01544300", "line 3: channel name holds a comma"},
        {"system", "line 1: usage: system NAME"},
        {"system a=b", "line 1: usage: system NAME"},
        {"line1=x", "line 1: a line starts with a directive"},
    };
    for (const BadCase& c : cases) {
        SCOPED_TRACE(c.text);
        std::string error;
        const Scenario s = ParseScenario(c.text, &error);
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
        EXPECT_TRUE(s.steps.empty());
        EXPECT_TRUE(s.systems.empty());
    }
}

TEST(ScenarioParser, GarbageNeverCrashes) {
    const std::string demo = DemoScenarioText();
    std::mt19937 random(246);
    for (int round = 0; round < 2000; ++round) {
        std::string text = demo.substr(0, random() % demo.size());
        for (int flips = random() % 4; flips > 0 && !text.empty(); --flips)
            text[random() % text.size()] = static_cast<char>(random() % 256);
        std::string error;
        const Scenario s = ParseScenario(text, &error);
        if (!error.empty()) {
            EXPECT_EQ(error.rfind("line ", 0), 0u) << error;
        }
        for (const ScanStep& step : s.steps) {
            EXPECT_EQ(step.view.line1.size(), 16u);
            EXPECT_EQ(step.view.line2.size(), 16u);
        }
    }
}

TEST(ScenarioParser, DemoHasTrafficAndAMemoryThatNamesIt) {
    std::string error;
    const Scenario demo = ParseScenario(DemoScenarioText(), &error);
    ASSERT_EQ(error, "");
    std::set<std::string> heard_conventional;
    bool trunked = false;
    bool prompt = false;
    int run_ms = 0;
    for (std::size_t i = 0; i < demo.steps.size(); ++i) {
        const ScanStep& step = demo.steps[i];
        if (!step.view.receiving) continue;
        if (step.view.group.empty()) heard_conventional.insert(step.view.frequency);
        else trunked = true;
        prompt = prompt || step.prompt;
        run_ms = step.continues ? run_ms + step.duration_ms : step.duration_ms;
        const bool last_of_transmission = i + 1 == demo.steps.size() || !demo.steps[i + 1].continues;
        if (last_of_transmission) {
            EXPECT_GE(run_ms, 2000) << "step " << i;
            EXPECT_LE(run_ms, 6000) << "step " << i;
        }
    }
    EXPECT_TRUE(trunked);
    EXPECT_TRUE(prompt);
    ASSERT_EQ(demo.systems.size(), 2u);
    std::size_t groups = 0;
    std::size_t channels = 0;
    for (const StoredSystem& system : demo.systems) {
        groups += system.groups.size();
        for (const StoredGroup& group : system.groups) {
            channels += group.channels.size();
            for (const StoredChannel& channel : group.channels)
                EXPECT_TRUE(heard_conventional.count(channel.frequency)) << channel.name;
        }
    }
    EXPECT_EQ(groups, 3u);
    EXPECT_EQ(channels, 8u);
}

TEST(ScenarioParser, LoadsAFileAndReportsAMissingOne) {
    const std::string path = ::testing::TempDir() + "/scenario_parser_test.txt";
    std::ofstream(path, std::ios::binary) << "delay 700\nstep 100 hit freq=01544300\n";
    std::string error = "stale";
    const Scenario s = LoadScenarioFile(path, &error);
    EXPECT_EQ(error, "");
    EXPECT_EQ(s.scan_delay_ms, 700);
    ASSERT_EQ(s.steps.size(), 1u);

    LoadScenarioFile(path + ".missing", &error);
    EXPECT_NE(error.find("cannot read"), std::string::npos);
    LoadScenarioFile(::testing::TempDir(), &error);
    EXPECT_NE(error.find("cannot read"), std::string::npos);
}

}  // namespace
}  // namespace quorvane
