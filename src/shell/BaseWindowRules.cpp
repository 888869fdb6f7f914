#include "BaseWindowRules.h"

#include "shell/AppPaths.h"

QPoint PlaceNearCursorPos(const QSize& window, const QRect& screen, const QPoint& cursor)
{
    const int w = window.width(), h = window.height();
    const int sw = screen.width(), sh = screen.height();
    const QPoint c = cursor - screen.topLeft();
    int left = c.x() - w / 2;
    if (left < 0)
        left = 20;
    if (left > sw - w - 20)
        left = sw - w - 20;
    int top = c.y() - h / 2;
    if (top < 0)
        top = 20;
    if (top + h > sh - 50)
        top = sh - h - 50;
    // Only a window wider or taller than the screen gets here; its caption must stay reachable.
    left = qMax(left, 0);
    top = qMax(top, 0);
    return screen.topLeft() + QPoint(left, top);
}

Qt::Edges ResizeZoneAt(const QPoint& pos, const QSize& client)
{
    const int x = pos.x(), y = pos.y();
    const int w = client.width(), h = client.height();
    const bool nearLeft = x <= 9, nearTop = y <= 9;
    const bool nearRight = x >= w - 10, nearBottom = y >= h - 10;
    if (nearLeft && nearTop)
        return Qt::TopEdge | Qt::LeftEdge;
    if (nearRight && nearTop)
        return Qt::TopEdge | Qt::RightEdge;
    if (nearRight && nearBottom)
        return Qt::BottomEdge | Qt::RightEdge;
    if (nearLeft && nearBottom)
        return Qt::BottomEdge | Qt::LeftEdge;
    if (x < 5)
        return Qt::LeftEdge;
    if (y < 5)
        return Qt::TopEdge;
    if (x >= w - 5)
        return Qt::RightEdge;
    if (y >= h - 5)
        return Qt::BottomEdge;
    return {};
}

QString HelpTopicOf(const QString& objectName, const QString& topic)
{
    if (!topic.isEmpty())
        return topic;
    return objectName.left(qMax<qsizetype>(0, objectName.size() - 3));
}

QString HelpPageFile(const QString& topic)
{
    return HomeFile(QStringLiteral("help/") + topic + QStringLiteral(".htm"));
}
