#include "history/qt/HistoryChart.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsTextItem>
#include <QHorizontalBarSeries>
#include <QSet>
#include <QValueAxis>

#include "history/HistoryView.h"

namespace quorvane {
namespace {

// Qt Charts draws a label whole only when its text and 4 pixels either side
// fit in its share of the axis; less, and it draws "...". A little more is
// kept for rounding.
constexpr int kLabelPadding = 12;
// Channel names take at most this part of the chart's width.
constexpr double kNameShare = 0.38;
constexpr int kMostChannels = 10;
constexpr int kFewestChannels = 3;

QFont LabelFont(const QWidget* widget) {
    QFont font = widget->font();
    font.setPointSizeF(font.pointSizeF() * 0.85);
    return font;
}

}  // namespace

HistoryChart::HistoryChart(QWidget* parent) : QChartView(new QChart, parent) {
    setRenderHint(QPainter::Antialiasing);
    chart()->legend()->hide();
    chart()->setMargins(QMargins(2, 2, 2, 2));
}

void HistoryChart::ShowHours(const std::array<qint64, 24>& hours) {
    shown_ = Shown::Hours;
    hours_ = hours;
    Draw();
}

void HistoryChart::ShowChannels(const std::vector<ChannelCount>& channels) {
    shown_ = Shown::Channels;
    channels_ = channels;
    Draw();
}

void HistoryChart::Clear() {
    shown_ = Shown::Nothing;
    Draw();
}

void HistoryChart::resizeEvent(QResizeEvent* event) {
    QChartView::resizeEvent(event);
    if (shown_ != Shown::Nothing) Draw();
}

void HistoryChart::Draw() {
    QChart* plot = chart();
    plot->removeAllSeries();
    for (QAbstractAxis* axis : plot->axes()) {
        plot->removeAxis(axis);
        delete axis;
    }
    if (shown_ == Shown::Nothing) return;
    const QFont font = LabelFont(this);
    const QFontMetrics metrics(font);
    const int width = std::max(viewport()->width(), 100);
    const int height = std::max(viewport()->height(), 100);
    auto* set = new QBarSet("Hits");
    qint64 top = 0;
    QAbstractBarSeries* series = nullptr;
    QAbstractAxis* names = nullptr;
    if (shown_ == Shown::Hours) {
        for (const qint64 count : hours_) {
            *set << static_cast<qreal>(count);
            top = std::max(top, count);
        }
        series = new QBarSeries;
        // Bar n stands at n on a value axis that is labelled every step
        // hours, as many as fit.
        auto* hours = new QValueAxis;
        hours->setRange(-0.5, 23.5);
        const double plotWidth = width - metrics.horizontalAdvance("00000") - 2 * kLabelPadding;
        const int step = HourLabelStep(plotWidth / 25.0, metrics.horizontalAdvance("24") + kLabelPadding);
        hours->setTickType(QValueAxis::TicksDynamic);
        hours->setTickAnchor(0);
        hours->setTickInterval(step);
        hours->setLabelFormat("%d");
        hours->setGridLineVisible(false);
        names = hours;
    } else {
        // Busiest at the top, as many as have a line of the chart's height
        // each; long names lose their middle, and names that come out alike
        // stay apart (the axis needs each label once).
        const int lines = (height - 2 * metrics.height() - 2 * kLabelPadding) / (metrics.height() + kLabelPadding);
        const size_t shown = std::min(channels_.size(), static_cast<size_t>(std::clamp(lines, kFewestChannels, kMostChannels)));
        const int room = static_cast<int>(width * kNameShare) - kLabelPadding;
        QStringList labels;
        QSet<QString> seen;
        for (auto channel = channels_.rend() - static_cast<std::ptrdiff_t>(shown); channel != channels_.rend(); ++channel) {
            *set << static_cast<qreal>(channel->Hits);
            top = std::max(top, channel->Hits);
            QString label = channel->Channel.isEmpty() ? QString("(none)") : channel->Channel;
            label = metrics.elidedText(label, Qt::ElideMiddle, room);
            while (seen.contains(label)) label += QChar(0x200B);
            seen.insert(label);
            labels << label;
        }
        series = new QHorizontalBarSeries;
        auto* channels = new QBarCategoryAxis;
        channels->append(labels);
        names = channels;
    }
    names->setLabelsFont(font);
    series->append(set);
    plot->addSeries(series);
    auto* counts = new QValueAxis;
    const bool perHour = shown_ == Shown::Hours;
    // As many ticks as have room for their labels.
    const int countRoom = perHour ? height - 2 * metrics.height() : width - static_cast<int>(width * kNameShare);
    const int labelRoom = perHour ? metrics.height() + kLabelPadding
                                  : metrics.horizontalAdvance(QString::number(top * 2 + 1)) + kLabelPadding;
    const CountAxis axis = CountAxisFor(top, std::clamp(countRoom / labelRoom - 1, 1, 8));
    counts->setRange(0, static_cast<qreal>(axis.Max));
    counts->setTickType(QValueAxis::TicksDynamic);
    counts->setTickAnchor(0);
    counts->setTickInterval(static_cast<qreal>(axis.Step));
    counts->setLabelFormat("%d");
    counts->setLabelsFont(font);
    plot->addAxis(names, perHour ? Qt::AlignBottom : Qt::AlignLeft);
    plot->addAxis(counts, perHour ? Qt::AlignLeft : Qt::AlignBottom);
    series->attachAxis(names);
    series->attachAxis(counts);
}

QStringList HistoryChart::DrawnLabels() const {
    QStringList labels;
    for (QGraphicsItem* item : scene()->items()) {
        if (!item->isVisible()) continue;
        if (const auto* text = dynamic_cast<QGraphicsTextItem*>(item)) labels << text->toPlainText();
        if (const auto* text = dynamic_cast<QGraphicsSimpleTextItem*>(item)) labels << text->text();
    }
    return labels;
}

}  // namespace quorvane
