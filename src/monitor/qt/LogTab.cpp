#include "monitor/qt/LogTab.h"

#include <QHeaderView>
#include <QPainter>
#include <QTableView>

#include "app/qt/Controls.h"
#include "app/qt/Twips.h"
#include "monitor/LogGrid.h"
#include "monitor/qt/HitLog.h"
#include "monitor/qt/LogGridModel.h"

namespace quorvane {
namespace {

// The grey strip above the grid with the column headings.
class LogHeader : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), QColor(0xD4, 0xD0, 0xC8));
        QFont font = p.font();
        font.setPixelSize(11);
        font.setBold(true);
        p.setFont(font);
        p.setPen(QColor(32, 32, 32));
        int left = 0;
        for (size_t column = 1; column < kLogGridColumns; ++column) {
            const int width = Px(kLogGridColumnWidths[column]);
            const Qt::Alignment align = kLogGridRightAligned[column] ? Qt::AlignRight : Qt::AlignLeft;
            p.drawText(QRect(left + 3, 0, width - 6, height()), align | Qt::AlignVCenter,
                       QString::fromLatin1(kLogGridHeadings[column - 1].data(),
                                           static_cast<int>(kLogGridHeadings[column - 1].size())));
            left += width;
        }
    }
};

}  // namespace

LogTab::LogTab(HitLog& log, QWidget* parent) : QWidget(parent) {
    NewControl<LogHeader>(this, "log_header", TwipsRect(30, 45, 11415, 225));

    model_ = new LogGridModel(this);
    grdInfo = NewControl<QTableView>(this, "grdInfo", TwipsRect(30, 270, 11415, 4290));
    grdInfo->setModel(model_);
    grdInfo->horizontalHeader()->hide();
    grdInfo->verticalHeader()->hide();
    grdInfo->verticalHeader()->setDefaultSectionSize(17);
    grdInfo->setShowGrid(true);
    grdInfo->setWordWrap(false);
    grdInfo->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab reaches the grid and the arrows walk its cells (the current cell
    // framed), so a screen reader reads the log with each cell's heading.
    grdInfo->setSelectionMode(QAbstractItemView::NoSelection);
    grdInfo->setFocusPolicy(Qt::StrongFocus);
    grdInfo->setTabKeyNavigation(false);
    grdInfo->setAccessibleName("Log Scanner Hits");
    for (size_t column = 0; column < kLogGridColumns; ++column) {
        grdInfo->setColumnWidth(static_cast<int>(column), Px(kLogGridColumnWidths[column]));
    }
    grdInfo->setColumnHidden(0, true);
    const auto& rows = log.Text().Rows();
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) model_->Add(*row);
    connect(&log, &HitLog::RowAdded, model_, &LogGridModel::Add);
    connect(&log, &HitLog::Cleared, model_, &LogGridModel::Clear);
}

}  // namespace quorvane
