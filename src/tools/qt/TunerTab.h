#pragma once
#include <QTimer>
#include <QWidget>

#include "tools/QuickScan.h"
#include "tools/qt/TunerHost.h"

class QGroupBox;
class QPlainTextEdit;
class QPushButton;

namespace quorvane {

class DirectEntryPanel;

// The "Tuner" tab: two direct-entry panels, the auto skip list and the
// quick scan with its one-second Timer4.
class TunerTab : public QWidget {
public:
    TunerTab(TunerHost host, QWidget* parent);

    // SCAN and close-call-only stop the quick scan before their own commands.
    void StopQuickScan();
    bool QuickScanRunning() const { return quickScan_.Running(); }

    // The state lists' chosen indexes (-1: typed text), panel 0 or 1.
    int StateIndex(int panel) const;
    void SetStateIndex(int panel, int index);

private:
    void key_start_quck_scan_Click();
    void key_auto_skip_list_apply_Click();
    void Timer4_Timer();

    TunerHost host_;
    QuickScan quickScan_;
    QTimer Timer4;
    DirectEntryPanel* panels_[2] = {nullptr, nullptr};
    QGroupBox* Quick_Scan_List_Frame = nullptr;
    QPlainTextEdit* Quick_Scan_List = nullptr;
    QPushButton* key_start_quck_scan = nullptr;
    QGroupBox* Auto_Skip_List_Frame = nullptr;
    QPlainTextEdit* Auto_Skip_List = nullptr;
    QPushButton* key_auto_skip_list_apply = nullptr;
};

}  // namespace quorvane
