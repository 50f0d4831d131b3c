#pragma once
#include <QGroupBox>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace quorvane {

class FeedStreamer;

// The "Feed" box of the Settings tab: the Icecast address and whether the
// feed starts on every run, saved in feed.txt at once (its other lines kept);
// ticking starts the feed, unticking stops it, a new address restarts a
// running feed. Below them, the feed's state.
class FeedBox : public QGroupBox {
    Q_OBJECT
public:
    FeedBox(QWidget* tab, FeedStreamer& feed);

private:
    void Save();
    void ShowState();

    FeedStreamer& feed_;
    QCheckBox* feed_start = nullptr;
    QLineEdit* feed_url = nullptr;
    QLabel* feed_state = nullptr;
    QString problem_;
};

}  // namespace quorvane
