#pragma once

#include <QApplication>
#include <QString>

#include <functional>

// The application object. Every event goes through notify, which catches what event
// handlers throw: the silent EAbort ends the user's action without a word, every other error
// goes to the installed error handler. Nothing lets an exception cross Qt's event loop.
class TApplication : public QApplication
{
    Q_OBJECT

public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// QApplication::notify of app with the exceptions caught and handled; the body of
// TApplication::notify, usable on any application object.
bool NotifyGuarded(QApplication* app, QObject* receiver, QEvent* event);

// The handler of errors that no window handled; sender is the object in whose event the
// error arose.
using TErrorHandler = std::function<void(QObject* sender, const QString& message)>;
// Installs the handler (an empty one restores the plain error box) and returns the previous.
TErrorHandler SetErrorHandler(TErrorHandler handler);
// Handles the exception being caught: nothing for EAbort, the handler for every other one.
// Call only inside a catch block.
void HandleCurrentException(QObject* sender);
// Runs fn and handles what it throws as an event handler's error would be.
void RunGuarded(QObject* sender, const std::function<void()>& fn);
