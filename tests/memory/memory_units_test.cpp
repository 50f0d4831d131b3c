#include <gtest/gtest.h>

#include "memory/MemoryValues.h"

namespace quorvane {
namespace {

using Reader = std::optional<std::string> (*)(std::string_view, std::string*);

// Typed in people's units, read as the scanner's code; nothing: refused.
TEST(MemoryUnits, TonesStepsAndModesTypedAsPeopleWriteThemGiveTheScannersCodes) {
    const struct {
        Reader read;
        const char* typed;
        std::optional<std::string> code;
    } table[] = {
        {ToneCode, "67", "64"},           {ToneCode, "67.0", "64"},        {ToneCode, "67.0 Hz", "64"},
        {ToneCode, "100.0", "76"},        {ToneCode, "100", "76"},         {ToneCode, "100.0 PL", "76"},
        {ToneCode, "CTCSS 88.5 Hz", "72"}, {ToneCode, "254.1", "113"},     {ToneCode, "D023", "128"},
        {ToneCode, "DCS 023", "128"},     {ToneCode, "023 DPL", "128"},    {ToneCode, "d023n", "128"},
        {ToneCode, "023", "128"},         {ToneCode, "131", "149"},        {ToneCode, "754", "231"},
        {ToneCode, "CSQ", "0"},           {ToneCode, "None", "0"},         {ToneCode, "search", "127"},
        {ToneCode, "", ""},               {ToneCode, "67.1", std::nullopt}, {ToneCode, "D024", std::nullopt},
        {ToneCode, "250", std::nullopt},  {ToneCode, "D023I", std::nullopt}, {ToneCode, "127", std::nullopt},
        {ToneCode, "67 kHz", std::nullopt},
        {StepCode, "12.5", "1250"},       {StepCode, "6.25 kHz", "625"},   {StepCode, "5khz", "500"},
        {StepCode, "Auto", "0"},          {StepCode, "100", "10000"},      {StepCode, "", ""},
        {StepCode, "12", std::nullopt},   {StepCode, "1250", std::nullopt}, {StepCode, "0", std::nullopt},
        {ModulationCode, "fm", "FM"},     {ModulationCode, "FMN", "NFM"},  {ModulationCode, "nfm", "NFM"},
        {ModulationCode, "Auto", "AUTO"}, {ModulationCode, "AM", "AM"},    {ModulationCode, "WFM", std::nullopt},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.typed);
        std::string problem;
        EXPECT_EQ(row.read(row.typed, &problem), row.code);
        EXPECT_EQ(problem.empty(), row.code.has_value()) << problem;
    }
    std::string problem;
    StepCode("12", &problem);
    EXPECT_EQ(problem, "\"12\" is not a step the scanner knows (Auto, 5 kHz, 6.25 kHz, 7.5 kHz, 10 kHz, 12.5 kHz, "
                       "15 kHz, 20 kHz, 25 kHz, 50 kHz, 100 kHz, 200 kHz)");
}

// Every choice offered reads back as the code it shows, and every code the
// scanner stores shows as one of the choices.
TEST(MemoryUnits, EveryChoiceReadsBackAsTheCodeItShows) {
    const struct {
        Reader read;
        std::vector<std::string> (*choices)();
        std::string (*shown)(const std::string&);
        std::size_t count;
    } kinds[] = {
        {ToneCode, ToneChoices, ToneUnits, 2 + 50 + 104},
        {StepCode, StepChoices, StepUnits, 12},
        {ModulationCode, ModulationChoices, ModulationUnits, 4},
    };
    for (const auto& kind : kinds) {
        const std::vector<std::string> choices = kind.choices();
        EXPECT_EQ(choices.size(), kind.count);
        for (const std::string& choice : choices) {
            SCOPED_TRACE(choice);
            const std::optional<std::string> code = kind.read(choice, nullptr);
            ASSERT_TRUE(code);
            EXPECT_EQ(kind.shown(*code), choice);
        }
    }
    EXPECT_EQ(ToneUnits("64"), "67.0 Hz");
    EXPECT_EQ(ToneUnits("128"), "DCS 023");
    EXPECT_EQ(ToneUnits("5"), "5");  // not a code: shown as it is, and marked
    EXPECT_EQ(StepUnits("625"), "6.25 kHz");
}

}  // namespace
}  // namespace quorvane
