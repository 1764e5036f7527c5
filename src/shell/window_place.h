// Where the main window goes, and how its place is kept: the settings file
// stores positions in twips, fifteen to a pixel.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>

namespace zk {

inline constexpr int kTwipsPerPixel = 15;

// The place of a window of `size` for the stored twips: that place, or the
// centre of `area` (the work area of its screen) when none is stored
// (a negative value) or when the centre of the stored place lies on no
// screen (onSomeScreen false).
QPoint PlaceForStored(int leftTwips, int topTwips, QSize size, QRect area,
                      const std::function<bool(QPoint)> &onSomeScreen);

// A window's frame of `wanted` size with its top left corner at `topLeft`,
// fitted into `area` (the work area of its screen): no larger than the area,
// and moved (up when it grew downwards) only as far as it must to lie inside.
QRect FitInArea(QPoint topLeft, QSize wanted, QRect area);

// A form opened at the mouse pointer: its top left corner there, moved back
// inside `screen` where it would overflow it (to the screen's top left
// corner when it is larger than the screen).
QPoint PlaceAtPointer(QPoint pointer, QSize size, QRect screen);

// A drop-down list under a box (`box` in screen coordinates): its left edge
// at the box's, its top under the box, or above the box when it would reach
// below the bottom of `screen`; kept inside the screen sideways.
QPoint PlaceUnderBox(QRect box, QSize list, QRect screen);

// Where the browse dialog of an application box opens: the folder of the
// program the box names (quotes removed, relative to workingDir) when that
// folder exists, else the folder last chosen.
QString BrowseStartFolder(const QString &appCommand, const QString &lastFolder, const QString &workingDir,
                          const std::function<bool(const QString &folder)> &folderExists);

}  // namespace zk
