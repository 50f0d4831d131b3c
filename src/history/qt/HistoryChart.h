#pragma once
#include <QChartView>
#include <QStringList>
#include <array>
#include <vector>

#include "history/qt/HistoryReading.h"

namespace quorvane {

// The History tab's chart: hits per hour of day, or the busiest channels.
// Its labels are laid out for the room it has, whenever its size changes:
// the hours are labelled every one to twelve hours so that each label fits,
// long channel names lose their middle, and the count axis ticks at whole,
// even steps.
class HistoryChart : public QChartView {
    Q_OBJECT
public:
    explicit HistoryChart(QWidget* parent = nullptr);

    void ShowHours(const std::array<qint64, 24>& hours);
    void ShowChannels(const std::vector<ChannelCount>& channels);
    void Clear();

    // The texts of the axes' labels as drawn (after any shortening by the chart).
    QStringList DrawnLabels() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Draw();

    enum class Shown { Nothing, Hours, Channels } shown_ = Shown::Nothing;
    std::array<qint64, 24> hours_{};
    std::vector<ChannelCount> channels_;
};

}  // namespace quorvane
