#include "accounts/gui/history_view.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "ui/base/modal_ui.h"
#include "ui/base/tr.h"
#include "ui/image/jpeg_writer.h"

namespace pw {

namespace {
QString Q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

CHistoryView::CHistoryView(ModalUi& ui, std::string recordText, std::string imageName,
                           QWidget* parent)
    : QDialog(parent),
      ui_(ui),
      recordText_(std::move(recordText)),
      imageName_(std::move(imageName)) {
    setWindowTitle(Purseward::tr("History Record - Purseward"));
    setAccessibleName(Purseward::tr("History Record"));

    edit_ = new QPlainTextEdit(this);
    edit_->setReadOnly(true);
    edit_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edit_->setTabChangesFocus(true);
    // Keyboard users can still move through the text and select it.
    edit_->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    edit_->setObjectName(QStringLiteral("recordEdit"));
    edit_->setAccessibleName(Purseward::tr("Record"));
    // The edit shows lines; the copied text keeps its CR LF.
    edit_->setPlainText(Q(recordText_).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));

    copyButton_ = new QPushButton(Purseward::tr("Copy to Clipboard"), this);
    copyButton_->setObjectName(QStringLiteral("copyButton"));
    copyButton_->setAccessibleName(Purseward::tr("Copy to Clipboard"));
    saveButton_ = new QPushButton(Purseward::tr("Save Screenshot"), this);
    saveButton_->setObjectName(QStringLiteral("saveButton"));
    saveButton_->setAccessibleName(Purseward::tr("Save Screenshot"));
    connect(copyButton_, &QPushButton::clicked, this, [this] { CopyToClipboard(); });
    connect(saveButton_, &QPushButton::clicked, this, [this] { SaveScreenshot(); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(copyButton_);
    buttons->addWidget(saveButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(edit_);
    layout->addLayout(buttons);
    setTabOrder(edit_, copyButton_);
    setTabOrder(copyButton_, saveButton_);
    resize(420, 230);
}

void CHistoryView::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // No selection: the caret stands at the start of the text.
    edit_->moveCursor(QTextCursor::Start);
    edit_->setFocus();
}

void CHistoryView::CopyToClipboard() {
    if (QClipboard* clipboard = QApplication::clipboard()) clipboard->setText(Q(recordText_));
}

QImage CHistoryView::GrabWindowImage() {
    QWidget* w = window();
    // Only X11 lets a program read the screen, frame and caption included; elsewhere
    // (Wayland, offscreen) the dialog draws itself.
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        if (QScreen* screen = w->screen()) {
            const QRect frame = w->frameGeometry();
            const QPoint at = frame.topLeft() - screen->geometry().topLeft();
            const QPixmap shot =
                screen->grabWindow(0, at.x(), at.y(), frame.width(), frame.height());
            if (!shot.isNull()) return shot.toImage();
        }
    }
    return w->grab().toImage();
}

std::string ReceiptFailedMessage(const std::string& path, const std::string& reason) {
    return (Purseward::tr(" The receipt image was not saved.") + QStringLiteral("\r\n") +
            Purseward::tr(" File %1 : %2.")
                .arg(QString::fromStdString(path), QString::fromStdString(reason)))
        .toStdString();
}

void CHistoryView::SaveScreenshot() {
    // The picture is taken before the Save As dialog covers anything.
    const QImage shot = GrabWindowImage().convertToFormat(QImage::Format_RGB888);
    const std::optional<std::string> path =
        ui_.SaveFileName(Purseward::tr("Save As").toStdString(), imageName_, "");
    if (!path || path->empty()) return;
    RgbImage image;
    image.data = shot.constBits();
    image.width = shot.width();
    image.height = shot.height();
    image.stride = static_cast<std::size_t>(shot.bytesPerLine());
    std::string error;
    if (!WriteJpegFile(*path, image, error)) ui_.Message(ReceiptFailedMessage(*path, error));
}

void ShowHistoryRecord(QWidget* parent, ModalUi& ui, const RecordDescription& description,
                       const std::string& row, const Masking& masking) {
    CHistoryView view(ui, RenderRecord(description, row, masking),
                      ReceiptImageName(description, row), parent);
    view.exec();
}

}  // namespace pw
