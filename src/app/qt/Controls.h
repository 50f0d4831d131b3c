#pragma once
#include <QRect>
#include <QWidget>
#include <utility>

namespace quorvane {

// A control of the window: made with its constructor's arguments (the parent
// last), named for tests and readers, and put at its designed place.
template <typename Control, typename... Args>
Control* NewControl(QWidget* parent, const QString& objectName, const QRect& place, Args&&... args) {
    auto* control = new Control(std::forward<Args>(args)..., parent);
    control->setObjectName(objectName);
    control->setGeometry(place);
    return control;
}

}  // namespace quorvane
