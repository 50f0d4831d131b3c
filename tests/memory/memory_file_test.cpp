#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "memory/MemoryFile.h"
#include "memory/MemoryValidation.h"
#include "memory/MemoryValues.h"
#include "memory/MemoryTestData.h"

namespace quorvane {
namespace {

// A memory with every field of every record set, and names holding the bytes
// the scanner's display uses (0x10, 0x82) and the top of the byte range.
ScannerMemory EveryField() {
    ScannerMemory memory = test::SmallMemory();
    Channel& disp = memory.systems[0].groups[0].channels[0];
    disp.fields = {"Disp \x82\x10\xFF", "01544300", "1250", "AM", "72", "1", "1", "1", "1", "1"};
    memory.systems[0].fields = {"County", "3", "255", "1", "1", "5", "1", "1"};
    memory.systems[0].groups[0].fields = {"Fire", "0", "1"};
    System& metro = memory.systems[1];
    metro.type = "M82C";
    metro.trunk = {"1",        "1",   "1",   "1",        "1",   "1",   "16",       "0123ABCE", "01550000",
                   "500",      "380", "01570000", "625", "436", "01600000", "750",      "454"};
    for (std::size_t at = 0; at < metro.bandPlan.size(); ++at)
        metro.bandPlan[at] = at % 4 < 2 ? "0" + std::to_string(8510000 + at) : at % 4 == 2 ? "2500" : "-12";
    metro.sites[0].frequencies[0].fields = {"08510125", "7"};
    metro.groups[0].talkgroups[0].fields = {"PD", "01-123", "1", "1"};
    return WithoutIndexes(memory);
}

TEST(MemoryFile, RoundTripsEveryFieldAndByte) {
    const ScannerMemory memory = EveryField();
    const std::string text = WriteMemoryJson(memory);
    std::string problem;
    const std::optional<ScannerMemory> back = ReadMemoryJson(text, "m.json", &problem);
    ASSERT_TRUE(back) << problem;
    EXPECT_EQ(*back, memory);
    for (const char* form : {"\"frequency\": \"154.4300\"", "\"name\": \"Disp \u201A\u25B6\u00FF\"", "\"tone\": 72",
                             "\"toneLockout\": true", "\"quickKey\": \"0\"", "\"offset\": -12", "\"base\": \"155.0000\"",
                             "\"tgid\": \"01-123\"", "\"type\": \"M82C\""})
        EXPECT_NE(text.find(form), std::string::npos) << form;

    std::string bytes;
    for (int byte = 0; byte < 256; ++byte) bytes += static_cast<char>(byte);
    EXPECT_EQ(ScannerBytes(ScannerText(bytes)), bytes);
    // Values left out are the scanner's defaults: a hand-written file needs little.
    const auto minimal = ReadMemoryJson(R"({"model":"BC246T","systems":[{"name":"S","type":"CNV","groups":[
        {"name":"G","channels":[{"name":"C","frequency":"154.43"}]}]}]})", "m.json", &problem);
    ASSERT_TRUE(minimal) << problem;
    EXPECT_EQ(minimal->systems[0].groups[0].channels[0].fields,
              (Fields{"C", "01544300", "", "", "", "", "", "", "", ""}));
}

TEST(MemoryFile, ReadingNamesTheFirstProblemAndItsPlace) {
    const std::string head = R"({"model":"BC246T","systems":[{"name":"S","type":"CNV","groups":[{"name":"G",)";
    const struct {
        std::string text;
        std::string problem;
    } table[] = {
        {"{\"model\":", "m.json: not JSON: parse error at line 1, column 10"},
        {R"({"model":"BC246T"})", "m.json: \"systems\" is missing"},
        {R"({"model":"BC246T","systems":[{"name":"S"}]})", "m.json: system 1 \"S\": \"type\" is missing"},
        {head + R"("channels":[{"name":"C","frequency":"154.43001"}]}]}]})",
         "m.json: system 1 \"S\" group 1 \"G\" channel 1 \"C\": \"frequency\" is \"154.43001\", not MHz text"},
        {head + R"("channels":[{"name":"C","frequency":154.43}]}]}]})",
         "m.json: system 1 \"S\" group 1 \"G\" channel 1 \"C\": \"frequency\" must be MHz text"},
        {head + R"("channels":[{"name":"C","frequency":"154.43","lockout":1}]}]}]})",
         "m.json: system 1 \"S\" group 1 \"G\" channel 1 \"C\": \"lockout\" must be true or false"},
        {head + R"("channels":[{"name":"C","frequency":"154.43","tone":12345678901}]}]}]})",
         "m.json: system 1 \"S\" group 1 \"G\" channel 1 \"C\": \"tone\" is 12345678901, far beyond any setting"},
        {head + R"("channels":[{"name":"C","frequency":"154.43","hold":2}]}]}]})",
         "m.json: system 1 \"S\" group 1 \"G\" channel 1 \"C\": unknown field \"hold\""},
        {head + R"("channels":[{"name":"C\ud83d\ude00","frequency":"154.43"}]}]}]})",
         "m.json: system 1 \"S\" group 1 \"G\" channel 1: \"name\" holds U+1F600, which the scanner cannot store"},
        {head + R"("channels":[],"talkgroups":[]}]}]})",
         "m.json: system 1 \"S\" group 1 \"G\": a group holds either \"channels\" or \"talkgroups\""},
        {head + R"("channels":[{"frequency":"154.43"}]}]}]})",
         "m.json: system 1 \"S\" group 1 \"G\" channel 1: \"name\" is missing"},
    };
    for (const auto& row : table) {
        std::string problem;
        EXPECT_FALSE(ReadMemoryJson(row.text, "m.json", &problem)) << row.text;
        EXPECT_EQ(problem.substr(0, row.problem.size()), row.problem);
    }
}

// The example shipped beside the schema is a file the scanner takes.
TEST(MemoryFile, TheExampleFileReadsAndIsValid) {
    std::ifstream file(QUORVANE_DATA_DIR "/quorvane-memory.example.json", std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::string problem;
    const std::optional<ScannerMemory> memory = ReadMemoryJson(text, "example", &problem);
    ASSERT_TRUE(memory) << problem;
    EXPECT_EQ(ValidateMemory(*memory, "example"), std::vector<std::string>{});
    EXPECT_EQ(RecordCount(*memory), 18u);
}

}  // namespace
}  // namespace quorvane
