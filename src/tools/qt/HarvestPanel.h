#pragma once
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "link/qt/ProgramSessionRunner.h"
#include "tools/Harvest.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace quorvane {

class ScannerLink;

// What the harvest needs from the rest of the program.
struct HarvestHost {
    ScannerLink* link = nullptr;
    QString appDirectory;
    std::function<void(const QString&)> showDisplay;   // Text1 while polling rests
    std::function<void(const QString&, std::function<void()>)> tell;  // a message window
    std::function<void(const QString&)> note;          // a short note in Text3
    std::function<void()> tableWritten;                // hit_intel.txt is new: reload the table
    std::function<void()> focusPicture1;
    std::function<void(int)> delayChosen;              // the delay list's index, for pgm_settings.txt
};

// "Update Hit Inteligence" with its "Delay ms:" list and progress line: the
// walk of the scanner's stored systems, groups and channels into
// hit_intel.txt. The harvest holds the line from the click until it ends
// (the poll, keys and the quick scan wait meanwhile); the walk starts 600 ms
// after the click, and each command is followed by a wait of the chosen
// delay (ProgramSessionRunner), so the window keeps painting and the walk
// can be cancelled. At "Auto" the wait ends as soon as the reply has come in
// whole. After a walk that finished the scanner leaves programming mode once
// the user has closed the news.
class HarvestPanel : public QObject {
    Q_OBJECT
public:
    // The controls go into frame; the progress line below it on its tab.
    HarvestPanel(QGroupBox* frame, HarvestHost host, QObject* parent);

    // From the click until the line is given back.
    bool Busy() const { return busy_; }
    void SetDelayIndex(int index);
    // The link stops (Stop: the scanner is told to leave programming mode
    // first) or goes away (nothing can be said to it; the user is told).
    void Abandon(bool linkStillOpen);

private:
    void hit_intel_Click();
    void Stepped(const SessionStep& step, qint64 elapsedMs, double commandsPerSecond);
    void Ended(ProgramSessionRunner::End how);
    void End(const HarvestStep& step);
    void Lost(bool linkStillOpen);
    void Resume();

    HarvestHost host_;
    std::unique_ptr<Harvest> harvest_;  // from the click until the walk ends
    ProgramSessionRunner runner_;
    bool busy_ = false;
    QPushButton* hit_intel = nullptr;
    QComboBox* hit_intel_dly = nullptr;
    QLabel* hit_intel_progress = nullptr;
};

}  // namespace quorvane
