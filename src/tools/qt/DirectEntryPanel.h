#pragma once
#include <QGroupBox>

#include "tools/qt/TunerHost.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace quorvane {

// The object names of one direct-entry panel's controls.
struct DirectEntryNames {
    QString entry;       // frequency box
    QString modulation;  // "FM", "NFM", "AM"
    QString tune;        // "Tune"
    QString state;       // state and territory codes
    QString fcc;         // licence lookup
};

// "Direct Entry / VFO": a typed frequency tuned with its own button, and the
// licence search for it in the chosen state. The Tuner tab holds two.
class DirectEntryPanel : public QGroupBox {
public:
    DirectEntryPanel(const DirectEntryNames& names, const TunerHost& host, QWidget* parent);

    QComboBox* StateList() const { return state_; }

private:
    void Tune_Click();
    void Fcc_Click();

    const TunerHost& host_;
    QLineEdit* entry_ = nullptr;
    QComboBox* modulation_ = nullptr;
    QPushButton* tune_ = nullptr;
    QComboBox* state_ = nullptr;
    QPushButton* fcc_ = nullptr;
};

}  // namespace quorvane
