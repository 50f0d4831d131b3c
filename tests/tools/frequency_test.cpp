#include <gtest/gtest.h>

#include "tools/Frequency.h"
#include "tools/LicenceLookup.h"
#include "tools/QuickScan.h"

namespace quorvane {
namespace {

// Typed text, its scanner digits, and the quick-scan entry the same text
// makes as a list line ("" where the line is not accepted).
TEST(PadFrequency, GivesTheScannerDigitsAndTheQuickScanEntry) {
    struct Case { const char* typed; const char* digits; const char* entry; };
    const Case cases[] = {
        {"162.55", "01625500", "01625500 FM"},     {"855.2375", "08552375", "08552375 FM"},
        {"1240.0", "12400000", "12400000 FM"},     {"12345.6", "123456000", "123456000 FM"},
        {"462.56250", "046256250", "046256250 FM"}, {".5", "00005000", "00005000 FM"},
        {"162.", "01620000", "01620000 FM"},       {"1.2.3", "00012000", "00012000 FM"},
        {"155.475 nfm", "0155475 nfm", "01554750 NFM"}, {"121.5 AM", "01215 AM", "01215000 AM"},
        {"154.43 Nfm", "015443 Nfm", "01544300 FM"},    {"154.43 am x", "015443 am x", "01544300 AM"},
        {"155.475  nfm", "0155475  nfm", "01554750 FM"},  // two spaces: the word is empty
        {"hello", "hello0000", ""},                 {"162", "01620000", ""},
        {"", "00000000", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PadFrequency(c.typed), c.digits) << c.typed;
        const auto entry = ParseQuickScanLine(c.typed);
        EXPECT_EQ(entry ? entry->digits + " " + entry->modulation : "", c.entry) << c.typed;
    }
}

TEST(DirectEntry, TuneCommandAndLicenceAddressFollowTheTypedTextAndTheLists) {
    EXPECT_EQ(DirectTuneCommand("162.55", 1), "QSH,01625500,0,NFM,0,.,.,.,.,.");
    EXPECT_EQ(DirectTuneCommand("855.2375", 2), "QSH,08552375,0,AM,0,.,.,.,.,.");
    EXPECT_EQ(DirectTuneCommand("162.55", -1), "QSH,01625500,0,,0,.,.,.,.,.");
    EXPECT_EQ(DirectTuneCommand("162", 0), std::nullopt);
    const std::string query = "http://gullfoss2.fcc.gov/cgi-bin/ws.exe/genmen/uls/freq_st_res.hts?db_id=19&rows=0";
    EXPECT_EQ(LicenceLookupAddress("162.55", 55), query + "&state=WY&freq=162.55");
    EXPECT_EQ(LicenceLookupAddress(" 451.0 x", 0), query + "&state=AK&freq= 451.0 x");
    EXPECT_EQ(LicenceLookupAddress("451.0", -1), query + "&state=&freq=451.0");
    EXPECT_EQ(LicenceLookupAddress("162", 37), std::nullopt);
    EXPECT_EQ(kStateCodes[37], "NY");
}

}  // namespace
}  // namespace quorvane
