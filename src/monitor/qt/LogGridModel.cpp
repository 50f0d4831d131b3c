#include "monitor/qt/LogGridModel.h"

#include <QColor>
#include <QFont>

#include "app/qt/ScannerText.h"

namespace quorvane {
namespace {
// A watched hit's row: light amber, like the display panel, and bold.
constexpr QRgb kMarkedRowColour = 0xFFE7A8;
}  // namespace

LogGridModel::LogGridModel(QObject* parent) : QAbstractTableModel(parent), rows_(LogGridFill({})) {}

void LogGridModel::Fill(std::string_view logText) {
    beginResetModel();
    LogGridFill(logText, rows_);  // refills the kept rows: no reallocation per hit
    marked_ = MarksOfRows();
    endResetModel();
}

void LogGridModel::SetRowMarker(RowMarker marker) {
    marker_ = std::move(marker);
    RefreshMarks();
}

void LogGridModel::RefreshMarks() {
    std::vector<bool> marked = MarksOfRows();
    if (marked == marked_) return;
    marked_ = std::move(marked);
    if (!rows_.empty()) {
        emit dataChanged(index(0, 1), index(rowCount() - 1, columnCount() - 1), {Qt::BackgroundRole, Qt::FontRole});
    }
}

bool LogGridModel::Marked(int row) const {
    return row >= 0 && static_cast<size_t>(row) < marked_.size() && marked_[static_cast<size_t>(row)];
}

std::vector<bool> LogGridModel::MarksOfRows() const {
    std::vector<bool> marked(rows_.size(), false);
    if (!marker_) return marked;
    for (size_t row = 0; row < rows_.size(); ++row) {
        marked[row] = !rows_[row].Cells[0].empty() && marker_(rows_[row]);
    }
    return marked;
}

int LogGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int LogGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(kLogGridColumns);
}

QVariant LogGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || static_cast<size_t>(index.row()) >= rows_.size()) return {};
    const auto row = static_cast<size_t>(index.row());
    const auto column = static_cast<size_t>(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return ScreenText(rows_[row].Cells[column]);
    case Qt::BackgroundRole:
        if (column == 0) return {};
        return QColor(Marked(index.row()) ? kMarkedRowColour : QRgb(LogGridStripeColour(row)));
    case Qt::FontRole: {
        if (!Marked(index.row())) return {};
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignTop |
                                   (kLogGridRightAligned[column] ? Qt::AlignRight : Qt::AlignLeft));
    default:
        return {};
    }
}

QVariant LogGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    if (section == 0) return QString("Line");
    if (section < 1 || section > static_cast<int>(kLogGridHeadings.size())) return {};
    const std::string_view heading = kLogGridHeadings[static_cast<size_t>(section - 1)];
    return QString::fromLatin1(heading.data(), static_cast<qsizetype>(heading.size()));
}

}  // namespace quorvane
