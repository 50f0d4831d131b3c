#include "window/WindowSettingsFrame.h"

#include <QCheckBox>

#include "app/qt/Controls.h"
#include "app/qt/Twips.h"
#include "window/WindowStyle.h"

namespace quorvane {

WindowSettingsFrame::WindowSettingsFrame(QWidget* tab, WindowStyle& style)
    : QGroupBox("Window Settings", tab), style_(style) {
    setObjectName("window_settings_frame");
    setGeometry(TwipsRect(120, 2300, 3900, 700));
    AlwaysOnTopCheck = NewControl<QCheckBox>(this, "AlwaysOnTopCheck", TwipsRect(150, 300, 3600, 300),
                                             "Enable Always On Top");
    connect(AlwaysOnTopCheck, &QCheckBox::toggled, this, &WindowSettingsFrame::ApplyAlwaysOnTop);
}

bool WindowSettingsFrame::AlwaysOnTop() const { return AlwaysOnTopCheck->isChecked(); }

void WindowSettingsFrame::SetAlwaysOnTop(bool ticked) { AlwaysOnTopCheck->setChecked(ticked); }

void WindowSettingsFrame::ApplyAlwaysOnTop() { style_.SetTopMost(AlwaysOnTopCheck->isChecked()); }

}  // namespace quorvane
