#include "Title1Fra.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>

TTitle1Fra::TTitle1Fra(QWidget* parent) : TTitle1Fra(QString(), parent) {}

TTitle1Fra::TTitle1Fra(const QString& title, QWidget* parent)
    : QFrame(parent), m_picture(QStringLiteral(":/images/title.png")),
      m_bottom(QStringLiteral(":/images/title_bottom.png"))
{
    setObjectName(QStringLiteral("Title1Fra"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    const int height =
        (m_picture.isNull() ? 48 : m_picture.height()) + (m_bottom.isNull() ? 6 : m_bottom.height());
    setFixedHeight(height);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(16, 0, 16, m_bottom.isNull() ? 6 : m_bottom.height());
    m_title = new QLabel(title, this);
    m_title->setObjectName(QStringLiteral("lblTitle"));
    QFont f = m_title->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.4);
    m_title->setFont(f);
    m_title->setStyleSheet(QStringLiteral("color: #1f3f7f; background: transparent;"));
    layout->addWidget(m_title);
    layout->addStretch(1);
}

QString TTitle1Fra::Title() const
{
    return m_title->text();
}

void TTitle1Fra::SetTitle(const QString& title)
{
    m_title->setText(title);
}

void TTitle1Fra::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter p(this);
    const int bottomHeight = m_bottom.isNull() ? 0 : m_bottom.height();
    if (!m_picture.isNull())
        p.drawPixmap(QRect(0, 0, width(), height() - bottomHeight), m_picture);
    if (!m_bottom.isNull())
        p.drawPixmap(QRect(0, height() - bottomHeight, width(), bottomHeight), m_bottom);
}
