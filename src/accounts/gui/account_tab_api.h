#pragma once
// What the main window knows of an account tab page.
#include <QWidget>

namespace pw {

class CPursewardApp;
class TabHost;

class AccountTabWidget : public QWidget {
    Q_OBJECT
public:
    explicit AccountTabWidget(int systemIndex, QWidget* parent = nullptr)
        : QWidget(parent), systemIndex_(systemIndex) {}
    int SystemIndex() const { return systemIndex_; }
    // Writes the tab's settings section and the column widths of its tables.
    virtual void SaveState() {}

private:
    int systemIndex_;
};

// Creates the tab page of a system (0..5: LR, PM, VM, EG, GDP, ECU). Systems whose tab is
// not built yet get an empty page.
AccountTabWidget* CreateAccountTab(int systemIndex, CPursewardApp& app, TabHost& host,
                                   QWidget* parent);

}  // namespace pw
