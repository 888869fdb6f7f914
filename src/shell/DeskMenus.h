#pragma once

#include <QPoint>
#include <QString>

#include <optional>

// The personal desktop of an operator: column Menus of table operator, "caption=left,top"
// lines (see TNameValueList).

// "select Menus from operator where LoginId=:LoginId" on gRecordSet, first field as text.
QString ReadMenus(const QString& loginId);
// "update operator set Menus=:Menus where LoginId=:LoginId".
void WriteMenus(const QString& loginId, const QString& menus);

// The position a desktop value asks for: none for "0,0" (the view's automatic place) and for a
// value without comma; else the integers before and after the first comma. Throws
// EConvertError when one of them is not an integer.
std::optional<QPoint> DeskIconPosition(const QString& value);
// The stored form of a position: "left,top".
QString DeskIconValue(const QPoint& pos);
