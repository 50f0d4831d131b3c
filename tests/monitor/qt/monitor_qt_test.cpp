// The log grid's marks for watched hits and the signal level bar.
#include <QColor>
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

TEST(LogGridModel, NewRowsGoOnTopAndTheRowsTheMarkerAcceptsAreMarkedWithoutChangingTheirText) {
    App();
    LogGridModel model;
    EXPECT_EQ(model.rowCount(), 20);
    bool watchFire = true;
    model.SetRowMarker([&](const LogRow& row) { return watchFire ? row.Fields[1] == "Dispatch" : true; });
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    for (const char* line : {"Metro / Police\tNorth\t 856.1125\t77\t1\t2\t3\r\n", "stray\r\n",
                             "County / Fire\tDispatch\t 154.4300\t\t1\t2\t3\r\n"}) {
        model.Add(LogRowOf(line));
    }
    EXPECT_EQ(inserted.count(), 2);  // a line without "/" has no row
    EXPECT_EQ(model.rowCount(), 22);
    EXPECT_EQ(model.data(model.index(1, 0), Qt::DisplayRole).toString(), "2");  // its line index, hidden
    EXPECT_TRUE(model.Marked(0));
    EXPECT_FALSE(model.Marked(1));
    EXPECT_FALSE(model.Marked(2));  // a filler row is never a hit
    EXPECT_NE(model.data(model.index(0, 2), Qt::BackgroundRole), QColor(QRgb(LogGridStripeColour(0))));
    EXPECT_EQ(model.data(model.index(1, 2), Qt::BackgroundRole), QColor(QRgb(LogGridStripeColour(1))));
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
    model.Clear();
    EXPECT_EQ(model.rowCount(), 20);
    EXPECT_FALSE(model.Marked(0));
    model.Add(LogRowOf("A / B\tC\t 1.0000\t\t1\t2\t3\r\n"));
    EXPECT_TRUE(model.Marked(0));
    EXPECT_EQ(model.data(model.index(0, 0), Qt::DisplayRole).toString(), "0");
    // Rows leave at the bottom once their line's index passes 1500.
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    for (int i = 0; i < 1502; ++i) model.Add(LogRowOf("S / G\tline\r\n"));
    EXPECT_EQ(model.rowCount(), 1501 + 20);
    EXPECT_EQ(removed.count(), 2);
    EXPECT_EQ(model.data(model.index(1500, 0), Qt::DisplayRole).toString(), "1500");
}

TEST(SignalLevelBar, FillsFromTheBottomByTheLevelUnderItsNumberAndEmptiesWithout) {
    App();
    SignalLevelBar bar;
    bar.resize(24, 111);  // the bar itself: rows 11 to 110
    const auto image = [&] { return bar.grab().toImage(); };
    const QColor trough = image().pixelColor(4, 11);
    const auto filledAt = [&](int y) { return image().pixelColor(4, y) != trough; };
    // Dark pixels of a number above the bar.
    const auto numbered = [&] {
        const QImage shown = image();
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 24; ++x)
                if (shown.pixelColor(x, y).lightness() < 100) return true;
        return false;
    };
    EXPECT_FALSE(numbered());
    bar.SetLevel(128);
    EXPECT_TRUE(filledAt(110));
    EXPECT_TRUE(filledAt(62));
    EXPECT_FALSE(filledAt(59));
    EXPECT_TRUE(numbered());
    bar.SetLevel(std::nullopt);
    EXPECT_FALSE(filledAt(110));
    EXPECT_FALSE(numbered());
    bar.SetLevel(300);  // out of range: a full bar, no more
    EXPECT_EQ(bar.Level(), 300);
    EXPECT_TRUE(filledAt(11));
}

}  // namespace
}  // namespace quorvane
