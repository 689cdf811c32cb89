#pragma once
// The About box: program name and version, OK, and a button that opens the program's site.
#include <QDialog>
#include <QUrl>
#include <functional>

class QLabel;
class QPushButton;

namespace pw {

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    // site: the address "Visit a program site" opens; openUrl does the opening (the desktop's
    // browser in the program, a recorder in tests).
    CAboutDlg(QUrl site, std::function<void(const QUrl&)> openUrl, QWidget* parent = nullptr);

    QLabel* VersionLabel() const { return version_; }
    QPushButton* VisitButton() const { return visit_; }
    QPushButton* OkButton() const { return ok_; }

private:
    QUrl site_;
    std::function<void(const QUrl&)> openUrl_;
    QLabel* version_;
    QPushButton* visit_;
    QPushButton* ok_;
};

}  // namespace pw
