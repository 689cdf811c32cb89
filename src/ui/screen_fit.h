#pragma once
// Every window of the program opens inside the free area of its screen: one that would be
// larger is made smaller (its tables and lists scroll), one placed beside the area (a stored
// placement from a larger or a vanished screen) is moved onto it.
#include <QRect>

class QApplication;
class QObject;
class QWidget;

namespace pw {

// Where a window whose frame would be frame goes in the free area area: as large as it was
// but no larger than the area (nor smaller than minimum), then moved by the least distance
// that puts it inside.
QRect FitIntoArea(const QRect& frame, const QRect& area, const QSize& minimum);

// Applies FitIntoArea to a top-level window now (nothing for maximised or full-screen ones).
void FitToScreen(QWidget& window);

// From now on every top-level window is fitted when it is shown; deleting the returned
// object ends it.
QObject* InstallScreenFit(QApplication& app);

}  // namespace pw
