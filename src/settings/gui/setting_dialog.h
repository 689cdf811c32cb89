#pragma once
// The "Settings" dialog: language, the four older payment systems' tabs, the two program
// passwords, the proxy and four display options. Everything is read from the settings file
// each time the dialog is shown and written back on OK; Cancel writes nothing.
#include <array>
#include <string>

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace pw {

class CPursewardApp;
class ModalUi;

class CSetting : public QDialog {
    Q_OBJECT
public:
    // ui shows this dialog's own messages; the password change asks through the app's.
    CSetting(CPursewardApp& app, ModalUi& ui, QWidget* parent = nullptr);
    ~CSetting() override;

    // The controls, for the window's tests.
    QComboBox* LanguageCombo() const { return language_; }
    QPushButton* SystemButton(int systemIndex) const;  // 0..3: LR, PM, VM, EG
    QLineEdit* RunPasswordEdit() const { return runPass_; }
    QLineEdit* PayPasswordEdit() const { return payPass_; }
    QLineEdit* ProxyHostEdit() const { return proxyHost_; }
    QLineEdit* ProxyPortEdit() const { return proxyPort_; }
    QLineEdit* ProxyUserEdit() const { return proxyUser_; }
    QLineEdit* ProxyPassEdit() const { return proxyPass_; }
    QCheckBox* CheckNewVersionBox() const { return checkNewVersion_; }
    QCheckBox* DateOnLastVisitBox() const { return dateOnLastVisit_; }
    QCheckBox* HideLastDigitBox() const { return hideLastDigit_; }
    QLineEdit* HideLastDigitEdit() const { return hideDigits_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

    // OK: checks the digit field, writes every value, changes the passwords when either
    // field changed, and tells of a needed restart. A non-numeric digit field keeps the
    // dialog open with "Enter an integer.".
    void accept() override;
    // Every close empties the password fields.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildControls();
    void LoadValues();
    void OnHideLastDigitClicked();
    void OnHideDigitsLeft();
    void ClearPasswordFields();

    CPursewardApp& app_;
    ModalUi& ui_;
    // The passwords as the dialog showed them.
    std::string shownRun_, shownPay_;

    QComboBox* language_ = nullptr;
    std::array<QPushButton*, 4> systems_{};
    QLineEdit* runPass_ = nullptr;
    QLineEdit* payPass_ = nullptr;
    QLineEdit* proxyHost_ = nullptr;
    QLineEdit* proxyPort_ = nullptr;
    QLineEdit* proxyUser_ = nullptr;
    QLineEdit* proxyPass_ = nullptr;
    QCheckBox* checkNewVersion_ = nullptr;
    QCheckBox* dateOnLastVisit_ = nullptr;
    QCheckBox* hideLastDigit_ = nullptr;
    QLineEdit* hideDigits_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace pw
