#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <Qt>

// The placement, resize and help rules shared by every base window, as pure functions.

// Top-left corner of a window of the given size placed around the cursor on a screen:
// left = x - W/2, 20 when negative, SW - W - 20 when larger; top = y - H/2, 20 when negative,
// SH - H - 50 when the bottom would pass SH - 50. A window larger than the screen is kept
// with its top-left corner on the screen so that its caption can still be reached.
// Coordinates are those of the screen rectangle (its origin is added).
QPoint PlaceNearCursorPos(const QSize& window, const QRect& screen, const QPoint& cursor);

// The resize edges of a borderless window at a point of its client area: 10-pixel corners,
// then 5-pixel bands along the left, top, right and bottom edge; no edge elsewhere.
Qt::Edges ResizeZoneAt(const QPoint& pos, const QSize& client);

// The help topic of a window: the given topic, or for an empty one the window's object name
// without its last three characters ("mainFrm" gives "main").
QString HelpTopicOf(const QString& objectName, const QString& topic);
// The help page of a topic in the home directory: help/<topic>.htm.
QString HelpPageFile(const QString& topic);
