#pragma once
#include <optional>

namespace quorvane {

// Who uses the scanner's line. The poll and the quick scan only send; the
// key queue holds the line while a key sequence plays (its waits included),
// the harvest and memory programming hold it for their whole run.
enum class LineUser { Poll, Keys, QuickScan, Harvest, Memory };

enum class Grant {
    Go,      // send now (a user that holds lines holds it from here on)
    Wait,    // not now: ask again later, keep your place
    Refuse,  // not while the holder has it: drop the request
};

// Whether asker may use the line while holder (none: free) has it:
//
//   holder \ asker | Poll  Keys    QuickScan Harvest Memory
//   free           | Go    Go      Go        Go      Go
//   Keys           | Wait  Go      Go        Go*     Go*
//   Harvest        | Wait  Refuse  Wait      Go      Refuse
//   Memory         | Wait  Refuse  Wait      Refuse  Go
//
// * takes the line over: the keys not yet sent are dropped, so no key
//   press reaches a scanner in programming mode.
Grant GrantLine(std::optional<LineUser> holder, LineUser asker);

// Whether a user, once granted the line, holds it until it lets go.
bool HoldsLine(LineUser user);

// Whether a user puts the scanner in Program Mode while it holds the line
// (the harvest, memory programming): the poll rests meanwhile, a silent
// line is not taken for a lost one (the scanner may be busy for seconds),
// and letting go of the line sends "EPG" when "PRG" went out.
bool PutsInProgramMode(LineUser user);

// Whether letting go after user presses Scan after "EPG": the scanner leaves
// Program Mode on Scan Hold, and memory programming puts it back to scanning
// (whether it was cannot be told from its replies; scanning is the station's
// usual state). The harvest ends on "EPG" as it always has.
bool ScansAfterProgramMode(LineUser user);

}  // namespace quorvane
