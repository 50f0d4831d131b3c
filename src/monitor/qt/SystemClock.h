#pragma once
#include <QTime>

#include "monitor/Clock.h"

namespace quorvane {

// The time of day from the system clock, in the log's fixed format.
class SystemClock : public Clock {
public:
    std::string TimeOfDayText() override { return QTime::currentTime().toString("h:mm:ss AP").toStdString(); }
};

}  // namespace quorvane
