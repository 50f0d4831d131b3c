#pragma once
#include <QWidget>

class QTableView;

namespace quorvane {

class HitLog;
class LogGridModel;

// The "Log" tab: the column headings and the grid of this run's hits
// (grdInfo), following the log a line at a time.
class LogTab : public QWidget {
    Q_OBJECT
public:
    LogTab(HitLog& log, QWidget* parent);

    LogGridModel& Model() { return *model_; }

private:
    LogGridModel* model_ = nullptr;
    QTableView* grdInfo = nullptr;
};

}  // namespace quorvane
