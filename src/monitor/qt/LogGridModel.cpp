#include "monitor/qt/LogGridModel.h"

#include <QColor>
#include <QFont>

#include "app/qt/ScannerText.h"

namespace quorvane {
namespace {
// A watched hit's row: light amber, like the display panel, and bold.
constexpr QRgb kMarkedRowColour = 0xFFE7A8;
}  // namespace

LogGridModel::LogGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void LogGridModel::Add(const LogRow& row) {
    // Views hear of the last row leaving and of the new one, one after the other.
    if (rows_.LastLeavesWithNextLine()) {
        const int last = static_cast<int>(rows_.Size()) - 1;
        beginRemoveRows({}, last, last);
        rows_.DropLast();
        endRemoveRows();
    }
    if (row.Shown) beginInsertRows({}, 0, 0);
    rows_.Add(row, marker_);
    if (row.Shown) endInsertRows();
    // The rows below are a line further down the log: their line index changed.
    const int first = row.Shown ? 1 : 0;
    const int last = static_cast<int>(rows_.Size()) - 1;
    if (first <= last) emit dataChanged(index(first, 0), index(last, 0), {Qt::DisplayRole});
}

void LogGridModel::Clear() {
    beginResetModel();
    rows_.Clear();
    endResetModel();
}

void LogGridModel::SetRowMarker(RowMarker marker) {
    marker_ = std::move(marker);
    RefreshMarks();
}

void LogGridModel::RefreshMarks() {
    if (rows_.Remark(marker_)) {
        emit dataChanged(index(0, 1), index(rowCount() - 1, columnCount() - 1), {Qt::BackgroundRole, Qt::FontRole});
    }
}

bool LogGridModel::Marked(int row) const {
    return row >= 0 && static_cast<size_t>(row) < rows_.Size() && rows_.Marked(static_cast<size_t>(row));
}

int LogGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.GridRowCount());
}

int LogGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(kLogGridColumns);
}

QVariant LogGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || static_cast<size_t>(index.row()) >= rows_.GridRowCount()) return {};
    const auto row = static_cast<size_t>(index.row());
    const auto column = static_cast<size_t>(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return ScreenText(rows_.Cell(row, column));
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
