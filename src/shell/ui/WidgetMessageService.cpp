#include "WidgetMessageService.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <QUrl>

namespace {
QWidget* dialogParent()
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

// The hourglass of a running action must not hide the arrow over a box that asks the user.
class TArrowCursor
{
public:
    TArrowCursor() : m_active(QApplication::overrideCursor() != nullptr)
    {
        if (m_active)
            QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~TArrowCursor()
    {
        if (m_active)
            QApplication::restoreOverrideCursor();
    }
    TArrowCursor(const TArrowCursor&) = delete;
    TArrowCursor& operator=(const TArrowCursor&) = delete;

private:
    bool m_active;
};
} // namespace

QString TWidgetMessageService::BoxText(const QString& text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

TMessageService::Answer TWidgetMessageService::Message(const QString& text, const QString& caption, Icon icon,
                                                       Buttons buttons)
{
    TArrowCursor arrow;
    QMessageBox box(dialogParent());
    box.setWindowTitle(caption);
    box.setTextFormat(Qt::PlainText);
    box.setText(BoxText(text));
    switch (icon) {
    case Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case Question:
        box.setIcon(QMessageBox::Question);
        break;
    }
    switch (buttons) {
    case Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Ok:
        return AnswerOk;
    case QMessageBox::Yes:
        return AnswerYes;
    case QMessageBox::No:
        return AnswerNo;
    default:
        // Closing the box with Esc or its close button: the cancelling answer of its buttons.
        return buttons == YesNo ? AnswerNo : (buttons == Ok ? AnswerOk : AnswerCancel);
    }
}

bool TWidgetMessageService::InputBox(const QString& caption, const QString& prompt, QString& value)
{
    TArrowCursor arrow;
    bool ok = false;
    const QString typed =
        QInputDialog::getText(dialogParent(), caption, BoxText(prompt), QLineEdit::Normal, value, &ok);
    if (ok)
        value = typed;
    return ok;
}

QString TWidgetMessageService::OpenFileName(const QString& caption, const QString& filter, const QString& dir)
{
    TArrowCursor arrow;
    return QFileDialog::getOpenFileName(dialogParent(), caption, dir, QtFileFilter(filter));
}

QString TWidgetMessageService::SaveFileName(const QString& caption, const QString& filter, const QString& dir)
{
    TArrowCursor arrow;
    return QFileDialog::getSaveFileName(dialogParent(), caption, dir, QtFileFilter(filter));
}

QString TWidgetMessageService::DirectoryName(const QString& caption, const QString& dir)
{
    TArrowCursor arrow;
    return QFileDialog::getExistingDirectory(dialogParent(), caption, dir);
}

bool TWidgetMessageService::OpenUrl(const QString& fileOrUrl)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    const QUrl url = scheme.match(fileOrUrl).hasMatch() ? QUrl(fileOrUrl) : QUrl::fromLocalFile(fileOrUrl);
    return QDesktopServices::openUrl(url);
}

bool TWidgetMessageService::StartProgram(const QString& program, const QStringList& args)
{
    return QProcess::startDetached(program, args);
}
