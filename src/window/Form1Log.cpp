// The hit log of the main window: the "Log" tab's grid, the run's log file,
// "Clear Log", the log folder and the "Log To Text File" switch.
#include <QCheckBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>

#include "app/qt/AppFiles.h"
#include "app/qt/Controls.h"
#include "window/Form1.h"
#include "monitor/qt/LogGridModel.h"
#include "app/qt/ScannerText.h"
#include "app/qt/Twips.h"

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

void Form1::BuildLogTab(QWidget* tab) {
    NewControl<LogHeader>(tab, "log_header", TwipsRect(30, 45, 11415, 225));

    gridModel_ = new LogGridModel(this);
    grdInfo = NewControl<QTableView>(tab, "grdInfo", TwipsRect(30, 270, 11415, 4290));
    grdInfo->setModel(gridModel_);
    grdInfo->horizontalHeader()->hide();
    grdInfo->verticalHeader()->hide();
    grdInfo->verticalHeader()->setDefaultSectionSize(17);
    grdInfo->setShowGrid(true);
    grdInfo->setWordWrap(false);
    grdInfo->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdInfo->setSelectionMode(QAbstractItemView::NoSelection);
    grdInfo->setFocusPolicy(Qt::NoFocus);
    for (size_t column = 0; column < kLogGridColumns; ++column) {
        grdInfo->setColumnWidth(static_cast<int>(column), Px(kLogGridColumnWidths[column]));
    }
    grdInfo->setColumnHidden(0, true);
}

void Form1::BuildLogSettings(QWidget* tab) {
    auto* frame = NewControl<QGroupBox>(tab, "Frame2", TwipsRect(4200, 120, 3600, 2100), "Log Settings");

    LogTextCheck = NewControl<QCheckBox>(frame, "LogTextCheck", TwipsRect(150, 330, 2400, 300), "Log To Text File");
    connect(LogTextCheck, &QCheckBox::clicked, this, &Form1::LogTextCheck_Click);
    BuildRecordingControls(frame);

    BuildHarvestControls(frame);

    log_dir = NewControl<QPushButton>(frame, "log_dir", TwipsRect(150, 1050, 1600, 380), "Log Directory");
    connect(log_dir, &QPushButton::clicked, this, &Form1::log_dir_Click);

    key_clear_log = NewControl<QPushButton>(this, "key_clear_log", TwipsRect(4500, 7875, 1500, 360), "Clear Log");
    connect(key_clear_log, &QPushButton::clicked, this, &Form1::key_clear_log_Click);
    connect(SSTab1, &QTabWidget::currentChanged, this, &Form1::SSTab1_Click);
}

QString Form1::LogFilePathNow() const {
    return FileSystemText(LogFilePath(LogFolderBytes(pgm_.logDirectory, appDirectory_), launchDate_, launchTime_));
}

void Form1::AddLogLine(const std::string& line) {
    log_.Prepend(line);
    LogChanged();
}

void Form1::LogChanged() {
    if (LogTextCheck->isChecked()) WriteLogFile();
    gridModel_->Fill(log_.Text());
}

void Form1::WriteLogFile() {
    const QString path = LogFilePathNow();
    QString error;
    if (WriteFileAtomically(path, log_.FileContent(), &error)) {
        logWriteFailing_ = false;
        return;
    }
    // Report once; the grid keeps logging and the next hit tries again.
    if (logWriteFailing_) return;
    logWriteFailing_ = true;
    Tell(QString("The log file %1 cannot be written (%2).\nHits are still shown on the Log tab. "
                 "Choose another folder with \"Log Directory\".")
             .arg(path, error));
}

void Form1::LogTextCheck_Click() {
    pgm_.logText = LogTextCheck->isChecked() ? 1 : 0;
    if (LogTextCheck->isChecked()) WriteLogFile();
    FocusPicture1();
}

void Form1::log_dir_Click() {
    const QString chosen = chooseFolder_ ? chooseFolder_()
                                         : QFileDialog::getExistingDirectory(this, "Log Directory", QDir::homePath());
    // A folder is file-system text, kept as the file system's bytes.
    pgm_.logDirectory = FileSystemBytes(QDir::toNativeSeparators(chosen));
    if (IsUsableLogFolder(pgm_.logDirectory)) {
        Tell("Log Directory now set to " + FileSystemText(pgm_.logDirectory));
    } else {
        pgm_.logDirectory = FileSystemBytes(appDirectory_);
        Tell("Log Directory defaulting back to " + appDirectory_);
    }
    FocusPicture1();
}

void Form1::key_clear_log_Click() {
    log_.Clear();
    LogChanged();
    FocusPicture1();
}

void Form1::SSTab1_Click(int tab) {
    if (tab >= 0 && tab < kTabCount) key_clear_log->setVisible(tab == 0);
}

void Form1::Tell(const QString& text, std::function<void()> onClosed) {
    lastMessage_ = text;
    auto* box = new QMessageBox(QMessageBox::NoIcon, "BC246T Quorvane", text, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setObjectName("message");
    if (onClosed) connect(box, &QMessageBox::finished, this, [onClosed] { onClosed(); });
    box->open();
}

}  // namespace quorvane
