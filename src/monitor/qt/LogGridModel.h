#pragma once
#include <QAbstractTableModel>

#include "monitor/LogGrid.h"

namespace quorvane {

// The rows of grdInfo as a model that follows the hit log a line at a time:
// a new row goes on top, the rows are striped by row index, and column 0
// (the line index) is hidden. A row the marker accepts (a hit on a watched
// channel) shows in bold on a light amber background; its text and the
// columns stay as they are.
class LogGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using RowMarker = LogGridRows::Marker;

    explicit LogGridModel(QObject* parent = nullptr);
    // A line went on top of the log (HitLog::RowAdded), and the log cleared.
    void Add(const LogRow& row);
    void Clear();

    // Asked once for each row as it comes; none marks nothing.
    void SetRowMarker(RowMarker marker);
    // Asks the marker again (what it marks changed, e.g. the alert list).
    void RefreshMarks();
    bool Marked(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // The column headings (a screen reader says "Channel: Fire Dispatch");
    // the grid draws its own heading row above itself.
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    LogGridRows rows_;
    RowMarker marker_;
};

}  // namespace quorvane
