#pragma once
#include <QAbstractTableModel>
#include <array>
#include <vector>

#include "history/qt/HistoryReading.h"

namespace quorvane {

// The History tab's table: the rows of the current search, newest first,
// a page at a time as the view scrolls down (fetchMore asks for the next).
class HistoryRowsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr std::array<const char*, 10> kColumns = {
        "Start", "System", "Group", "Channel", "Frequency", "Tone / ID", "Seconds", "Signal", "Recording", "Station"};
    static constexpr int kSignalColumn = 7;
    static constexpr int kRecordingColumn = 8;
    static constexpr int kStationColumn = 9;

    using QAbstractTableModel::QAbstractTableModel;

    // A new search: its first page, and whether more follow.
    void Reset(std::vector<HistoryRow> rows, bool more);
    void Append(const std::vector<HistoryRow>& rows, bool more);
    void Clear() { Reset({}, false); }
    const HistoryRow* Row(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

signals:
    // The view wants the rows after `after`.
    void MoreWanted(quorvane::RowKey after);

private:
    std::vector<HistoryRow> rows_;
    bool more_ = false;
    bool asked_ = false;  // the next page is on its way
};

// "201 / 143": the peak and mean signal level; empty when unknown.
QString SignalText(const HistoryRow& row);

}  // namespace quorvane
