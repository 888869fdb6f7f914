#pragma once

#include <QIcon>
#include <QListWidget>
#include <QPoint>

// The personal desktop: large icons on white, captions not editable, several icons
// selectable, icons dragged freely inside the view (drops only from the view itself).
class TDeskView : public QListWidget
{
    Q_OBJECT

public:
    explicit TDeskView(QWidget* parent = nullptr);

    // Adds an icon in the view's next automatic place.
    QListWidgetItem* AddIcon(const QString& caption);
    // Position of an icon in the view's contents (what the desktop stores).
    QPoint IconPos(const QListWidgetItem* item) const;
    void SetIconPos(QListWidgetItem* item, const QPoint& pos);
    // The selected icons in view order.
    QList<QListWidgetItem*> SelectedIcons() const;
    // Lays pending icons out now, so that their automatic places are known.
    void LayoutNow();

    // The picture of a caption: its first character on a coloured tile.
    static QIcon CaptionIcon(const QString& caption, int size);

signals:
    // A double click: on an icon, or on the empty desktop (nothing selected then).
    void Opened();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};
