#pragma once

#include <QString>

#include <exception>

// Base of the program's errors: a Chinese message for the user, carried as QString.
class Exception : public std::exception
{
public:
    explicit Exception(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
    const QString& Message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// A failing statement: the database message, "\r\n", then the SQL text.
class EDatabaseError : public Exception
{
public:
    using Exception::Exception;
};

// A conversion of typed text that failed (a number or a date that is not one).
class EConvertError : public Exception
{
public:
    using Exception::Exception;
};

// Reading or moving a data set that is not open, or an unknown field.
class EDataSetError : public Exception
{
public:
    using Exception::Exception;
};

// The silent abort: the error handler swallows it without a message.
class EAbort : public Exception
{
public:
    EAbort() : Exception(QStringLiteral("Operation aborted")) {}
};
