#include "monitor/qt/LogGridModel.h"

#include <QColor>

#include "app/qt/ScannerText.h"

namespace quorvane {

LogGridModel::LogGridModel(QObject* parent) : QAbstractTableModel(parent), rows_(LogGridFill({})) {}

void LogGridModel::Fill(std::string_view logText) {
    beginResetModel();
    LogGridFill(logText, rows_);  // refills the kept rows: no reallocation per hit
    endResetModel();
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
        return QColor(QRgb(LogGridStripeColour(row)));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignTop |
                                   (kLogGridRightAligned[column] ? Qt::AlignRight : Qt::AlignLeft));
    default:
        return {};
    }
}

}  // namespace quorvane
