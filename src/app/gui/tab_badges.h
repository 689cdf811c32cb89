#pragma once
// The pictures of the shell: the badge of each payment system on its tab (its name in white
// on a plate of its colour, 88 x 25) and the program icon.
#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <string>

namespace pw {

inline constexpr QSize kTabBadgeSize{88, 25};

// Prefix and display name of system 0..5 (LR, PM, VM, EG, GDP, ECU); empty beyond.
std::string SystemPrefix(int systemIndex);
std::string SystemName(int systemIndex);
// The index of the first prefix that occurs in text, or -1.
int SystemOfPrefix(const std::string& text);

QPixmap TabBadge(int systemIndex);

// The program icon: the bundled SVG where an SVG reader is present, else the same picture
// drawn here.
QIcon ProgramIcon();

}  // namespace pw
