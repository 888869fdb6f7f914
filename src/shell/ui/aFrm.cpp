#include "aFrm.h"

#include "data/MessageService.h"
#include "data/qdLib.h"
#include "shell/BaseWindowRules.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QRadioButton>
#include <QScreen>
#include <QWindow>

namespace {
QPointer<QWidget>& mainForm()
{
    static QPointer<QWidget> form;
    return form;
}

Qt::CursorShape cursorFor(Qt::Edges edges)
{
    if (edges == (Qt::TopEdge | Qt::LeftEdge) || edges == (Qt::BottomEdge | Qt::RightEdge))
        return Qt::SizeFDiagCursor;
    if (edges == (Qt::TopEdge | Qt::RightEdge) || edges == (Qt::BottomEdge | Qt::LeftEdge))
        return Qt::SizeBDiagCursor;
    if (edges & (Qt::LeftEdge | Qt::RightEdge))
        return Qt::SizeHorCursor;
    if (edges & (Qt::TopEdge | Qt::BottomEdge))
        return Qt::SizeVerCursor;
    return Qt::ArrowCursor;
}
} // namespace

TaFrm::TaFrm(QWidget* parent) : QDialog(parent) {}

QWidget* TaFrm::MainForm()
{
    return mainForm();
}

void TaFrm::SetMainForm(QWidget* form)
{
    mainForm() = form;
}

void TaFrm::ShowHelp(const QString& topic)
{
    const QString file = HelpPageFile(HelpTopicOf(objectName(), topic));
    if (!QFileInfo::exists(file) || !MessageService().OpenUrl(file))
        ShowInfo(QStringLiteral("暂无帮助文件(%1)").arg(QFileInfo(file).fileName()));
}

void TaFrm::PlaceNearCursor()
{
    const QPoint cursor = QCursor::pos();
    QScreen* screen = QGuiApplication::screenAt(cursor);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    move(PlaceNearCursorPos(frameGeometry().size(), screen->geometry(), cursor));
}

void TaFrm::centre()
{
    QWidget* over = nullptr;
    if (m_position == poMainFormCenter)
        over = MainForm();
    else if (m_position == poOwnerFormCenter && parentWidget())
        over = parentWidget()->window();
    QRect area;
    if (over && over != this && over->isVisible()) {
        area = over->frameGeometry();
    } else {
        QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
        if (!s)
            return;
        area = s->geometry();
    }
    QRect frame = frameGeometry();
    frame.moveCenter(area.center());
    move(frame.topLeft());
}

void TaFrm::setVisible(bool visible)
{
    if (visible && isBorderless())
        setMouseTracking(true);
    if (visible && !isVisible() && !(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
        // The size the window is shown with, as QWidget would compute it on showing.
        if (!testAttribute(Qt::WA_Resized)) {
            adjustSize();
            setAttribute(Qt::WA_Resized, false);
        }
        PlaceNearCursor();
        if (!m_shownOnce && m_position != poDesigned)
            centre();
        m_shownOnce = true;
    }
    QDialog::setVisible(visible);
}

bool TaFrm::MovesFocusOnEnter(const QWidget* w)
{
    if (!w)
        return false;
    if (w->inherits("TqdEdit") || w->inherits("TqdComboBox") || w->inherits("TqdDateTimePicker"))
        return false;
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QCheckBox*>(w) ||
           qobject_cast<const QRadioButton*>(w);
}

void TaFrm::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (event->key() == Qt::Key_F1 && mods == Qt::NoModifier) {
        event->accept();
        ShowHelp();
        return;
    }
    if (event->key() == Qt::Key_Escape && mods == Qt::NoModifier) {
        event->accept();
        EscapePressed();
        return;
    }
    if (enter && mods == Qt::ControlModifier) {
        event->accept();
        CtrlEnterPressed();
        return;
    }
    if (enter && (mods == Qt::NoModifier || mods == Qt::ShiftModifier) && MovesFocusOnEnter(focusWidget())) {
        event->accept();
        focusNextPrevChild(mods == Qt::NoModifier);
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TaFrm::isBorderless() const
{
    return windowFlags() & Qt::FramelessWindowHint;
}

void TaFrm::mousePressEvent(QMouseEvent* event)
{
    if (isBorderless() && event->button() == Qt::LeftButton) {
        const Qt::Edges edges = ResizeZoneAt(event->position().toPoint(), size());
        if (edges && windowHandle() && windowHandle()->startSystemResize(edges)) {
            event->accept();
            return;
        }
    }
    QDialog::mousePressEvent(event);
}

void TaFrm::mouseMoveEvent(QMouseEvent* event)
{
    if (isBorderless() && event->buttons() == Qt::NoButton)
        setCursor(cursorFor(ResizeZoneAt(event->position().toPoint(), size())));
    QDialog::mouseMoveEvent(event);
}
