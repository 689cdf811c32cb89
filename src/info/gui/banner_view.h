#pragma once
// The banner strip: the image links of a strip file scroll to the left, stop while the mouse
// is over the strip (or it has the keyboard focus), show a link's title as tool tip, and open
// a clicked link in the browser. Images are fetched once per run.
#include <QPixmap>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <functional>
#include <map>
#include <set>
#include <string>

#include "info/banner_strip.h"

namespace pw {

class CBannerView : public QWidget {
    Q_OBJECT
public:
    // Fetches an image; done gets the bytes (or an error text) on the user-interface thread.
    using ImageFetch = std::function<void(const std::string& url,
                                          std::function<void(const std::string& bytes)> done)>;
    using OpenUrl = std::function<void(const QUrl&)>;

    explicit CBannerView(OpenUrl openUrl, QWidget* parent = nullptr);

    void SetImageFetch(ImageFetch fetch) { fetch_ = std::move(fetch); }
    // Reads the strip file and shows its links; an unreadable file shows an empty strip, and
    // so does one longer than a strip can be (never half of it): the text returned for the
    // event log then names the file and its size. Empty otherwise.
    std::string ShowStrip(const std::string& path);

    const StripContent& Content() const { return content_; }
    // Left edge of the first link, in widget co-ordinates.
    int Offset() const { return offset_; }
    bool IsScrolling() const { return timer_.isActive(); }
    // Index of the link under pos, or -1.
    int LinkAt(const QPoint& pos) const;
    QRect LinkRect(int index) const;
    int CurrentLink() const { return current_; }
    bool HasImage(const std::string& url) const;
    // Opens the link if its address is http or https; false otherwise.
    bool OpenLink(int index);

    QSize sizeHint() const override;

    static constexpr int kImageWidth = 468;
    static constexpr int kImageHeight = 60;
    static constexpr int kGap = 4;            // the blank between two images
    static constexpr int kStepPx = 1;
    static constexpr int kStepMs = 20;        // 50 pixels a second, as the marquee scrolls

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void Step();
    void UpdateScrolling();
    void Select(int index);
    void Fetch(const std::string& url);
    int ContentWidth() const;

    OpenUrl openUrl_;
    ImageFetch fetch_;
    StripContent content_;
    std::map<std::string, QPixmap> images_;  // by address; a null pixmap: the fetch failed
    std::set<std::string> pending_;
    QTimer timer_;
    int offset_ = 0;
    int current_ = -1;  // link chosen from the keyboard
    bool hovered_ = false;
    bool hidden_ = false;  // hidden after being shown (the window went to the tray)
};

}  // namespace pw
