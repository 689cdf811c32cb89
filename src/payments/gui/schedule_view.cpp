#include "payments/gui/schedule_view.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "payments/gui/payment_list.h"
#include "refs/gui/list_parts.h"
#include "ui/base/tr.h"
#include "ui/window_placement.h"

namespace pw {

namespace {

const std::vector<ListColumn>& ScheduleViewColumns() {
    static const std::vector<ListColumn> columns{
        {QT_TRANSLATE_NOOP("Purseward", "Payment Processor"), 110, Qt::AlignLeft},
        {QT_TRANSLATE_NOOP("Purseward", "To Account"), 110, Qt::AlignLeft},
        {QT_TRANSLATE_NOOP("Purseward", "Amount"), 60, Qt::AlignRight},
        {QT_TRANSLATE_NOOP("Purseward", "Memo"), 150, Qt::AlignLeft},
        {QT_TRANSLATE_NOOP("Purseward", "Shedule"), 60, Qt::AlignHCenter},
        {QT_TRANSLATE_NOOP("Purseward", "Date-Time"), 100, Qt::AlignLeft},
        {QT_TRANSLATE_NOOP("Purseward", "Send if failed"), 100, Qt::AlignHCenter}};
    return columns;
}

}  // namespace

CSheduleView::CSheduleView(std::string programDir, TextList tags, QWidget* parent)
    : QDialog(parent), programDir_(std::move(programDir)), tags_(std::move(tags)) {
    const QString caption = Purseward::tr("Shedule Payments");
    setObjectName(QStringLiteral("sheduleView"));
    setWindowTitle(caption);
    setAccessibleName(caption);
    setWindowIcon(QApplication::windowIcon());
    setSizeGripEnabled(true);

    list_ = new QTableView(this);
    SetUpReportList(list_, Purseward::tr("Scheduled payments"));
    model_ = new PaymentListModel(ScheduleViewColumns(), this);
    list_->setModel(model_);
    table_ = ApplyColumnWidths(list_, programDir_ + "Set/SheduleView.set");

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setAccessibleName(Purseward::tr("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setAccessibleName(Purseward::tr("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(buttons);
    resize(720, 300);

    model_->SetRows(ScheduleViewRows(programDir_, tags_));
    list_->setFocus();
}

void CSheduleView::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (placed_) return;
    placed_ = true;
    RestoreWindowPlacement(*this, QString::fromLatin1(kScheduleViewPlacement));
    FitIntoScreen(*this);
}

void CSheduleView::done(int result) {
    StoreColumnWidths(list_, table_);
    SaveWindowPlacement(*this, QString::fromLatin1(kScheduleViewPlacement));
    QDialog::done(result);
}

}  // namespace pw
