#include "SplashFrm.h"

#include "shell/AppPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QVBoxLayout>

namespace {
constexpr int kWidth = 480;
constexpr int kEmptyPictureHeight = 240;
} // namespace

TSplashFrm::TSplashFrm(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("SplashFrm"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    setStyleSheet(QStringLiteral("TSplashFrm { background: white; border: 1px solid #6080b0; }"));
    setAttribute(Qt::WA_StyledBackground);

    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("imgSplash"));
    m_picture->setAlignment(Qt::AlignCenter);
    const QString file = QDir(HomeDir()).filePath(QStringLiteral("splash.jpg"));
    QPixmap picture;
    if (QFileInfo::exists(file))
        picture.load(file);
    if (!picture.isNull()) {
        if (picture.width() > kWidth)
            picture = picture.scaledToWidth(kWidth, Qt::SmoothTransformation);
        m_picture->setPixmap(picture);
        m_picture->setFixedSize(picture.size());
    } else {
        m_picture->setFixedSize(kWidth, kEmptyPictureHeight);
    }
    layout->addWidget(m_picture);

    m_status = new QLabel(QStringLiteral("正在创建数据连接..."), this);
    m_status->setObjectName(QStringLiteral("lblHint"));
    m_status->setContentsMargins(8, 6, 8, 6);
    layout->addWidget(m_status);

    adjustSize();
    if (QScreen* s = QGuiApplication::primaryScreen()) {
        QRect r = frameGeometry();
        r.moveCenter(s->geometry().center());
        move(r.topLeft());
    }
}

void TSplashFrm::ShowHint(const QString& text)
{
    if (text.isEmpty())
        m_status->setText(m_status->text() + QLatin1Char('.'));
    else
        m_status->setText(text);
    if (m_status->isVisible())
        m_status->repaint();
}

QString TSplashFrm::Hint() const
{
    return m_status->text();
}

bool TSplashFrm::HasPicture() const
{
    return !m_picture->pixmap().isNull();
}
