#include "DeskView.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

TDeskView::TDeskView(QWidget* parent) : QListWidget(parent)
{
    setObjectName(QStringLiteral("DeskView"));
    setViewMode(QListView::IconMode);
    setMovement(QListView::Free);
    setResizeMode(QListView::Fixed);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragDropMode(QAbstractItemView::InternalMove);
    setDefaultDropAction(Qt::MoveAction);
    setFrameShape(QFrame::NoFrame);
    setIconSize(QSize(48, 48));
    setGridSize(QSize(104, 88));
    setSpacing(8);
    setWordWrap(true);
    setContextMenuPolicy(Qt::CustomContextMenu);
    QPalette pal = palette();
    pal.setColor(QPalette::Base, Qt::white);
    setPalette(pal);
}

QListWidgetItem* TDeskView::AddIcon(const QString& caption)
{
    auto* item = new QListWidgetItem(CaptionIcon(caption, 48), caption, this);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled);
    item->setTextAlignment(Qt::AlignHCenter | Qt::AlignTop);
    return item;
}

void TDeskView::LayoutNow()
{
    executeDelayedItemsLayout();
}

QPoint TDeskView::IconPos(const QListWidgetItem* item) const
{
    const_cast<TDeskView*>(this)->executeDelayedItemsLayout();
    return rectForIndex(indexFromItem(item)).topLeft();
}

void TDeskView::SetIconPos(QListWidgetItem* item, const QPoint& pos)
{
    executeDelayedItemsLayout();
    setPositionForIndex(pos, indexFromItem(item));
}

QList<QListWidgetItem*> TDeskView::SelectedIcons() const
{
    QList<QListWidgetItem*> out;
    for (int i = 0; i < count(); ++i)
        if (item(i)->isSelected())
            out << item(i);
    return out;
}

void TDeskView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QListWidget::mouseDoubleClickEvent(event);
        return;
    }
    if (!itemAt(event->position().toPoint()))
        clearSelection();
    event->accept();
    emit Opened();
}

QIcon TDeskView::CaptionIcon(const QString& caption, int size)
{
    static const QColor colours[] = {QColor(0x2f, 0x6f, 0xc0), QColor(0x2e, 0x9a, 0x6a),
                                     QColor(0xd0, 0x7a, 0x1f), QColor(0x9b, 0x4d, 0xb8),
                                     QColor(0xc0, 0x3c, 0x3c), QColor(0x1f, 0x93, 0xa8)};
    const QString text = caption.trimmed().left(1);
    const size_t colour = text.isEmpty() ? 0 : size_t(text.at(0).unicode()) % std::size(colours);
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, size);
    g.setColorAt(0, colours[colour].lighter(135));
    g.setColorAt(1, colours[colour]);
    QPainterPath tile;
    tile.addRoundedRect(QRectF(1, 1, size - 2, size - 2), size / 6.0, size / 6.0);
    p.fillPath(tile, g);
    p.setPen(Qt::white);
    QFont f(QStringLiteral("Noto Sans CJK SC"));
    f.setPixelSize(size * 11 / 20);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, text);
    p.end();
    return QIcon(pm);
}
