#include "ui/qt_modal_ui.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <climits>

#include "ui/base/tr.h"

namespace pw {
namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

std::optional<std::string> Picked(const QString& name) {
    if (name.isEmpty()) return std::nullopt;
    return name.toStdString();
}

}  // namespace

std::optional<std::string> FallbackPasswordPrompt(QWidget* parent) {
    bool ok = false;
    const QString text =
        QInputDialog::getText(parent, Purseward::tr("Password"), Purseward::tr("&Password:"),
                              QLineEdit::Password, QString(), &ok);
    if (!ok) return std::nullopt;
    return text.toStdString();
}

std::optional<std::string> FallbackMasterKeyPrompt(QWidget* parent) {
    QDialog dlg(parent);
    dlg.setWindowTitle(Purseward::tr("Master-key"));
    auto* label = new QLabel(Purseward::tr("&Master-key:"), &dlg);
    auto* edit = new QPlainTextEdit(&dlg);
    edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    edit->setAccessibleName(Purseward::tr("Master-key"));
    edit->setTabChangesFocus(true);
    label->setBuddy(edit);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dlg);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dlg);
    layout->addWidget(label);
    layout->addWidget(edit);
    layout->addWidget(buttons);
    edit->setFocus();
    if (dlg.exec() != QDialog::Accepted) return std::nullopt;
    return edit->toPlainText().toStdString();
}

QtModalUi::QtModalUi()
    : passwordPrompt_(FallbackPasswordPrompt), masterKeyPrompt_(FallbackMasterKeyPrompt) {}

QWidget* QtModalUi::DialogParent() {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return QApplication::activeWindow();
}

void QtModalUi::Message(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Purseward"), TrText(text), QMessageBox::Ok,
                    DialogParent());
    box.exec();
}

bool QtModalUi::AskYesNo(const std::string& text) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Purseward"), TrText(text),
                    QMessageBox::Yes | QMessageBox::No, DialogParent());
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

std::optional<std::string> QtModalUi::PromptPassword() { return passwordPrompt_(DialogParent()); }

std::optional<std::string> QtModalUi::PromptMasterKey() {
    return masterKeyPrompt_(DialogParent());
}

std::optional<int> QtModalUi::PromptNumber(const std::string& caption, const std::string& label,
                                           int value) {
    if (numberPrompt_) return numberPrompt_(DialogParent(), caption, label, value);
    bool ok = false;
    const int n =
        QInputDialog::getInt(DialogParent(), Q(caption), Q(label), value, INT_MIN, INT_MAX, 1, &ok);
    if (!ok) return std::nullopt;
    return n;
}

std::optional<std::string> QtModalUi::OpenFileName(const std::string& title,
                                                   const std::string& dir,
                                                   const std::string& filter) {
    return Picked(
        QFileDialog::getOpenFileName(DialogParent(), TrText(title), Q(dir), TrText(filter)));
}

std::optional<std::string> QtModalUi::SaveFileName(const std::string& title,
                                                   const std::string& suggested,
                                                   const std::string& filter) {
    // The default options ask before an existing file is replaced; there is no read-only box.
    return Picked(QFileDialog::getSaveFileName(DialogParent(), TrText(title), Q(suggested),
                                               TrText(filter), nullptr, QFileDialog::Options()));
}

}  // namespace pw
