#include "memory/qt/MemoryCellText.h"

#include <QRegularExpression>
#include <QStringList>
#include <cstdio>
#include <cstring>
#include <array>

#include "memory/MemoryValidation.h"
#include "memory/MemoryValues.h"

namespace quorvane {

const RecordLayout& LayoutOf(RowKind kind) {
    switch (kind) {
        case RowKind::System:
            return SystemLayout();
        case RowKind::Site:
        case RowKind::Group:
            return GroupLayout();
        case RowKind::Channel:
            return ChannelLayout();
        case RowKind::Talkgroup:
            return TalkgroupLayout();
        case RowKind::Frequency:
            break;
    }
    return TrunkFrequencyLayout();
}

// The field each column shows for a kind of record, -1 for none.
int FieldOfColumn(RowKind kind, int column) {
    static const std::array<std::array<int, kColumnCount>, 6> map = [] {
        std::array<std::array<int, kColumnCount>, 6> fields{};
        for (int k = 0; k < 6; ++k) {
            const RecordLayout& layout = LayoutOf(static_cast<RowKind>(k));
            for (int c = 0; c < kColumnCount; ++c) {
                fields[k][c] = -1;
                for (std::size_t at = 0; at < layout.fields.size(); ++at)
                    if (std::strcmp(layout.fields[at].key, kColumns[c].key) == 0) fields[k][c] = static_cast<int>(at);
            }
        }
        return fields;
    }();
    return column >= 0 && column < kColumnCount ? map[static_cast<int>(kind)][column] : -1;
}

std::string CodePointText(char32_t c) {
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(c));
    return text;
}

// The reading of a value typed in people's units (Hz, kHz, AM/FM), for the
// fields the scanner keeps as codes; nothing for other fields.
using UnitsReader = std::optional<std::string> (*)(std::string_view, std::string*);
UnitsReader CodeInUnits(FieldKind kind) {
    if (kind == FieldKind::Tone) return ToneCode;
    if (kind == FieldKind::Step) return StepCode;
    if (kind == FieldKind::Modulation) return ModulationCode;
    return nullptr;
}

// A value in those units, as shown and chosen.
std::string InUnits(FieldKind kind, const std::string& value) {
    if (kind == FieldKind::Tone) return ToneUnits(value);
    if (kind == FieldKind::Step) return StepUnits(value);
    if (kind == FieldKind::Modulation) return ModulationUnits(value);
    return value;
}

// Scanner bytes as the tree shows them: as the memory file has them, but the
// bytes 0x80-0x9F, whose characters look like punctuation (0x82 like a
// comma, which no name can hold), show as their number: "⟨82⟩".
QString ShownText(const std::string& bytes) {
    QString text;
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        if (b >= 0x80 && b <= 0x9F) text += QString::asprintf("\u27E8%02X\u27E9", b);
        else text += QString::fromStdString(ScannerText(std::string(1, byte)));
    }
    return text;
}

// Typed text with those numbers back as the characters of their bytes.
QString UnshownText(QString text) {
    static const QRegularExpression number("\u27E8([89][0-9A-Fa-f])\u27E9");
    for (QRegularExpressionMatch found = number.match(text); found.hasMatch(); found = number.match(text)) {
        const auto byte = static_cast<char>(found.captured(1).toInt(nullptr, 16));
        text.replace(found.capturedStart(), found.capturedLength(), QString::fromStdString(ScannerText(std::string(1, byte))));
    }
    return text;
}

// The field text typed into a cell stands for: true with *bytes set when it
// is a value at all; *problem says what is wrong with it (empty: nothing).
std::string CellProblem(const FieldRule& field, const std::string& value, const std::string& systemType) {
    if (&field == &TrunkFrequencyLayout().fields[trunk_frequency_field::Lcn]) return LcnProblem(systemType, value);
    return FieldProblem(field, value);
}

bool CellValue(const FieldRule& field, const QString& typed, std::string* bytes, std::string* problem,
               const std::string& systemType) {
    std::string value;
    if (const auto toCode = CodeInUnits(field.kind)) {
        std::string why;
        const std::optional<std::string> code = toCode(typed.toStdString(), &why);
        if (!code) {
            *problem = why;
            return false;
        }
        value = *code;
    } else if (field.kind == FieldKind::Frequency) {
        const std::string text = typed.trimmed().toStdString();
        if (!text.empty()) {
            const std::optional<std::string> digits = FrequencyDigits(text);
            if (!digits) {
                *problem = "\"" + text + "\" is not MHz with up to 4 decimals, such as 154.4300";
                return false;
            }
            value = *digits;
        }
    } else {
        // Names keep their blanks (the scanner pads them); settings do not.
        QString text = UnshownText(field.kind == FieldKind::Name || field.kind == FieldKind::Text ? typed : typed.trimmed());
        if (field.kind == FieldKind::Modulation) text = text.toUpper();
        char32_t bad = 0;
        const std::optional<std::string> converted = ScannerBytes(text.toStdString(), &bad);
        if (!converted) {
            *problem = "\"" + text.toStdString() + "\" holds " + CodePointText(bad) + ", which the scanner cannot store";
            return false;
        }
        value = *converted;
    }
    *problem = CellProblem(field, value, systemType);
    *bytes = value;
    return true;
}

bool IsListColumn(int column) { return column == kGroupKeysColumn || column == kLockedIdsColumn; }

QString ListText(int column, const SystemLists& lists) {
    if (column == kGroupKeysColumn) return QString::fromStdString(lists.groupQuickKeys);
    QStringList ids;
    for (const std::string& id : lists.lockedIds) ids << QString::fromStdString(ScannerText(id));
    return ids.join(' ');
}

bool ListValue(int column, const std::string& systemType, const QString& typed, SystemLists* lists,
               std::string* problem) {
    static const QRegularExpression gaps("[\\s,;]+");
    const QStringList words = typed.split(gaps, Qt::SkipEmptyParts);
    SystemLists read = *lists;
    if (column == kGroupKeysColumn) {
        read.groupQuickKeys = words.join(QString()).toStdString();
    } else {
        read.lockedIds.clear();
        for (const QString& word : words) read.lockedIds.push_back(word.toStdString());
    }
    *problem = ListProblem(column, systemType, read);
    if (!problem->empty()) return false;
    *lists = std::move(read);
    return true;
}

std::string ListProblem(int column, const std::string& systemType, const SystemLists& lists) {
    const std::string key = kColumns[column].key;
    if (column == kGroupKeysColumn) {
        const std::string problem = GroupQuickKeysProblem(lists.groupQuickKeys);
        return problem.empty() ? problem : key + " " + problem;
    }
    if (!lists.lockedIds.empty() && !IsTrunkedType(systemType))
        return key + ": a conventional system has no talkgroup IDs to lock out";
    for (const std::string& id : lists.lockedIds)
        if (const std::string problem = LockedIdProblem(systemType, id); !problem.empty()) return key + " " + problem;
    return {};
}

QString TypeText(RowKind kind, const std::string& type) {
    switch (kind) {
        case RowKind::System:
            return QString::fromStdString(ScannerText(type));
        case RowKind::Site:
            return "Site";
        case RowKind::Group:
            return type == kTalkgroupGroupType ? "Talkgroups" : "Channels";
        default:
            return {};
    }
}

std::string TypeProblem(const std::string& type) {
    if (IsKnownSystemType(type)) return {};
    std::string known;
    for (const std::string& each : SystemTypes()) known += (known.empty() ? "" : ", ") + each;
    return "type \"" + ScannerText(type) + "\" is not a system type the scanner knows (" + known + ")";
}


}  // namespace quorvane
