#include "memory/ChannelCsv.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <stdexcept>
#include <vector>

#include "base/Csv.h"
#include "base/Fields.h"
#include "memory/MemoryFields.h"
#include "memory/MemoryValidation.h"
#include "memory/MemoryValues.h"
#include "base/AsciiCase.h"
#include "base/Trim.h"

namespace quorvane {
namespace {

constexpr const char* kSystemColumn = "system";
constexpr const char* kGroupColumn = "group";

// The first problem of an import: thrown where it is found, caught once.
struct CsvProblem : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] void Fail(std::size_t line, const std::string& what) {
    throw CsvProblem("line " + std::to_string(line) + ": " + what);
}

// ----- writing -----

std::string CellOf(const FieldRule& field, const std::string& value) {
    if (value.empty()) return {};
    switch (field.kind) {
        case FieldKind::Frequency:
            return FrequencyMhzText(value);
        case FieldKind::Flag:
            return value == "1" ? "true" : value == "0" ? "false" : ScannerText(value);
        default:
            return ScannerText(value);
    }
}

// ----- reading -----

struct Row {
    std::size_t line;  // where the row starts, from 1
    std::vector<std::string> cells;
};

// RFC 4180 records; line ends CR LF, LF or CR. A row that is one empty
// cell (an empty line) is left out.
std::vector<Row> ParseRows(std::string_view text) {
    std::vector<Row> rows;
    std::size_t at = 0, line = 1;
    const auto lineEnd = [&] {
        if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ++at;
        ++at;
        ++line;
    };
    while (at < text.size()) {
        Row row{line, {std::string()}};
        while (true) {
            std::string& cell = row.cells.back();
            if (at < text.size() && text[at] == '"') {
                const std::size_t opened = line;
                ++at;
                while (true) {
                    if (at >= text.size()) Fail(opened, "a quoted cell has no closing quote");
                    if (text[at] == '"') {
                        if (at + 1 < text.size() && text[at + 1] == '"') {
                            cell += '"';
                            at += 2;
                            continue;
                        }
                        ++at;
                        break;
                    }
                    if (text[at] == '\n' || (text[at] == '\r' && (at + 1 >= text.size() || text[at + 1] != '\n')))
                        ++line;
                    cell += text[at++];
                }
                if (at < text.size() && text[at] != ',' && text[at] != '\r' && text[at] != '\n')
                    Fail(line, "a quoted cell goes on after its closing quote");
            }
            while (at < text.size() && text[at] != ',' && text[at] != '\r' && text[at] != '\n') cell += text[at++];
            if (at < text.size() && text[at] == ',') {
                ++at;
                row.cells.emplace_back();
                continue;
            }
            if (at < text.size()) lineEnd();
            break;
        }
        if (row.cells.size() > 1 || !row.cells[0].empty()) rows.push_back(std::move(row));
    }
    return rows;
}

std::string CodePointText(char32_t c) {
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(c));
    return text;
}

std::string Bytes(const std::string& cell, const std::string& column, std::size_t line) {
    char32_t bad = 0;
    const std::optional<std::string> bytes = ScannerBytes(cell, &bad);
    if (!bytes) Fail(line, column + " holds " + CodePointText(bad) + ", which the scanner cannot store");
    return *bytes;
}

// A cell as the scanner's field text.
std::string FieldOf(const FieldRule& field, std::string cell, std::size_t line) {
    cell = std::string(UnguardedCsvCell(cell));
    if (cell.empty()) return {};
    switch (field.kind) {
        case FieldKind::Flag: {
            const std::string word = LowerAscii(cell);
            if (word == "true" || word == "yes" || word == "1") return "1";
            if (word == "false" || word == "no" || word == "0") return "0";
            Fail(line, std::string(field.key) + " \"" + cell + "\" is not true or false");
        }
        case FieldKind::Frequency:
            if (const std::optional<std::string> digits = FrequencyDigits(cell)) return *digits;
            Fail(line, std::string(field.key) + " \"" + cell + "\" is not MHz text such as \"154.4300\"");
        case FieldKind::Modulation:
            for (char& c : cell) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            break;
        default:
            break;
    }
    return Bytes(cell, field.key, line);
}

struct Target {
    std::string system;  // name bytes; both empty: the selected group
    std::string group;
    Channel channel;
};

// The columns of a frequency table as radio-listener databases export it,
// told by its "Alpha Tag" column, and the channel field each fills.
constexpr const char* kAlphaTagColumn = "alpha tag";
constexpr const char* kTagColumn = "tag";
struct ListenerColumn {
    const char* name;
    int field;  // a channel field, or -1: not stored
};
constexpr ListenerColumn kListenerColumns[] = {
    {"frequency", channel_field::Frequency}, {"frequency output", channel_field::Frequency},
    {"tone", channel_field::Tone},           {"pl tone", channel_field::Tone},
    {"alpha tag", channel_field::Name},      {"mode", channel_field::Modulation},
    {"description", -1},                     {"frequency input", -1},
    {"fcc callsign", -1},                    {"agency/category", -1},
    {"class station use", -1},
};

class Importer {
public:
    Importer(const ScannerMemory& into, std::optional<GroupAt> selected) : memory_(into), selected_(selected) {}

    ChannelImport Run(std::string_view text) {
        if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
        const std::vector<Row> rows = ParseRows(text);
        if (rows.empty()) Fail(1, "there is no header row (system, group, name, frequency, ...)");
        ReadHeader(rows[0]);
        std::vector<Target> targets;
        for (std::size_t r = 1; r < rows.size(); ++r) targets.push_back(ReadRow(rows[r]));

        std::map<std::pair<std::size_t, std::size_t>, std::vector<Channel>> filled;
        std::vector<std::pair<std::size_t, std::size_t>> order;
        for (std::size_t r = 0; r < targets.size(); ++r) {
            const auto place = Place(targets[r], rows[r + 1].line);
            auto [entry, added] = filled.try_emplace(place);
            if (added) order.push_back(place);
            entry->second.push_back(std::move(targets[r].channel));
        }
        ChannelImport result;
        for (const auto& place : order) {
            memory_.systems[place.first].groups[place.second].channels = std::move(filled[place]);
            ++result.groups;
        }
        result.channels = targets.size();
        result.memory = std::move(memory_);
        return result;
    }

private:
    // The database layout: rows go to the selected group's system, in the
    // group their "Tag" names (made when missing; none: the selected group).
    void ReadListenerHeader(const Row& header) {
        listener_ = true;
        std::string known = kTagColumn;
        for (const ListenerColumn& each : kListenerColumns) known += std::string(", ") + each.name;
        for (const std::string& cell : header.cells) {
            const std::string name = LowerAscii(TrimBlanks(cell));
            int column = name == kTagColumn ? kGroup : kNone;
            for (const ListenerColumn& each : kListenerColumns)
                if (name == each.name) column = each.field < 0 ? kIgnored : each.field;
            if (column == kNone) Fail(header.line, "column \"" + cell + "\" is not one of " + known);
            if (column != kIgnored && std::find(columns_.begin(), columns_.end(), column) != columns_.end())
                Fail(header.line, "column \"" + cell + "\" is there twice");
            columns_.push_back(column);
        }
        if (std::find(columns_.begin(), columns_.end(), static_cast<int>(channel_field::Frequency)) == columns_.end())
            Fail(header.line, "there is no \"Frequency\" column");
    }

    void ReadHeader(const Row& header) {
        for (const std::string& cell : header.cells)
            if (LowerAscii(TrimBlanks(cell)) == kAlphaTagColumn) return ReadListenerHeader(header);
        const RecordLayout& layout = ChannelLayout();
        std::string known = std::string(kSystemColumn) + ", " + kGroupColumn;
        for (const FieldRule& field : layout.fields) known += std::string(", ") + field.key;
        for (const std::string& cell : header.cells) {
            const std::string name = LowerAscii(TrimBlanks(cell));
            int column = kNone;
            if (name == kSystemColumn) column = kSystem;
            if (name == kGroupColumn) column = kGroup;
            for (std::size_t at = 0; at < layout.fields.size(); ++at)
                if (name == LowerAscii(layout.fields[at].key)) column = static_cast<int>(at);
            if (column == kNone) Fail(header.line, "column \"" + cell + "\" is not one of " + known);
            if (std::find(columns_.begin(), columns_.end(), column) != columns_.end())
                Fail(header.line, "column \"" + cell + "\" is there twice");
            columns_.push_back(column);
        }
        for (const std::size_t needed : {std::size_t{channel_field::Name}, std::size_t{channel_field::Frequency}}) {
            if (std::find(columns_.begin(), columns_.end(), static_cast<int>(needed)) == columns_.end())
                Fail(header.line, std::string("there is no \"") + layout.fields[needed].key + "\" column");
        }
    }

    Target ReadRow(const Row& row) {
        if (row.cells.size() > columns_.size())
            Fail(row.line, "the row has " + std::to_string(row.cells.size()) + " cells, the header " +
                               std::to_string(columns_.size()));
        Target target;
        target.channel.fields.assign(channel_field::Count, "");
        for (std::size_t c = 0; c < row.cells.size(); ++c) {
            if (columns_[c] == kIgnored) continue;
            if (listener_ && columns_[c] != kGroup && UnitsCell(target, columns_[c], row.cells[c], row.line)) continue;
            if (columns_[c] == kSystem) {
                target.system = Bytes(row.cells[c], kSystemColumn, row.line);
            } else if (columns_[c] == kGroup) {
                target.group = Bytes(row.cells[c], kGroupColumn, row.line);
            } else {
                const FieldRule& field = ChannelLayout().fields[static_cast<std::size_t>(columns_[c])];
                std::string& value = target.channel.fields[static_cast<std::size_t>(columns_[c])];
                value = FieldOf(field, row.cells[c], row.line);
                if (const std::string problem = FieldProblem(field, value); !problem.empty())
                    Fail(row.line, std::string(field.key) + " " + problem);
            }
        }
        if (target.channel.fields[channel_field::Frequency].empty()) Fail(row.line, "frequency is missing");
        if (listener_) {
            // Into the selected group's system, by its name.
            if (!target.group.empty()) target.system = SelectedSystem(row.line).fields[system_field::Name];
            if (target.channel.fields[channel_field::Name].empty()) Fail(row.line, "Alpha Tag is empty");
        }
        if (target.system.empty() != target.group.empty())
            Fail(row.line, "a channel needs both a system and a group, or neither (for the selected group)");
        const FieldRule& nameRule = SystemLayout().fields[system_field::Name];
        if (const std::string problem = FieldProblem(nameRule, target.system); !problem.empty())
            Fail(row.line, std::string(kSystemColumn) + " " + problem);
        if (const std::string problem = FieldProblem(nameRule, target.group); !problem.empty())
            Fail(row.line, std::string(kGroupColumn) + " " + problem);
        return target;
    }

    // A tone or mode as the databases write them ("67.0 PL", "D023", "CSQ";
    // FM, NFM, FMN, AM); true when the cell was one of those.
    bool UnitsCell(Target& target, int column, const std::string& cell, std::size_t line) {
        const auto read = column == channel_field::Tone         ? ToneCode
                          : column == channel_field::Modulation ? ModulationCode
                                                                : nullptr;
        if (!read) return false;
        std::string why;
        const std::optional<std::string> code = read(TrimBlanks(cell), &why);
        if (!code) Fail(line, (column == channel_field::Tone ? "Tone " : "Mode ") + why);
        target.channel.fields[static_cast<std::size_t>(column)] = *code;
        return true;
    }

    const System& SelectedSystem(std::size_t line) {
        if (!selected_ || selected_->system >= memory_.systems.size() ||
            memory_.systems[selected_->system].type != kConventionalType)
            Fail(line, "choose a group of the conventional system the channels go into first");
        return memory_.systems[selected_->system];
    }

    std::pair<std::size_t, std::size_t> Place(const Target& target, std::size_t line) {
        if (listener_ && !target.group.empty()) {
            SelectedSystem(line);
            std::vector<Group>& groups = memory_.systems[selected_->system].groups;
            for (std::size_t g = 0; g < groups.size(); ++g)
                if (TrimTrailing(groups[g].fields[group_field::Name]) == TrimTrailing(target.group))
                    return {selected_->system, g};
            Group group;
            group.fields[group_field::Name] = target.group;
            groups.push_back(std::move(group));
            return {selected_->system, groups.size() - 1};
        }
        if (target.system.empty()) {
            if (!selected_ || selected_->system >= memory_.systems.size() ||
                memory_.systems[selected_->system].type != kConventionalType ||
                selected_->group >= memory_.systems[selected_->system].groups.size())
                Fail(line, "the row names no system and group, and no group of a conventional system is selected");
            return {selected_->system, selected_->group};
        }
        const std::size_t s = FindSystem(target.system, line);
        std::vector<Group>& groups = memory_.systems[s].groups;
        for (std::size_t g = 0; g < groups.size(); ++g) {
            if (TrimTrailing(groups[g].fields[group_field::Name]) == TrimTrailing(target.group)) return {s, g};
        }
        Group group;
        group.fields[group_field::Name] = target.group;
        groups.push_back(std::move(group));
        return {s, groups.size() - 1};
    }

    std::size_t FindSystem(const std::string& name, std::size_t line) {
        bool trunked = false;
        for (std::size_t s = 0; s < memory_.systems.size(); ++s) {
            const System& system = memory_.systems[s];
            if (TrimTrailing(system.fields[system_field::Name]) != TrimTrailing(name)) continue;
            if (system.type == kConventionalType) return s;
            trunked = true;
        }
        if (trunked)
            Fail(line, "system \"" + ScannerText(name) + "\" is a trunked system; channels belong in conventional ones");
        System system;
        system.type = kConventionalType;
        system.fields[system_field::Name] = name;
        memory_.systems.push_back(std::move(system));
        return memory_.systems.size() - 1;
    }

    static constexpr int kIgnored = -4, kNone = -3, kSystem = -2, kGroup = -1;
    bool listener_ = false;  // the database layout
    ScannerMemory memory_;
    std::optional<GroupAt> selected_;
    std::vector<int> columns_;  // field index of each column, or kSystem / kGroup
};

}  // namespace

std::string WriteChannelsCsv(const ScannerMemory& memory) {
    const RecordLayout& layout = ChannelLayout();
    std::string out = std::string(kSystemColumn) + "," + kGroupColumn;
    for (const FieldRule& field : layout.fields) out += std::string(",") + field.key;
    out += "\r\n";
    for (const System& system : memory.systems) {
        if (system.type != kConventionalType) continue;
        for (const Group& group : system.groups) {
            for (const Channel& channel : group.channels) {
                AppendCsvField(out, ScannerText(system.fields[system_field::Name]));
                out += ',';
                AppendCsvField(out, ScannerText(group.fields[group_field::Name]));
                for (std::size_t at = 0; at < layout.fields.size(); ++at) {
                    out += ',';
                    AppendCsvField(out, CellOf(layout.fields[at], channel.fields[at]));
                }
                out += "\r\n";
            }
        }
    }
    return out;
}

std::optional<ChannelImport> ReadChannelsCsv(const ScannerMemory& into, std::string_view text,
                                             const std::string& fileName, std::optional<GroupAt> selected,
                                             std::string* problem) {
    try {
        return Importer(into, selected).Run(text);
    } catch (const CsvProblem& fault) {
        if (problem) *problem = fileName + ": " + fault.what();
    }
    return std::nullopt;
}

std::optional<GroupAt> ConventionalGroup(const ScannerMemory& memory, const std::string& name, std::string* problem) {
    for (std::size_t s = 0; s < memory.systems.size(); ++s) {
        const System& system = memory.systems[s];
        if (system.type != kConventionalType) continue;
        if (!name.empty() && TrimTrailing(system.fields[system_field::Name]) != TrimTrailing(name)) continue;
        if (system.groups.empty()) {
            if (problem) {
                *problem = "The system \"" + ScannerText(TrimTrailing(system.fields[system_field::Name])) +
                           "\" has no group for the channels.";
            }
            return std::nullopt;
        }
        return GroupAt{s, 0};
    }
    if (problem) {
        *problem = name.empty() ? "The scanner has no conventional system for the channels."
                                : "The scanner has no conventional system named \"" + name + "\".";
    }
    return std::nullopt;
}

}  // namespace quorvane
