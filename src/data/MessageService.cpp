#include "MessageService.h"

#include <QProcess>

namespace {

// Without an interface nobody can answer: messages are written to the log and
// questions take their default (OK / yes), file dialogs are cancelled.
class TConsoleMessageService final : public TMessageService
{
public:
    Answer Message(const QString& text, const QString& caption, Icon, Buttons buttons) override
    {
        qWarning("%s: %s", qUtf8Printable(caption), qUtf8Printable(text));
        return buttons == Ok || buttons == OkCancel ? AnswerOk : AnswerYes;
    }
    bool InputBox(const QString&, const QString&, QString&) override { return false; }
    QString OpenFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString SaveFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString DirectoryName(const QString&, const QString&) override { return {}; }
    bool OpenUrl(const QString&) override { return false; }
    bool StartProgram(const QString& program, const QStringList& args) override
    {
        return QProcess::startDetached(program, args);
    }
};

std::unique_ptr<TMessageService>& current()
{
    static std::unique_ptr<TMessageService> service = std::make_unique<TConsoleMessageService>();
    return service;
}

} // namespace

TMessageService& MessageService()
{
    return *current();
}

std::unique_ptr<TMessageService> SetMessageService(std::unique_ptr<TMessageService> service)
{
    if (!service)
        service = std::make_unique<TConsoleMessageService>();
    std::swap(current(), service);
    return service;
}

QString QtFileFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        out << parts[i] + QStringLiteral(" (") +
                   QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' ')) + QLatin1Char(')');
    return out.join(QStringLiteral(";;"));
}
