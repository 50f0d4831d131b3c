#pragma once
// Scenario files: the radio a simulator plays, as plain 8-bit text.
//
// One directive per line; words are separated by blanks or tabs; a word that
// starts with '#' starts a comment that runs to the end of the line; empty
// lines are skipped; CR LF line ends are accepted. A text with blanks is written in double quotes; in a
// quoted text \xHH stands for any byte (e.g. \x82, \x10), \\ for a backslash
// and \" for a quote. Bytes 0x80-0xFF may also be written as they are. Texts
// cannot hold a comma or a carriage return (they would split a reply).
//
//   delay MS            scan delay: after a transmission ends the radio stays
//                       on the channel this long, squelch closed, display,
//                       frequency and talkgroup unchanged (default 2000)
//   once                play the steps once, then stay on the last one
//   loop                play the steps over and over (the default)
//   step MS MODE [cont] [prompt] [KEY=VALUE ...]
//                       MS milliseconds of MODE "idle" (scanning, squelch
//                       closed) or "hit" (a transmission is received).
//                       cont:   continues the previous step (starts from its
//                               values; no scan delay between the two)
//                       prompt: line 2 reads " Press Any Key  " until the E key
//                       line1=, line2=  display lines, up to 16 characters,
//                                       padded with blanks
//                       icons1=, icons2= icon flags, at least 15 and 17 of 0/1
//                       freq=           8 digits: MHz in 4, 100 Hz units in 4
//                       tgid=, system=, group=, talkgroup=  talkgroup reply
//                                       (left empty on a conventional channel)
//   system NAME         a stored system
//   group NAME          a group of the last system
//   channel NAME DIGITS [MOD]  a channel of the last group; MOD is FM, NFM,
//                       AM or AUTO (the default)
//
// Example:
//   delay 2000
//   step 1500 idle line1="County Fire" line2="  Scanning...  " icons1=110000000000000
//   step 3000 hit line2="Dispatch 1" freq=01544300
//   step 1000 hit cont line2="Dispatch 1 100.0"
//   system "County Fire"
//   group "Fire"
//   channel "Dispatch 1" 01544300 NFM
#include <string>

#include "Scenario.h"

namespace quorvane {

// The scenario the text describes. On a fault: an empty scenario and *error
// set to "line N: what is wrong"; on success *error is cleared.
Scenario ParseScenario(const std::string& text, std::string* error);

// Reads and parses a scenario file; *error also reports a file that cannot be read.
Scenario LoadScenarioFile(const std::string& path, std::string* error);

}  // namespace quorvane
