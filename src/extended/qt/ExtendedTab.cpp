#include "extended/qt/ExtendedTab.h"

#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>

#include "app/qt/AppFiles.h"
#include "app/qt/Controls.h"
#include "app/qt/ScannerText.h"
#include "app/qt/Twips.h"
#include "extended/ExtendedInfo.h"

namespace quorvane {
namespace {

// Drawn when neither the reception's picture nor the not-available picture
// can be shown.
QPixmap NotAvailablePicture(QSize size) {
    QPixmap picture(size);
    picture.fill(QColor(0xE0, 0xE0, 0xE0));
    QPainter p(&picture);
    p.setPen(QPen(QColor(150, 150, 150), 2, Qt::DashLine));
    p.drawRect(picture.rect().adjusted(4, 4, -5, -5));
    QFont font("DejaVu Sans");
    font.setPixelSize(18);
    p.setFont(font);
    p.setPen(QColor(90, 90, 90));
    p.drawText(picture.rect(), Qt::AlignCenter, "Not Avilable");
    return picture;
}

// The notes box hands the focus on as soon as it gets it, after refreshing.
class NotesBox : public QPlainTextEdit {
public:
    NotesBox(QWidget* parent, std::function<void()> onFocus) : QPlainTextEdit(parent), onFocus_(std::move(onFocus)) {}

protected:
    void focusInEvent(QFocusEvent* event) override {
        QPlainTextEdit::focusInEvent(event);
        onFocus_();
    }

private:
    std::function<void()> onFocus_;
};

}  // namespace

ExtendedTab::ExtendedTab(QString appDirectory, std::function<std::optional<ExtendedInfoSource>()> reception,
                         std::function<void()> focusPicture1, QWidget* parent)
    : QWidget(parent), appDirectory_(std::move(appDirectory)) {
    extended_info_frame =
        NewControl<QGroupBox>(this, "extended_info_frame", TwipsRect(180, 345, 7155, 3885), "Extended Info");
    extended_info_frame->setStyleSheet("QGroupBox { background: #e0e0e0; }");
    extended_text = new NotesBox(extended_info_frame, [this, reception, focusPicture1] {
        // The notes of what is received now, not of the last hit's start.
        if (const auto now = reception()) ExtendedInfoShow(*now);
        focusPicture1();
    });
    extended_text->setObjectName("extended_text");
    extended_text->setGeometry(TwipsRect(210, 405, 6675, 3300));
    extended_text->setReadOnly(true);
    extended_text->setStyleSheet("QPlainTextEdit { background: #e0e0e0; }");
    extended_photo = NewControl<QLabel>(this, "extended_photo", TwipsRect(7530, 465, 3750, 3750));
    extended_photo->setScaledContents(true);
}

void ExtendedTab::ExtendedInfoShow(const ExtendedInfoSource& source) {
    const LocalAppFiles files;
    const ExtendedInfoView view =
        quorvane::ExtendedInfoShow(source, FileSystemBytes(appDirectory_), files, ScannerNamePath);
    extended_info_frame->setTitle(ScreenText(view.Caption));
    QPixmap picture;
    if (!picture.load(FileSystemText(view.PicturePath))) picture = NotAvailablePicture(extended_photo->size());
    extended_photo->setPixmap(picture);
    if (view.Notes) extended_text->setPlainText(Windows1252Text(*view.Notes));
}

}  // namespace quorvane
