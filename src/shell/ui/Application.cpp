#include "Application.h"

#include "data/Exceptions.h"
#include "data/MessageService.h"
#include "shell/AppIdentity.h"

namespace {
TErrorHandler& handler()
{
    static TErrorHandler h;
    return h;
}

void report(QObject* sender, const QString& message)
{
    try {
        if (handler())
            handler()(sender, message);
        else
            MessageService().Message(message, gAppTitle, TMessageService::Error, TMessageService::Ok);
    } catch (...) {
        // The handler failing must not take the program down; the original message is logged.
        qWarning("%s", qUtf8Printable(message));
    }
}
} // namespace

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    return NotifyGuarded(this, receiver, event);
}

bool NotifyGuarded(QApplication* app, QObject* receiver, QEvent* event)
{
    try {
        return app->QApplication::notify(receiver, event);
    } catch (...) {
        HandleCurrentException(receiver);
    }
    return false;
}

TErrorHandler SetErrorHandler(TErrorHandler h)
{
    std::swap(handler(), h);
    return h;
}

void HandleCurrentException(QObject* sender)
{
    try {
        throw;
    } catch (const EAbort&) {
    } catch (const Exception& e) {
        report(sender, e.Message());
    } catch (const std::exception& e) {
        report(sender, QString::fromLocal8Bit(e.what()));
    } catch (...) {
        report(sender, QStringLiteral("未知的错误"));
    }
}

void RunGuarded(QObject* sender, const std::function<void()>& fn)
{
    try {
        fn();
    } catch (...) {
        HandleCurrentException(sender);
    }
}
