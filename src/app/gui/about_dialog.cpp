#include "app/gui/about_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/gui/tab_badges.h"
#include "ui/base/strings.h"
#include "ui/base/tr.h"

namespace pw {

CAboutDlg::CAboutDlg(QUrl site, std::function<void(const QUrl&)> openUrl, QWidget* parent)
    : QDialog(parent), site_(std::move(site)), openUrl_(std::move(openUrl)) {
    setWindowTitle(Purseward::tr("About Purseward"));
    const QIcon icon = ProgramIcon();
    setWindowIcon(icon);

    auto* picture = new QLabel(this);
    picture->setPixmap(icon.pixmap(32, 32));
    picture->setAccessibleName(Purseward::tr("Purseward icon"));
    version_ = new QLabel(
        Purseward::tr("Purseward Version %1").arg(QString::fromStdString(Str(102))), this);
    version_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    visit_ = new QPushButton(Purseward::tr("&Visit a program site"), this);
    visit_->setAccessibleName(Purseward::tr("Visit a program site"));
    visit_->setToolTip(site_.toString());
    visit_->setAutoDefault(false);
    ok_ = new QPushButton(Purseward::tr("OK"), this);
    ok_->setDefault(true);

    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(visit_, &QPushButton::clicked, this, [this] {
        if (openUrl_ && site_.isValid()) openUrl_(site_);
    });

    auto* text = new QHBoxLayout;
    text->addWidget(picture);
    text->addWidget(version_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(visit_);
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(text);
    layout->addLayout(buttons);
    ok_->setFocus();
}

}  // namespace pw
