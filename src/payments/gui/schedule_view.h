#pragma once
// "Shedule Payments": the scheduled payments of every logged-in account, one list. It only
// shows; OK, Cancel and closing keep the column widths and the window placement.
#include <QDialog>
#include <string>

#include "store/table_file.h"

class QTableView;

namespace pw {

class PaymentListModel;

// Group of the window placement in the per-user profile.
inline constexpr const char kScheduleViewPlacement[] = "PursewardSheduleViewWnd";

class CSheduleView : public QDialog {
    Q_OBJECT
  public:
    // tags: the account tags of the logged-in tabs, in tab order (empty and repeated ones are
    // left out). programDir ends with "/".
    CSheduleView(std::string programDir, TextList tags, QWidget* parent = nullptr);

    QTableView* List() const { return list_; }
    PaymentListModel* Model() const { return model_; }

    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    std::string programDir_;
    TextList tags_;
    ListTable table_;
    bool placed_ = false;
    QTableView* list_ = nullptr;
    PaymentListModel* model_ = nullptr;
};

}  // namespace pw
