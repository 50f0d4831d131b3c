#include "history/qt/HistoryRowsModel.h"

namespace quorvane {

QString SignalText(const HistoryRow& row) {
    if (!row.SignalPeak) return {};
    return row.SignalAverage ? QString("%1 / %2").arg(*row.SignalPeak).arg(*row.SignalAverage)
                             : QString::number(*row.SignalPeak);
}

void HistoryRowsModel::Reset(std::vector<HistoryRow> rows, bool more) {
    beginResetModel();
    rows_ = std::move(rows);
    more_ = more;
    asked_ = false;
    endResetModel();
}

void HistoryRowsModel::Append(const std::vector<HistoryRow>& rows, bool more) {
    asked_ = false;
    more_ = more;
    if (rows.empty()) return;
    const int first = static_cast<int>(rows_.size());
    beginInsertRows({}, first, first + static_cast<int>(rows.size()) - 1);
    rows_.insert(rows_.end(), rows.begin(), rows.end());
    endInsertRows();
}

const HistoryRow* HistoryRowsModel::Row(int row) const {
    return row >= 0 && row < static_cast<int>(rows_.size()) ? &rows_[static_cast<size_t>(row)] : nullptr;
}

int HistoryRowsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int HistoryRowsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(kColumns.size());
}

QVariant HistoryRowsModel::data(const QModelIndex& index, int role) const {
    const HistoryRow* row = Row(index.row());
    if (!row) return {};
    if (role == Qt::TextAlignmentRole) {
        const bool number = index.column() == 4 || index.column() == 6 || index.column() == kSignalColumn;
        return QVariant::fromValue(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
    }
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    switch (index.column()) {
    case 0: return row->Start;
    case 1: return row->System;
    case 2: return row->Group;
    case 3: return row->Channel;
    case 4: return row->Frequency;
    case 5: return row->CodeOrId;
    case 6: return QString::number(row->Seconds, 'f', 1);
    case kSignalColumn: return SignalText(*row);
    case kRecordingColumn: return row->Recording;
    case kStationColumn: return row->Station;
    default: return {};
    }
}

QVariant HistoryRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= static_cast<int>(kColumns.size())) {
        return {};
    }
    return QString(kColumns[static_cast<size_t>(section)]);
}

bool HistoryRowsModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && more_ && !asked_ && !rows_.empty();
}

void HistoryRowsModel::fetchMore(const QModelIndex& parent) {
    if (!canFetchMore(parent)) return;
    asked_ = true;
    emit MoreWanted(rows_.back().Key);
}

}  // namespace quorvane
