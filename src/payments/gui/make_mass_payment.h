#pragma once
// The mass-payment window of the four systems with payments: one class, the system's variants
// (payments/mass_payment.h, payments/payment_record.h) say what differs. It edits the list of
// payment records row by row with the payment dialog, fills it from a CSV file and checks it
// at OK; the account tab sends what it holds.
#include <QDialog>
#include <ctime>
#include <functional>
#include <string>

#include "payments/gui/make_payment_dialog.h"
#include "payments/mass_payment.h"
#include "store/table_file.h"

class QLineEdit;
class QTableView;

namespace pw {

class ListCommands;
class ModalUi;
class PaymentListModel;

// Group of the window placement in the per-user profile.
inline constexpr const char kMassPaymentPlacement[] = "PursewardMassPaymentWnd";

class CMakeMassPayment : public QDialog {
    Q_OBJECT
  public:
    // now: the clock of the row editor's date and time pickers.
    CMakeMassPayment(const MassPaymentVariant& variant, ModalUi& ui, std::string programDir,
                     std::function<std::time_t()> now, QWidget* parent = nullptr);
    ~CMakeMassPayment() override;

    // Filled by the opener: the payer text, its balance ("%.2f") and the records' source.
    std::string from, balance, source;
    // The list the window starts with (the preloaded scheduled records).
    void SetQueue(TextList records);
    const TextList& Queue() const { return queue_; }
    // Passed on to the row editor.
    void SetSchedulingAllowed(bool allowed) { schedulingAllowed_ = allowed; }
    void SetNameLookup(std::function<std::string(const std::string&)> lookup) {
        lookup_ = std::move(lookup);
    }
    void SetChooser(CMakePayment::Chooser chooser) { chooser_ = std::move(chooser); }
    // What runs the row editor (tests script it); default: exec().
    void SetEditorRunner(std::function<int(CMakePayment&)> run) { runEditor_ = std::move(run); }

    const MassPaymentVariant& Variant() const { return variant_; }
    // Result Amount, exact.
    Cents Result() const { return ResultAmount(queue_, variant_.Payment()); }

    void Add();
    void Edit();
    void Delete();
    void Import();
    void accept() override;
    void done(int result) override;

    QTableView* List() const { return list_; }
    PaymentListModel* Model() const { return model_; }
    ListCommands* Commands() const { return commands_; }
    QAction* ImportAction() const { return import_; }
    QLineEdit* FromEdit() const { return fromEdit_; }
    QLineEdit* BalanceEdit() const { return balanceEdit_; }
    QLineEdit* ResultEdit() const { return resultEdit_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    // Runs the row editor on record (empty: a new one); true and the record on OK.
    bool RunEditor(bool adding, const std::string& record, PaymentRecord& out);
    void Redraw(int select);

    const MassPaymentVariant& variant_;
    ModalUi& ui_;
    std::string programDir_;
    std::function<std::time_t()> now_;
    bool schedulingAllowed_ = false;
    std::function<std::string(const std::string&)> lookup_;
    CMakePayment::Chooser chooser_;
    std::function<int(CMakePayment&)> runEditor_;
    TextList queue_;
    ListTable table_;
    bool placed_ = false;

    QLineEdit* fromEdit_ = nullptr;
    QLineEdit* balanceEdit_ = nullptr;
    QLineEdit* resultEdit_ = nullptr;
    QTableView* list_ = nullptr;
    PaymentListModel* model_ = nullptr;
    ListCommands* commands_ = nullptr;
    QAction* import_ = nullptr;
};

// The classes of the other three systems, by name.
#define PW_MAKE_MASS_PAYMENT(Name, index)                                               \
    class Name : public CMakeMassPayment {                                              \
      public:                                                                           \
        Name(ModalUi& ui, std::string programDir, std::function<std::time_t()> now,     \
             QWidget* parent = nullptr)                                                 \
            : CMakeMassPayment(*MassPaymentVariantOf(index), ui, std::move(programDir), \
                               std::move(now), parent) {}                               \
    };
PW_MAKE_MASS_PAYMENT(CPMMakeMassPayment, 1)
PW_MAKE_MASS_PAYMENT(CVMMakeMassPayment, 2)
PW_MAKE_MASS_PAYMENT(CEGMakeMassPayment, 3)
#undef PW_MAKE_MASS_PAYMENT

}  // namespace pw
