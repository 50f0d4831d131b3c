#include "base/Csv.h"


namespace quorvane {
namespace {

bool StartsAFormula(std::string_view text) {
    return !text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos;
}

}  // namespace

std::string_view UnguardedCsvCell(std::string_view cell) {
    if (cell.size() > 1 && cell[0] == '\'' && StartsAFormula(cell.substr(1))) cell.remove_prefix(1);
    return cell;
}

void AppendCsvField(std::string& out, std::string_view text) {
    const std::string_view guard = StartsAFormula(text) ? "'" : "";
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        out.append(guard);
        out.append(text);
        return;
    }
    out.push_back('"');
    out.append(guard);
    for (const char c : text) {
        if (c == '"') out.push_back('"');
        out.push_back(c);
    }
    out.push_back('"');
}

void AppendCsvRecord(std::string& out, std::initializer_list<std::string_view> fields) {
    bool first = true;
    for (const std::string_view field : fields) {
        if (!first) out.push_back(',');
        first = false;
        AppendCsvField(out, field);
    }
    out.append("\r\n");
}

}  // namespace quorvane
