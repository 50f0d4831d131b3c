#pragma once
#include <QAbstractTableModel>
#include <string_view>
#include <vector>

#include "monitor/LogGrid.h"

namespace quorvane {

// The rows of grdInfo as a model over the log text: rebuilt whole after every
// change of the log, striped by row index, column 0 (the line index) hidden.
class LogGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit LogGridModel(QObject* parent = nullptr);
    void Fill(std::string_view logText);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    std::vector<LogGridRow> rows_;
};

}  // namespace quorvane
