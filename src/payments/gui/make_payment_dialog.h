#pragma once
// The payment dialog of the four systems with payments: one class, the system's variant
// (payments/payment_record.h) says which fields it has. It collects and checks a payment and
// builds its record; it sends nothing and knows no tab, so the mass-payment window uses it as
// its row editor too (captions 123 "Add Record" and 124 "Edit Record").
#include <QDialog>
#include <ctime>
#include <functional>
#include <string>

#include "payments/payment_entry.h"
#include "payments/payment_record.h"

class QCheckBox;
class QDateEdit;
class QLineEdit;
class QPushButton;
class QTimeEdit;
class QToolButton;

namespace pw {

class ModalUi;
struct RefListSpec;

class CMakePayment : public QDialog {
    Q_OBJECT
  public:
    // now: the date and time pickers start at this local time.
    CMakePayment(const PaymentVariant& variant, ModalUi& ui, std::string programDir,
                 std::time_t now, QWidget* parent = nullptr);
    ~CMakePayment() override;

    // Filled by the opener before the dialog is shown. caption becomes the window caption
    // each time it is shown (134 "Make Payment"); from and balance are shown read-only;
    // source becomes the record's source field.
    std::string caption, from, balance, source;

    // Shows a record's fields (the mass-payment window's "Edit Record"); its failed mark is
    // kept in the record OK builds.
    void SetRecord(const PaymentRecord& record);
    // Scheduling needs a logged-in account (its tag names the schedule file): otherwise the
    // box is disabled and its tool tip says why.
    void SetSchedulingAllowed(bool allowed);
    // "Get Name" (LR, VM): the payee's name through the tab's client. Without one the button
    // is disabled.
    void SetNameLookup(std::function<std::string(const std::string& account)> lookup);
    // The reference-list chooser behind the two icon buttons: the chosen row ("~"-joined), or
    // empty. Default: the chooser window on the list's file below the program directory.
    using Chooser = std::function<std::string(QWidget* parent, const RefListSpec& list)>;
    void SetChooser(Chooser chooser) { chooser_ = std::move(chooser); }

    // After OK: the record (failed mark "no" unless SetRecord gave "yes") and the checked
    // amounts.
    const PaymentRecord& Record() const { return record_; }
    const EntryCheck& Checked() const { return checked_; }
    const PaymentVariant& Variant() const { return variant_; }

    // Controls, for the opener and for tests.
    QLineEdit* ToEdit() const { return to_; }
    QLineEdit* AmountEdit() const { return amount_; }
    QLineEdit* MemoEdit() const { return memo_; }
    QLineEdit* PaymentIdEdit() const { return paymentId_; }
    QLineEdit* NameEdit() const { return name_; }
    QLineEdit* FeeEdit() const { return fee_; }
    QLineEdit* OverallEdit() const { return overall_; }
    QCheckBox* ScheduleBox() const { return schedule_; }
    QCheckBox* RetryBox() const { return retry_; }
    QDateEdit* DateEdit() const { return date_; }
    QTimeEdit* TimeEdit() const { return time_; }
    QPushButton* GetNameButton() const { return getName_; }
    QToolButton* PayeeButton() const { return payeeButton_; }
    QToolButton* MemoButton() const { return memoButton_; }

    // Recomputes the PM fee and overall amount from Amount (shown and at loss of focus).
    void UpdateFee();
    void GetName();
    void ChoosePayee();
    void ChooseMemo();
    void accept() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void UpdateScheduleControls();
    PaymentEntry Entry() const;
    void Focus(EntryField field);

    const PaymentVariant& variant_;
    ModalUi& ui_;
    std::string programDir_;
    Chooser chooser_;
    std::function<std::string(const std::string&)> lookup_;
    bool failedMark_ = false;
    PaymentRecord record_;
    EntryCheck checked_;

    QLineEdit* fromEdit_ = nullptr;
    QLineEdit* balanceEdit_ = nullptr;
    QLineEdit* to_ = nullptr;
    QLineEdit* amount_ = nullptr;
    QLineEdit* memo_ = nullptr;
    QLineEdit* paymentId_ = nullptr;
    QLineEdit* name_ = nullptr;
    QLineEdit* fee_ = nullptr;
    QLineEdit* overall_ = nullptr;
    QPushButton* getName_ = nullptr;
    QToolButton* payeeButton_ = nullptr;
    QToolButton* memoButton_ = nullptr;
    QCheckBox* schedule_ = nullptr;
    QCheckBox* retry_ = nullptr;
    QDateEdit* date_ = nullptr;
    QTimeEdit* time_ = nullptr;
};

// The classes of the four systems, by name.
#define PW_MAKE_PAYMENT(Name, index)                                                            \
    class Name : public CMakePayment {                                                          \
      public:                                                                                   \
        Name(ModalUi& ui, std::string programDir, std::time_t now, QWidget* parent = nullptr)   \
            : CMakePayment(*PaymentVariantOf(index), ui, std::move(programDir), now, parent) {} \
    };
PW_MAKE_PAYMENT(CPMMakePayment, 1)
PW_MAKE_PAYMENT(CVMMakePayment, 2)
PW_MAKE_PAYMENT(CEGMakePayment, 3)
#undef PW_MAKE_PAYMENT

// The tool tip of the scheduling box before login.
extern const char kSchedulingNeedsLoginText[];

}  // namespace pw
