#pragma once

#include <QString>
#include <QStringList>

#include <memory>

// Every message box, input box, file dialog and program start goes through this service,
// so that the windows' code can be driven by tests without blocking. The widget
// implementation is installed by the user interface at start-up; tests install a scripted one.
class TMessageService
{
public:
    enum Icon { Information, Warning, Error, Question };
    enum Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum Answer { AnswerOk, AnswerCancel, AnswerYes, AnswerNo };

    virtual ~TMessageService() = default;

    virtual Answer Message(const QString& text, const QString& caption, Icon icon, Buttons buttons) = 0;
    // Returns false when cancelled; value holds the default on entry.
    virtual bool InputBox(const QString& caption, const QString& prompt, QString& value) = 0;
    // Empty result when cancelled. filter is in the "描述|*.ext|描述|*.ext" form.
    virtual QString OpenFileName(const QString& caption, const QString& filter, const QString& dir) = 0;
    virtual QString SaveFileName(const QString& caption, const QString& filter, const QString& dir) = 0;
    virtual QString DirectoryName(const QString& caption, const QString& dir) = 0;
    // Opens a file or address with its default program; false when none could open it.
    virtual bool OpenUrl(const QString& fileOrUrl) = 0;
    // Starts a program detached; false when it could not be started.
    virtual bool StartProgram(const QString& program, const QStringList& args) = 0;
};

// The service in force; never null (a non-interactive fallback answers when none is installed).
TMessageService& MessageService();
// Installs a service and returns the previous one (the caller keeps ownership of neither).
std::unique_ptr<TMessageService> SetMessageService(std::unique_ptr<TMessageService> service);
// Converts a "描述|*.ext|描述|*.ext" filter into Qt's "描述 (*.ext);;描述 (*.ext)" form.
QString QtFileFilter(const QString& filter);
