// The log grid's marks for watched hits and the signal level bar.
#include <QApplication>
#include <QFont>
#include <QImage>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include "monitor/qt/LogGridModel.h"
#include "monitor/qt/SignalLevelBar.h"
#include "QtTestApp.h"

namespace quorvane {
namespace {

QApplication& App() { return test::QtApp(); }

TEST(LogGridModel, RowsTheMarkerAcceptsAreMarkedWithoutChangingTheirText) {
    App();
    LogGridModel model;
    model.Fill("County / Fire\tDispatch\t 154.4300\t\t1\t2\t3\r\nMetro / Police\tNorth\t 856.1125\t77\t1\t2\t3\r\n");
    const QVariant plain = model.data(model.index(0, 2), Qt::BackgroundRole);
    bool watchFire = true;
    model.SetRowMarker([&](const LogGridRow& row) { return watchFire ? row.Cells[2] == "Dispatch" : true; });
    EXPECT_TRUE(model.Marked(0));
    EXPECT_FALSE(model.Marked(1));
    EXPECT_FALSE(model.Marked(2));  // a filler row is never a hit
    EXPECT_NE(model.data(model.index(0, 2), Qt::BackgroundRole), plain);
    EXPECT_TRUE(model.data(model.index(0, 2), Qt::FontRole).value<QFont>().bold());
    EXPECT_EQ(model.data(model.index(0, 2), Qt::DisplayRole).toString(), "Dispatch");
    EXPECT_FALSE(model.data(model.index(1, 2), Qt::FontRole).isValid());
    EXPECT_EQ(model.columnCount(), 8);

    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.RefreshMarks();
    EXPECT_EQ(changed.count(), 0);  // the same marks: nothing to repaint
    watchFire = false;
    model.RefreshMarks();
    EXPECT_EQ(changed.count(), 1);
    EXPECT_TRUE(model.Marked(1));
    model.Fill("A / B\tC\t 1.0000\t\t1\t2\t3\r\n");  // marks follow a refill
    EXPECT_TRUE(model.Marked(0));
    EXPECT_FALSE(model.Marked(1));
}

TEST(SignalLevelBar, FillsFromTheBottomByTheLevelAndEmptiesWithout) {
    App();
    SignalLevelBar bar;
    bar.resize(8, 100);
    const auto filledAt = [&](int y) {
        const QImage image = bar.grab().toImage();
        return image.pixelColor(4, y) != image.pixelColor(4, 0);  // the top row is trough below full level
    };
    bar.SetLevel(128);
    EXPECT_TRUE(filledAt(99));
    EXPECT_TRUE(filledAt(51));
    EXPECT_FALSE(filledAt(49));
    bar.SetLevel(std::nullopt);
    EXPECT_FALSE(filledAt(99));
    bar.SetLevel(300);  // out of range: a full bar, no more
    EXPECT_EQ(bar.Level(), 300);
    const QImage full = bar.grab().toImage();
    EXPECT_EQ(full.pixelColor(4, 0), full.pixelColor(4, 99));
}

}  // namespace
}  // namespace quorvane
