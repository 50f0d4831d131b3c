#include "memory/qt/MemorySettingsTree.h"

#include <QColor>
#include <QRegularExpression>
#include <QStringList>
#include <cstdio>

#include "memory/MemorySettings.h"
#include "memory/MemoryValues.h"

namespace quorvane {
namespace {

constexpr int kSettingColumn = 0, kValueColumn = 1;
constexpr int kKeyRole = Qt::UserRole;
const QColor kMarked(255, 200, 200);

// The name people know a setting by, from the scanner's key.
QString Label(const std::string& key) {
    static const struct {
        const char* key;
        const char* label;
    } kLabels[] = {{"BLT", "Backlight"},       {"BSV", "Battery save"},  {"KBP", "Key beep and lock"},
                   {"OMS", "Opening message"}, {"PRI", "Priority mode"}, {"SCO", "Search and Close Call options"},
                   {"CLC", "Close Call"},      {"CSG", "Custom search ranges on"},
                   {"WPR", "Weather priority"}, {"QSL", "System quick keys on"},
                   {kLockedFrequenciesKey, "Locked-out frequencies (MHz)"}};
    for (const auto& each : kLabels)
        if (key == each.key) return QString("%1 (%2)").arg(each.label, each.key);
    if (key.rfind("CSP,", 0) == 0) {
        const int range = key.back() == '0' ? 10 : key.back() - '0';
        return QString("Custom search range %1 (%2)").arg(range).arg(QString::fromStdString(key));
    }
    if (key.rfind("SGP,", 0) == 0) return QString("Search group %1 (%2)").arg(key.back()).arg(QString::fromStdString(key));
    return QString::fromStdString(key);
}

}  // namespace

std::optional<std::string> SettingValue(const std::string& key, const std::string& typed, std::string* problem) {
    char32_t bad = 0;
    const std::optional<std::string> bytes = ScannerBytes(typed, &bad);
    if (!bytes) {
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(bad));
        *problem = Label(key).toStdString() + " holds " + code + ", which the scanner cannot store";
        return std::nullopt;
    }
    if (const std::string why = SettingProblem(key, *bytes); !why.empty()) {
        *problem = Label(key).toStdString() + ": " + why;
        return std::nullopt;
    }
    return bytes;
}

std::optional<std::vector<std::string>> LockedFrequencies(const std::string& typed, std::string* problem) {
    std::vector<std::string> frequencies;
    for (const QString& each : QString::fromStdString(typed).split(QRegularExpression("[\\s,;]+"), Qt::SkipEmptyParts)) {
        const std::optional<std::string> digits = FrequencyDigits(each.toStdString());
        if (!digits || !InScannerBands(*digits)) {
            *problem = "locked-out frequency \"" + each.toStdString() + "\" is not MHz within the scanner's bands (" +
                       ScannerBandsText() + ")";
            return std::nullopt;
        }
        frequencies.push_back(*digits);
    }
    return frequencies;
}

MemorySettingsTree::MemorySettingsTree(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(2);
    setHeaderLabels({"Setting", "Value"});
    setColumnWidth(kSettingColumn, fontMetrics().horizontalAdvance("Search and Close Call options (SCO)") + 40);
    setEditTriggers(DoubleClicked | EditKeyPressed | AnyKeyPressed);
    setUniformRowHeights(true);
    setAlternatingRowColors(true);
    node_ = new QTreeWidgetItem(this, {"Scanner settings"});
    connect(this, &QTreeWidget::itemChanged, this, &MemorySettingsTree::ValueChanged);
}

void MemorySettingsTree::Show(const std::optional<ScannerSettings>& settings) {
    showing_ = true;
    shown_ = settings;
    qDeleteAll(node_->takeChildren());
    if (!settings) {
        node_->setText(kValueColumn, "not in this memory: a write leaves the scanner's settings as they are");
    } else {
        node_->setText(kValueColumn, {});
        const auto add = [this](const std::string& key, const QString& value) {
            auto* row = new QTreeWidgetItem(node_, {Label(key), value});
            row->setData(kSettingColumn, kKeyRole, QString::fromStdString(key));
            row->setFlags(row->flags() | Qt::ItemIsEditable);
        };
        for (const std::string& key : GlobalSettingKeys()) {
            const auto value = settings->values.find(key);
            if (value != settings->values.end()) add(key, QString::fromStdString(ScannerText(value->second)));
        }
        if (settings->lockoutsKnown) {
            QStringList frequencies;
            for (const std::string& digits : settings->lockedFrequencies)
                frequencies << QString::fromStdString(FrequencyMhzText(digits));
            add(kLockedFrequenciesKey, frequencies.join(' '));
        }
    }
    node_->setExpanded(false);
    showing_ = false;
}

void MemorySettingsTree::ValueChanged(QTreeWidgetItem* item, int column) {
    if (showing_ || column != kValueColumn || item == node_) return;
    std::string problem;
    const std::string key = item->data(kSettingColumn, kKeyRole).toString().toStdString();
    const std::string typed = item->text(kValueColumn).toStdString();
    const bool fine = key == kLockedFrequenciesKey ? LockedFrequencies(typed, &problem).has_value()
                                                   : SettingValue(key, typed, &problem).has_value();
    showing_ = true;
    item->setBackground(kValueColumn, fine ? QBrush() : QBrush(kMarked));
    item->setToolTip(kValueColumn, QString::fromStdString(problem));
    showing_ = false;
    emit Edited();
}

bool MemorySettingsTree::Settings(std::optional<ScannerSettings>* settings, std::string* problem) const {
    *settings = shown_;
    if (!shown_) return true;
    for (int at = 0; at < node_->childCount(); ++at) {
        const QTreeWidgetItem* row = node_->child(at);
        const std::string key = row->data(kSettingColumn, kKeyRole).toString().toStdString();
        const std::string typed = row->text(kValueColumn).toStdString();
        std::string why;
        if (key == kLockedFrequenciesKey) {
            const std::optional<std::vector<std::string>> frequencies = LockedFrequencies(typed, &why);
            if (frequencies) (*settings)->lockedFrequencies = *frequencies;
        } else if (const std::optional<std::string> value = SettingValue(key, typed, &why)) {
            (*settings)->values[key] = *value;
        }
        if (!why.empty()) {
            *problem = "Scanner settings: " + why;
            return false;
        }
    }
    return true;
}

}  // namespace quorvane
