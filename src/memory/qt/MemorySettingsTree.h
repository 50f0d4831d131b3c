#pragma once
#include <QTreeWidget>
#include <optional>
#include <string>

#include "memory/ScannerMemory.h"

namespace quorvane {

// The scanner's global settings as one "Scanner settings" node of a tree:
// a row per setting (the name people know it by, with the scanner's key,
// and its value as the scanner gives it, e.g. "AF" or "SRCH 3,1,2,0,AUTO")
// and one for the locked-out frequencies (MHz, separated by blanks). A
// value is edited in place and checked as the memory file checks it; a
// value with a fault is kept as typed, marked red with its reason, and
// Settings() refuses the node while one is marked.
//
// A memory without settings (a file of the first version, another
// program's file) shows the node empty, saying a write leaves the scanner's
// settings as they are.
class MemorySettingsTree : public QTreeWidget {
    Q_OBJECT
public:
    explicit MemorySettingsTree(QWidget* parent = nullptr);

    void Show(const std::optional<ScannerSettings>& settings);
    // The settings shown; `std::nullopt` in *settings when the memory held
    // none. False while a value is marked, *problem then naming it.
    bool Settings(std::optional<ScannerSettings>* settings, std::string* problem) const;

signals:
    // The user changed a value.
    void Edited();

private:
    void ValueChanged(QTreeWidgetItem* item, int column);

    QTreeWidgetItem* node_ = nullptr;
    std::optional<ScannerSettings> shown_;
    bool showing_ = false;
};

// What a typed value of a setting stands for: the scanner's bytes, or the
// locked-out frequencies as 8 digits each (key kLockedFrequenciesKey); the
// reason in *problem when it is not a value the scanner takes.
inline constexpr const char* kLockedFrequenciesKey = "GLF";
std::optional<std::string> SettingValue(const std::string& key, const std::string& typed, std::string* problem);
std::optional<std::vector<std::string>> LockedFrequencies(const std::string& typed, std::string* problem);

}  // namespace quorvane
