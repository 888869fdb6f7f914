#pragma once

#include "data/MessageService.h"

// The message service of the running program: Qt's message boxes, input dialog and file
// dialogs over the active window, the desktop's default programs and detached processes.
class TWidgetMessageService final : public TMessageService
{
public:
    Answer Message(const QString& text, const QString& caption, Icon icon, Buttons buttons) override;
    bool InputBox(const QString& caption, const QString& prompt, QString& value) override;
    QString OpenFileName(const QString& caption, const QString& filter, const QString& dir) override;
    QString SaveFileName(const QString& caption, const QString& filter, const QString& dir) override;
    QString DirectoryName(const QString& caption, const QString& dir) override;
    bool OpenUrl(const QString& fileOrUrl) override;
    bool StartProgram(const QString& program, const QStringList& args) override;

    // The message texts pad with "\r\n" and "\t" for the box; a message box shows plain text
    // with "\n" line breaks.
    static QString BoxText(const QString& text);
};
