#include "tools/qt/DirectEntryPanel.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "tools/Frequency.h"
#include "tools/LicenceLookup.h"
#include "app/qt/Controls.h"
#include "app/qt/ScannerText.h"
#include "app/qt/TextEntry.h"
#include "app/qt/Twips.h"

namespace quorvane {
namespace {

QComboBox* EditableList(QWidget* parent, const QString& name, const QRect& place) {
    auto* list = NewControl<QComboBox>(parent, name, place);
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    KeepTypedText(list);
    return list;
}

}  // namespace

DirectEntryPanel::DirectEntryPanel(const DirectEntryNames& names, const TunerHost& host, QWidget* parent)
    : QGroupBox("Direct Entry / VFO", parent), host_(host) {
    NewControl<QLabel>(this, names.entry + "_label", TwipsRect(150, 300, 1800, 270), "Frequency (MHz):");
    entry_ = NewControl<QLineEdit>(this, names.entry, TwipsRect(150, 570, 1800, 360));
    // Enter in the box tunes, as the button does.
    connect(entry_, &QLineEdit::returnPressed, this, &DirectEntryPanel::Tune_Click);

    modulation_ = EditableList(this, names.modulation, TwipsRect(2070, 570, 1100, 360));
    modulation_->addItems({"FM", "NFM", "AM"});
    Choose(modulation_, 0);
    tune_ = NewControl<QPushButton>(this, names.tune, TwipsRect(3300, 555, 1200, 390), "Tune");
    connect(tune_, &QPushButton::clicked, this, &DirectEntryPanel::Tune_Click);

    NewControl<QLabel>(this, names.state + "_label", TwipsRect(150, 1110, 3000, 270), "Licences in state:");
    state_ = EditableList(this, names.state, TwipsRect(150, 1380, 1100, 360));
    for (std::string_view code : kStateCodes) state_->addItem(QString::fromLatin1(code.data(), code.size()));
    fcc_ = NewControl<QPushButton>(this, names.fcc, TwipsRect(1380, 1365, 1000, 390), "FCC");
    connect(fcc_, &QPushButton::clicked, this, &DirectEntryPanel::Fcc_Click);
    // The Tuner tab has two of these panels: the second one says so.
    const QString panel = names.entry.endsWith('2') ? "Direct entry 2 " : "Direct entry ";
    entry_->setAccessibleName(panel + "frequency");
    entry_->setAccessibleDescription("Frequency in MHz; Enter tunes it");
    modulation_->setAccessibleName(panel + "modulation");
    tune_->setAccessibleDescription("Tunes the scanner to the " + panel.toLower() + "frequency");
    state_->setAccessibleName(panel + "licence state");
    fcc_->setAccessibleName(panel + "FCC licence search");
    fcc_->setAccessibleDescription("Opens the FCC licence search for the frequency in the browser");
}

void DirectEntryPanel::Tune_Click() {
    if (const auto command = DirectTuneCommand(BytesFromScreen(entry_->text()), ChosenIndex(modulation_))) {
        host_.tune(*command);
    }
    host_.focusPicture1();
}

void DirectEntryPanel::Fcc_Click() {
    // An address is web text: the typed frequency goes in as UTF-8, unchanged.
    if (const auto address = LicenceLookupAddress(entry_->text().toStdString(), ChosenIndex(state_))) {
        if (!host_.openUrl(QString::fromStdString(*address))) host_.note("No web browser could be opened");
    }
    host_.focusPicture1();
}

}  // namespace quorvane
