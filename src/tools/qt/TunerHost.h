#pragma once
#include <QString>
#include <functional>
#include <string>

namespace quorvane {

class SkipList;

// What the Tuner tab needs from the main window.
struct TunerHost {
    // A tuning command the user asked for (refused while the port is closed
    // or a harvest owns the line) and a quick-scan step (dropped while closed).
    std::function<void(const std::string&)> tune;
    std::function<void(const std::string&)> step;
    std::function<bool()> hitActive;    // the scanner is receiving a hit
    std::function<bool()> harvestBusy;  // the quick scan pauses meanwhile
    std::function<void(const QString&, std::function<void()>)> tell;  // a message window
    std::function<void(const QString&)> note;                         // a short note in Text3
    std::function<void()> focusPicture1;
    std::function<bool(const QString&)> openUrl;  // false: no browser could be opened
    SkipList* skipList = nullptr;
};

}  // namespace quorvane
