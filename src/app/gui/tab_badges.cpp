#include "app/gui/tab_badges.h"

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
    const char* badge;  // text on the badge
    QRgb plate;
};

constexpr std::array<SystemLook, 6> kSystems{{
    {"LR", "Liberty Reserve", "Liberty Reserve", 0xff2e7d32},
    {"PM", "Perfect Money", "Perfect Money", 0xffc62828},
    {"VM", "V-Money", "V-Money", 0xff1565c0},
    {"EG", "e-gold", "e-gold", 0xffb8860b},
    {"GDP", "GDP", "GDP", 0xff6a1b9a},
    {"ECU", "ECUMoney", "ECUMoney", 0xff00838f},
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
    QPixmap pix(kTabBadgeSize);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor plate = Valid(systemIndex) ? QColor::fromRgba(kSystems[systemIndex].plate)
                                            : QColor(Qt::gray);
    p.setPen(QPen(plate.darker(140), 1));
    p.setBrush(plate);
    p.drawRoundedRect(QRectF(0.5, 0.5, kTabBadgeSize.width() - 1, kTabBadgeSize.height() - 1), 5, 5);
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(12);
    p.setFont(font);
    p.setPen(Qt::white);
    const QString text = Valid(systemIndex) ? QString::fromLatin1(kSystems[systemIndex].badge)
                                            : QStringLiteral("?");
    // A long name is narrowed to fit the plate rather than cut.
    const QRect box(3, 0, kTabBadgeSize.width() - 6, kTabBadgeSize.height());
    const int width = p.fontMetrics().horizontalAdvance(text);
    if (width > box.width()) {
        p.translate(box.center().x(), 0);
        p.scale(static_cast<double>(box.width()) / width, 1.0);
        p.translate(-box.center().x(), 0);
        p.drawText(QRect(box.center().x() - width / 2, 0, width, box.height()), Qt::AlignCenter,
                   text);
    } else {
        p.drawText(box, Qt::AlignCenter, text);
    }
    return pix;
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
