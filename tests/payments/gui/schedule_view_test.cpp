// The schedule view: rows of every tag in their tones, the stored column widths and placement,
// and the schedule files left as they were.
#include "payments/gui/schedule_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QColor>
#include <QHeaderView>
#include <QPalette>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "../../store/temp_dir.h"
#include "payments/gui/payment_list.h"
#include "store/schedule_file.h"
#include "ui/window_placement.h"

namespace pw {
namespace {

void EnsureApp() {
    static int argc = 1;
    static char name[] = "schedule_view_test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = QApplication::instance() ? nullptr : new QApplication(argc, argv);
    (void)app;
    static QTemporaryDir profile;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, profile.path());
}

QString Cell(QTableView* v, int row, int column, int role = Qt::DisplayRole) {
    return v->model()->index(row, column).data(role).toString();
}

TEST(ScheduleView, ShowsTheSchedulesOfEveryTagAndChangesNothing) {
    EnsureApp();
    testing::TempDir dir;
    ASSERT_TRUE(SaveSchedule(dir.Path(), "LR_U1234567",
                             {"U7654321~5~rent~yes~39904.500000~no~LRUSD~no",
                              "U1111111~2.5~tea~yes~39905.500000~no~LRUSD~yes"}));
    ASSERT_TRUE(SaveSchedule(dir.Path(), "PM_1234567",
                             {"U7654321~100~m~INV-1~yes~39906.250000~yes~U1234567~no"}));
    const std::string lrBefore = testing::ReadAll(dir / "Set/LR_U1234567.sav");
    const std::string pmBefore = testing::ReadAll(dir / "Set/PM_1234567.sav");

    CSheduleView view(dir.Path(), {"LR_U1234567", "PM_1234567", "LR_U1234567", "", "VM_none"});
    view.show();
    QTableView* list = view.List();
    EXPECT_EQ(view.windowTitle(), "Shedule Payments");
    const QStringList titles{"Payment Processor", "To Account", "Amount",        "Memo",
                             "Shedule",           "Date-Time",  "Send if failed"};
    const std::vector<int> widths{110, 110, 60, 150, 60, 100, 100};
    ASSERT_EQ(list->model()->columnCount(), 7);
    for (int c = 0; c < 7; ++c) {
        EXPECT_EQ(list->model()->headerData(c, Qt::Horizontal).toString(), titles[c]);
        EXPECT_EQ(list->columnWidth(c), widths[static_cast<std::size_t>(c)]);
    }
    ASSERT_EQ(list->model()->rowCount(), 3);
    EXPECT_EQ(Cell(list, 0, 0), " LR_U1234567");
    EXPECT_EQ(Cell(list, 2, 0), " PM_1234567");
    EXPECT_EQ(Cell(list, 2, 2), "100.00");
    EXPECT_EQ(Cell(list, 2, 3), " m");  // the payment ID is not shown
    EXPECT_EQ(Cell(list, 1, 5), " 2009-04-02 12:00");
    const auto align = [&](int c) {
        return list->model()->index(0, c).data(Qt::TextAlignmentRole).toInt() &
               Qt::AlignHorizontal_Mask;
    };
    EXPECT_EQ(align(2), Qt::AlignRight);
    EXPECT_EQ(align(4), Qt::AlignHCenter);
    EXPECT_EQ(align(1), Qt::AlignLeft);
    const QColor grey = QApplication::palette().color(QPalette::Disabled, QPalette::Text);
    EXPECT_EQ(list->model()->index(0, 1).data(Qt::ForegroundRole).value<QColor>(), grey);
    EXPECT_EQ(list->model()->index(1, 1).data(Qt::ForegroundRole).value<QColor>(),
              QColor(255, 0, 0));

    // Closing by key keeps the widths and the placement; the schedules stay as they were.
    list->setColumnWidth(3, 222);
    QTest::keyClick(&view, Qt::Key_Escape);
    EXPECT_FALSE(view.isVisible());
    EXPECT_EQ(testing::ReadAll(dir / "Set/SheduleView.set"),
              "ColumnWidth=110;110;60;222;60;100;100\r\n");
    EXPECT_TRUE(QSettings(kProfileOrganization, kProfileApplication)
                    .contains(QStringLiteral("PursewardSheduleViewWnd/Right")));
    EXPECT_EQ(testing::ReadAll(dir / "Set/LR_U1234567.sav"), lrBefore);
    EXPECT_EQ(testing::ReadAll(dir / "Set/PM_1234567.sav"), pmBefore);

    CSheduleView again(dir.Path(), {});
    EXPECT_EQ(again.List()->columnWidth(3), 222);
    EXPECT_EQ(again.List()->model()->rowCount(), 0);
}

TEST(ScheduleView, WidthsOfAnotherColumnCountGiveTheDefaults) {
    EnsureApp();
    testing::TempDir dir;
    std::filesystem::create_directories(dir / "Set");
    for (const char* stored : {"ColumnWidth=50;50;50\r\n", "ColumnWidth=1;2;3;4;5;6;7;8\r\n", ""}) {
        std::ofstream(dir / "Set/SheduleView.set", std::ios::binary) << stored;
        CSheduleView view(dir.Path(), {});
        EXPECT_EQ(view.List()->columnWidth(0), 110) << stored;
        EXPECT_EQ(view.List()->columnWidth(6), 100) << stored;
    }
}

}  // namespace
}  // namespace pw
