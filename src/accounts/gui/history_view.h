#pragma once
// The record dialog of one history row: the record text in a read-only edit, a button that
// copies it and one that saves a picture of the dialog as a JPEG receipt.
#include <QDialog>
#include <QImage>
#include <string>

#include "accounts/record_text.h"

class QPlainTextEdit;
class QPushButton;

namespace pw {

class ModalUi;

class CHistoryView : public QDialog {
    Q_OBJECT
public:
    // recordText: lines ended by CR LF; imageName: the proposed receipt file, a bare name.
    CHistoryView(ModalUi& ui, std::string recordText, std::string imageName,
                 QWidget* parent = nullptr);

    // Puts the record text on the clipboard, replacing what it held.
    void CopyToClipboard();
    // Captures the dialog, asks for the file (proposing the image name) and writes the JPEG.
    // Cancel writes nothing; a failure tells the user which file was not written.
    void SaveScreenshot();
    // The dialog's whole window as it is shown: with frame and caption where the window
    // system lets them be read from the screen, else the dialog's own rendering.
    QImage GrabWindowImage();

    const std::string& RecordText() const { return recordText_; }
    const std::string& ImageName() const { return imageName_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    ModalUi& ui_;
    std::string recordText_;
    std::string imageName_;
    QPlainTextEdit* edit_ = nullptr;
    QPushButton* copyButton_ = nullptr;
    QPushButton* saveButton_ = nullptr;
};

// The message of a receipt that could not be saved; names the file and the reason.
std::string ReceiptFailedMessage(const std::string& path, const std::string& reason);

// Shows the record dialog of a history row modally (double-click on the row).
void ShowHistoryRecord(QWidget* parent, ModalUi& ui, const RecordDescription& description,
                       const std::string& row, const Masking& masking);

}  // namespace pw
