#pragma once
#include <QDateTime>
#include <string>

namespace quorvane {

// Now, in ISO 8601 with the local offset ("2026-12-06T14:03:11+01:00"), as
// hits and alerts are stamped for other programs.
inline std::string IsoTimeNow() {
    const QDateTime now = QDateTime::currentDateTime();
    return now.toOffsetFromUtc(now.offsetFromUtc()).toString(Qt::ISODate).toStdString();
}

}  // namespace quorvane
