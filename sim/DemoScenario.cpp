#include "DemoScenario.h"

#include "ScenarioParser.h"

namespace quorvane {

std::string DemoScenarioText() {
    return R"(# Quorvane demo radio
delay 2000
loop

# Lakeview County, conventional: scanning, then Fire Dispatch with its tone
step 1500 idle line1="Lakeview County" line2=" Fire \x82 Sheriff" icons1=110000000000000 icons2=11100000000011000
step 2500 hit line1="Lakeview County" line2="Fire Dispatch" freq=01544300 level=188 icons1=110000000000000 icons2=11100000000011000
step 1500 hit cont line1="Fire" level=171
step 1000 hit cont line2="Fire Dispa 156.7"

step 1200 idle line1="Lakeview County" line2=" Fire \x82 Sheriff" icons1=110000000000000 icons2=11100000000011000
step 2000 hit line1="Lakeview County" line2="SO Dispatch" freq=01555950 level=96 icons1=110000000000000 icons2=11100000000011000
step 1000 hit cont line1="Sheriff" level=104
step 1500 hit cont line2="SO D  100.0Hz  \x10"

# Metro Trunk: a talkgroup call
step 1800 idle line1="Metro Trunk" line2="Police \x82 Fire\x81" icons1=100100000000000 icons2=11110000000001000
step 3500 hit line1="Metro Trunk" line2="ID:12345" freq=08561125 level=214 tgid=12345 system="Metro Trunk" group="Police" talkgroup="PD Dispatch" icons1=100100000000000 icons2=11110000000001000

step 1000 idle line1="Lakeview County" line2=" Fire \x82 Sheriff" icons1=110000000000000 icons2=11100000000011000
step 3000 hit line1="Lakeview County" line2="EMS Tac" freq=01553400 level=131 icons1=110000000000000 icons2=11100000000011000
step 1000 hit cont line1="Fire"
step 1000 hit cont line2="EMS   127.3Hz  \x10"

# Harbor, conventional marine channels
step 1400 idle line1="Harbor" line2=" Port" icons1=101000000000000 icons2=11000000000001000
step 2500 hit line1="Harbor" line2="Harbor Ops" freq=01566000 level=67 icons1=101000000000000 icons2=11000000000001000
step 1000 hit cont line1="Port"

step 1600 idle line1="Metro Trunk" line2="Police \x82 Fire\x81" icons1=100100000000000 icons2=11110000000001000
step 3000 hit line1="Metro Trunk" line2="ID:2417" freq=08567375 level=203 tgid=2417 system="Metro Trunk" group="Fire" talkgroup="FD Tac 2" icons1=100100000000000 icons2=11110000000001000

# An alert that waits for a key before the channel shows
step 1200 idle line1="Lakeview County" line2=" Fire \x82 Sheriff" icons1=110000000000000 icons2=11100000000011000
step 3000 hit prompt line1="Lakeview County" line2="SO Car-Car" freq=01558650 level=119 icons1=110000000000000 icons2=11100000000011000
step 1000 hit cont line1="Sheriff"

# Service search: no system icon, the frequency is not stored
step 1500 idle line1=" Service Search" line2="  FRS/GMRS" icons1=000000000000000 icons2=00000000000011000
step 2500 hit line1="  462.5625 NFM" line2="  FRS/GMRS Ch 2" freq=04625625 level=38 icons1=000000000000000 icons2=00000000000011000

step 1000 idle line1="Lakeview County" line2=" Fire \x82 Sheriff" icons1=110000000000000 icons2=11100000000011000
step 2000 hit line1="Lakeview County" line2="Fireground 2" freq=01542800 level=152 icons1=110000000000000 icons2=11100000000011000
step 1000 hit cont line1="Fire"

step 1300 idle line1="Lakeview County" line2=" Fire \x82 Sheriff" icons1=110000000000000 icons2=11100000000011000
step 2500 hit line1="Lakeview County" line2="Jail" freq=04600250 level=74 icons1=110000000000000 icons2=11100000000011000
step 1500 hit cont line1="Sheriff"
step 1000 hit cont line2="Jail   C 023 DCS"

step 1100 idle line1="Harbor" line2=" Port" icons1=101000000000000 icons2=11000000000001000
step 2000 hit line1="Harbor" line2="Bridge \x82 Lock" freq=01566500 level=58 icons1=101000000000000 icons2=11000000000001000
step 1000 hit cont line1="Port"

# Stored memory, read by the harvest
system "Lakeview County"
group "Fire"
channel "Fire Dispatch" 01544300 NFM
channel "Fireground 2" 01542800 NFM
channel "EMS Tac" 01553400 NFM
group "Sheriff"
channel "SO Dispatch" 01555950 NFM
channel "SO Car-Car" 01558650 NFM
channel "Jail" 04600250 NFM
system "Harbor"
group "Port"
channel "Harbor Ops" 01566000 FM
channel "Bridge \x82 Lock" 01566500 FM
)";
}

Scenario DemoScenario() {
    std::string error;
    return ParseScenario(DemoScenarioText(), &error);
}

}  // namespace quorvane
