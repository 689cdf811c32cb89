#include "app/gui/tab_badges.h"

#include "settings/gui/logo_badge.h"

#include <QPainter>
#include <QPainterPath>
#include <array>

// The bundled resources live in this static library and must be registered by hand.
static void InitShellResources() { Q_INIT_RESOURCE(resources); }

namespace pw {
namespace {

struct SystemLook {
    const char* prefix;
    const char* name;
};

constexpr std::array<SystemLook, 6> kSystems{{
    {"LR", "Liberty Reserve"},
    {"PM", "Perfect Money"},
    {"VM", "V-Money"},
    {"EG", "e-gold"},
    {"GDP", "GDP"},
    {"ECU", "ECUMoney"},
}};

bool Valid(int i) { return i >= 0 && i < static_cast<int>(kSystems.size()); }

void PaintProgramIcon(QPainter& p, int side) {
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(side / 64.0, side / 64.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1f, 0x5f, 0x8b));
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);
    p.setPen(QPen(QColor(0xf2, 0xc1, 0x4e), 4));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(22, 10, 20, 20), 0, 180 * 16);
    p.setPen(QPen(QColor(0x7a, 0x5a, 0x12), 2));
    p.setBrush(QColor(0xf2, 0xc1, 0x4e));
    p.drawRoundedRect(QRectF(14, 20, 36, 34), 6, 6);
    QPainterPath shield;
    shield.moveTo(32, 30);
    shield.lineTo(40, 33);
    shield.lineTo(40, 39);
    shield.quadTo(40, 45, 32, 48);
    shield.quadTo(24, 45, 24, 39);
    shield.lineTo(24, 33);
    shield.closeSubpath();
    p.setPen(QPen(Qt::white, 1.5));
    p.setBrush(QColor(0x1f, 0x5f, 0x8b));
    p.drawPath(shield);
    p.setPen(QPen(Qt::white, 2));
    p.drawPolyline(QPolygonF({QPointF(28.5, 39), QPointF(31, 41.5), QPointF(36, 36)}));
}

}  // namespace

std::string SystemPrefix(int i) { return Valid(i) ? kSystems[i].prefix : std::string(); }
std::string SystemName(int i) { return Valid(i) ? kSystems[i].name : std::string(); }

int SystemOfPrefix(const std::string& text) {
    for (int i = 0; i < static_cast<int>(kSystems.size()); ++i) {
        if (text.find(kSystems[i].prefix) != std::string::npos) return i;
    }
    return -1;
}

QPixmap TabBadge(int systemIndex) {
    // The same badge as the settings dialog's toggle buttons, at the size of a tab image.
    return LogoBadge(systemIndex, kTabBadgeSize);
}

QIcon ProgramIcon() {
    InitShellResources();
    QIcon icon(QStringLiteral(":/icons/purseward.svg"));
    if (!icon.pixmap(QSize(32, 32)).isNull()) return icon;
    QIcon drawn;
    for (int side : {16, 24, 32, 48, 64, 128}) {
        QPixmap pix(side, side);
        pix.fill(Qt::transparent);
        QPainter p(&pix);
        PaintProgramIcon(p, side);
        p.end();
        drawn.addPixmap(pix);
    }
    return drawn;
}

}  // namespace pw
