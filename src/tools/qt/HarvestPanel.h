#pragma once
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

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
// (the poll, keys and the quick scan wait meanwhile); each command is
// followed by a wait of the chosen delay on a timer, so the window keeps
// painting and the walk can be cancelled. At "Auto" the wait ends as soon as
// the reply has come in whole.
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
    void Timer2_Timer();
    void RunStep(const HarvestStep& step);
    void BytesArrived();
    void DrainReply();
    void ShowProgress(const HarvestProgress& progress);
    void StopWalk();
    void End(const HarvestStep& step);
    void Resume();

    HarvestHost host_;
    std::unique_ptr<Harvest> harvest_;
    bool busy_ = false;
    QTimer Timer2;            // the walk starts 600 ms after the click
    QTimer drainTimer_;       // the wait after each command
    std::string reply_;       // bytes of the awaited reply read so far ("Auto")
    QElapsedTimer elapsed_;
    QPushButton* hit_intel = nullptr;
    QComboBox* hit_intel_dly = nullptr;
    QLabel* hit_intel_progress = nullptr;
};

}  // namespace quorvane
