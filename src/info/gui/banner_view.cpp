#include "info/gui/banner_view.h"

#include <QEnterEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QStringDecoder>

#include "info/info_page.h"
#include "store/file_io.h"
#include "ui/base/tr.h"

namespace pw {
namespace {

constexpr std::size_t kStripFileLimit = 1 << 20;

// The strip page is windows-1251, as its head declares.
QString FromPage(const std::string& text) {
    QStringDecoder decoder("windows-1251");
    if (!decoder.isValid()) return QString::fromStdString(text);
    return decoder.decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
}

}  // namespace

CBannerView::CBannerView(OpenUrl openUrl, QWidget* parent)
    : QWidget(parent), openUrl_(std::move(openUrl)) {
    setObjectName(QStringLiteral("bannerView"));
    setAccessibleName(Purseward::tr("Banner"));
    setMouseTracking(true);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFixedHeight(sizeHint().height());
    timer_.setInterval(kStepMs);
    connect(&timer_, &QTimer::timeout, this, &CBannerView::Step);
    // Input is taken once a strip is shown.
    setEnabled(false);
}

QSize CBannerView::sizeHint() const { return QSize(635, 78); }

std::string CBannerView::ShowStrip(const std::string& path) {
    std::string page, told;
    std::uint64_t size = 0;
    if (ReadFileWithin(path, kStripFileLimit, page, &size) == FileRead::kTooLarge) {
        told = "The banner strip file " + path + " is " + std::to_string(size) +
               " bytes long, more than the " + std::to_string(kStripFileLimit) +
               " bytes a strip can be: it was not shown.";
    }
    content_ = ParseStrip(page);
    current_ = -1;
    offset_ = width() > 0 ? width() : sizeHint().width();
    if (!content_.background.empty()) Fetch(content_.background);
    for (const BannerEntry& e : content_.links) Fetch(e.image);
    UpdateScrolling();
    update();
    return told;
}

void CBannerView::Fetch(const std::string& url) {
    if (url.empty() || !fetch_ || images_.count(url) || pending_.count(url)) return;
    if (!IsWebAddress(url)) {
        images_[url] = QPixmap();
        return;
    }
    pending_.insert(url);
    fetch_(url, [guard = QPointer<CBannerView>(this), url](const std::string& bytes) {
        if (!guard) return;
        CBannerView* self = guard.data();
        self->pending_.erase(url);
        QPixmap pixmap;
        if (bytes.rfind(kHttpErrorMarker, 0) != 0)
            pixmap.loadFromData(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
        self->images_[url] = pixmap;
        self->update();
    });
}

bool CBannerView::HasImage(const std::string& url) const {
    auto it = images_.find(url);
    return it != images_.end() && !it->second.isNull();
}

int CBannerView::ContentWidth() const {
    const int n = static_cast<int>(content_.links.size());
    return n == 0 ? 0 : n * kImageWidth + (n - 1) * kGap;
}

QRect CBannerView::LinkRect(int index) const {
    return QRect(offset_ + index * (kImageWidth + kGap), (height() - kImageHeight) / 2,
                 kImageWidth, kImageHeight);
}

int CBannerView::LinkAt(const QPoint& pos) const {
    for (int i = 0; i < static_cast<int>(content_.links.size()); ++i)
        if (LinkRect(i).contains(pos)) return i;
    return -1;
}

bool CBannerView::OpenLink(int index) {
    if (index < 0 || index >= static_cast<int>(content_.links.size())) return false;
    const std::string& link = content_.links[index].link;
    if (!IsWebAddress(link)) return false;
    const QUrl url(QString::fromStdString(link), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return false;
    if (openUrl_) openUrl_(url);
    return true;
}

void CBannerView::Step() {
    offset_ -= kStepPx;
    if (offset_ + ContentWidth() < 0) offset_ = width();
    update();
}

void CBannerView::UpdateScrolling() {
    const bool run =
        isEnabled() && !hidden_ && !content_.links.empty() && !hovered_ && !hasFocus();
    if (run && !timer_.isActive()) timer_.start();
    else if (!run) timer_.stop();
}

void CBannerView::Select(int index) {
    const int n = static_cast<int>(content_.links.size());
    if (n == 0) return;
    current_ = std::clamp(index, 0, n - 1);
    // The chosen link moves to the left edge.
    offset_ = kGap - current_ * (kImageWidth + kGap);
    const QString title = FromPage(content_.links[current_].title);
    setAccessibleDescription(title);
    setToolTip(title);
    update();
}

void CBannerView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    auto bg = images_.find(content_.background);
    if (bg != images_.end() && !bg->second.isNull()) p.drawTiledPixmap(rect(), bg->second);
    p.setClipRect(rect().adjusted(1, 1, -1, -1));
    for (int i = 0; i < static_cast<int>(content_.links.size()); ++i) {
        const QRect r = LinkRect(i);
        if (!r.intersects(rect())) continue;
        auto it = images_.find(content_.links[i].image);
        if (it != images_.end() && !it->second.isNull()) {
            p.drawPixmap(r, it->second);
        } else {
            p.setPen(palette().color(QPalette::Text));
            p.drawRect(r.adjusted(0, 0, -1, -1));
            const QString title = FromPage(content_.links[i].title);
            p.drawText(r, Qt::AlignCenter, fontMetrics().elidedText(title, Qt::ElideRight,
                                                                    r.width() - 8));
        }
    }
    if (hasFocus() && current_ >= 0) {
        p.setPen(QPen(palette().color(QPalette::Highlight), 2));
        p.drawRect(LinkRect(current_).adjusted(1, 1, -1, -1));
    }
    p.setClipping(false);
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void CBannerView::enterEvent(QEnterEvent* event) {
    hovered_ = true;
    UpdateScrolling();
    QWidget::enterEvent(event);
}

void CBannerView::leaveEvent(QEvent* event) {
    hovered_ = false;
    UpdateScrolling();
    QWidget::leaveEvent(event);
}

void CBannerView::mouseMoveEvent(QMouseEvent* event) {
    if (!hovered_) {
        hovered_ = true;
        UpdateScrolling();
    }
    const int index = LinkAt(event->position().toPoint());
    setToolTip(index >= 0 ? FromPage(content_.links[index].title) : QString());
    setCursor(index >= 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
    QWidget::mouseMoveEvent(event);
}

void CBannerView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        OpenLink(LinkAt(event->position().toPoint()));
        event->accept();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

void CBannerView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Left: Select(current_ - 1); break;
    case Qt::Key_Right: Select(current_ + 1); break;
    case Qt::Key_Home: Select(0); break;
    case Qt::Key_End: Select(static_cast<int>(content_.links.size()) - 1); break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space: OpenLink(current_); break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

void CBannerView::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    UpdateScrolling();
    // The keyboard starts at the first link that is still in sight.
    int first = 0;
    while (first + 1 < static_cast<int>(content_.links.size()) && LinkRect(first).right() < 0)
        ++first;
    Select(first);
}

void CBannerView::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    UpdateScrolling();
    update();
}

void CBannerView::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) UpdateScrolling();
}

void CBannerView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    hidden_ = false;
    UpdateScrolling();
}

void CBannerView::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    hidden_ = true;
    UpdateScrolling();
}

}  // namespace pw
