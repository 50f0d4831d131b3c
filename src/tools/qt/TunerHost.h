#pragma once
#include <QString>
#include <functional>
#include <string>

namespace quorvane {

class ScannerLink;
class SkipList;

// What the Tuner tab needs from the rest of the program.
struct TunerHost {
    // A tuning command the user asked for, played as keys are (refused while
    // the port is closed or a harvest owns the line).
    std::function<void(const std::string&)> tune;
    // The quick scan's steps go straight to the line (dropped while closed;
    // the scan pauses while a harvest or memory programming has the line).
    ScannerLink* link = nullptr;
    std::function<bool()> hitActive;    // the scanner is receiving a hit
    std::function<void(const QString&, std::function<void()>)> tell;  // a message window
    std::function<void(const QString&)> note;                         // a short note in Text3
    std::function<void()> focusPicture1;
    std::function<bool(const QString&)> openUrl;  // false: no browser could be opened
    SkipList* skipList = nullptr;
};

}  // namespace quorvane
