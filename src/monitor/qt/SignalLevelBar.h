#pragma once
#include <QWidget>
#include <optional>

namespace quorvane {

// A small bar beside the display: the signal level (0-255) of the hit being
// received, filled upwards, with a tick at each quarter of the scale and
// the level's number above it; empty between hits. Between hits it is
// never repainted, so an idle poll never touches it.
class SignalLevelBar : public QWidget {
    Q_OBJECT
public:
    explicit SignalLevelBar(QWidget* parent = nullptr);

    // The level to show; none (between hits, or no readable level) empties
    // the bar.
    void SetLevel(std::optional<int> level);
    std::optional<int> Level() const { return level_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect Bar() const;
    // How many pixels of the bar the level fills.
    int FilledLength(std::optional<int> level) const;

    std::optional<int> level_;
};

}  // namespace quorvane
