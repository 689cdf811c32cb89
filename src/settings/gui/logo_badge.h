#pragma once
// Small drawn badges that stand for the payment systems on buttons and tabs: the system's
// prefix in white on a rounded plate of the system's colour.
#include <QColor>
#include <QPixmap>
#include <QSize>

namespace pw {

// systemIndex 0..5 (LR, PM, VM, EG, GDP, ECU); any other index gets a grey "?" badge.
// An empty size gives a null pixmap.
QPixmap LogoBadge(int systemIndex, QSize size);

// The plate colour of a system's badge.
QColor LogoBadgeColor(int systemIndex);

}  // namespace pw
