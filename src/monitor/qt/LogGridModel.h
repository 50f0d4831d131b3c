#pragma once
#include <QAbstractTableModel>
#include <functional>
#include <string_view>
#include <vector>

#include "monitor/LogGrid.h"

namespace quorvane {

// The rows of grdInfo as a model over the log text: rebuilt whole after every
// change of the log, striped by row index, column 0 (the line index) hidden.
// A row the marker accepts (a hit on a watched channel) shows in bold on a
// light amber background; its text and the columns stay as they are.
class LogGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using RowMarker = std::function<bool(const LogGridRow&)>;

    explicit LogGridModel(QObject* parent = nullptr);
    void Fill(std::string_view logText);

    // Asked once per log row at every fill; none marks nothing.
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
    // Whether each row is marked; the filler rows never are.
    std::vector<bool> MarksOfRows() const;

    std::vector<LogGridRow> rows_;
    RowMarker marker_;
    std::vector<bool> marked_;
};

}  // namespace quorvane
