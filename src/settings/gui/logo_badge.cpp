#include "settings/gui/logo_badge.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <array>

namespace pw {
namespace {

struct Badge {
    const char* text;
    QRgb plate;
};

constexpr std::array<Badge, 6> kBadges = {{
    {"LR", 0xFFB71C1C},   // deep red
    {"PM", 0xFFE65100},   // orange
    {"VM", 0xFF2E7D32},   // green
    {"EG", 0xFFB8860B},   // gold
    {"GDP", 0xFF1565C0},  // blue
    {"ECU", 0xFF6A1B9A},  // purple
}};
constexpr Badge kUnknown = {"?", 0xFF757575};

const Badge& BadgeOf(int systemIndex) {
    if (systemIndex < 0 || systemIndex >= static_cast<int>(kBadges.size())) return kUnknown;
    return kBadges[static_cast<std::size_t>(systemIndex)];
}

}  // namespace

QColor LogoBadgeColor(int systemIndex) { return QColor::fromRgba(BadgeOf(systemIndex).plate); }

QPixmap LogoBadge(int systemIndex, QSize size) {
    if (size.isEmpty()) return QPixmap();
    const Badge& badge = BadgeOf(systemIndex);

    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    const QRectF plate = QRectF(pixmap.rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal radius = qMin(plate.width(), plate.height()) / 4.0;
    const QColor colour = QColor::fromRgba(badge.plate);
    QLinearGradient shade(plate.topLeft(), plate.bottomLeft());
    shade.setColorAt(0.0, colour.lighter(125));
    shade.setColorAt(1.0, colour.darker(115));
    p.setPen(QPen(colour.darker(150), 1.0));
    p.setBrush(shade);
    p.drawRoundedRect(plate, radius, radius);

    // The largest bold font whose text fits the plate with a small margin.
    QFont font;
    font.setBold(true);
    const QRectF room = plate.adjusted(plate.width() * 0.08, plate.height() * 0.12,
                                       -plate.width() * 0.08, -plate.height() * 0.12);
    int px = qMax(1, static_cast<int>(room.height()));
    for (; px > 1; --px) {
        font.setPixelSize(px);
        const QFontMetricsF fm(font);
        if (fm.horizontalAdvance(QString::fromLatin1(badge.text)) <= room.width() &&
            fm.height() <= room.height() * 1.25)
            break;
    }
    font.setPixelSize(px);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(plate, Qt::AlignCenter, QString::fromLatin1(badge.text));
    p.end();
    return pixmap;
}

}  // namespace pw
