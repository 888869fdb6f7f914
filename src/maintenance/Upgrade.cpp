#include "Upgrade.h"

#include "data/DataSet.h"
#include "data/Database.h"
#include "data/Exceptions.h"
#include "data/MessageService.h"
#include "data/qdLib.h"
#include "shell/AppPaths.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace {

void plainMessage(const QString& text)
{
    MessageService().Message(text, gMessageCaption, TMessageService::Information, TMessageService::Ok);
}

// The home directory without a closing separator.
QString homeDirectory()
{
    QString dir = HomeDir();
    while (dir.size() > 1 && dir.endsWith(QLatin1Char('/')))
        dir.chop(1);
    return dir;
}

bool startsWithWord(const QString& line, const char* word)
{
    static const QRegularExpression attach(QStringLiteral("^attach\\s"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression detach(QStringLiteral("^detach\\s"),
                                           QRegularExpression::CaseInsensitiveOption);
    return (qstrcmp(word, "attach") == 0 ? attach : detach).match(line).hasMatch();
}

// The schemas attached to the connection (SQLite), "main" and "temp" included.
QStringList attachedSchemas()
{
    TDataSet ds;
    gDatabase->OpenQuery(ds, QStringLiteral("pragma database_list"));
    QStringList names;
    for (ds.First(); !ds.Eof(); ds.Next())
        names << ds.FieldByName(QStringLiteral("name"))->AsString();
    return names;
}

} // namespace

QStringList UpgradeScriptLines(const QString& script)
{
    QStringList lines = script.split(QLatin1Char('\n'));
    if (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast();
    for (QString& l : lines)
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
    return lines;
}

QString SubstituteUpgradeLine(const QString& line, const QString& source)
{
    // One pass, so that a replacement text is never itself replaced again.
    static const QRegularExpression marker(QStringLiteral("%(dir|mdb)"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QString dir = homeDirectory();
    const QString mdb = dir + QLatin1Char('/') + source;
    QString out;
    qsizetype last = 0;
    for (auto it = marker.globalMatch(line); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += QStringView(line).mid(last, m.capturedStart() - last);
        out += m.captured(1).compare(QLatin1String("dir"), Qt::CaseInsensitive) == 0 ? dir : mdb;
        last = m.capturedEnd();
    }
    out += QStringView(line).mid(last);
    return out;
}

bool RunUpgradeScript(const QString& script, const TUpgradeProgress& progress)
{
    if (script.trimmed().isEmpty()) {
        plainMessage(QStringLiteral("升级文件为空白"));
        return false;
    }
    const QStringList lines = UpgradeScriptLines(script);
    const QString source = lines.first();
    if (source.endsWith(QLatin1String(".db"))) {
        const QString path = homeDirectory() + QLatin1Char('/') + source;
        if (!QFileInfo::exists(path)) {
            plainMessage(QStringLiteral("旧版数据库文件不存在:") + path);
            return false;
        }
    }
    const int count = int(lines.size());
    auto report = [&](int position) {
        if (progress)
            progress(position, count);
    };
    report(0);

    // ATTACH and DETACH cannot run inside a transaction on SQLite: attaching goes first,
    // detaching after the end of the transaction, and nothing stays attached after the run.
    const bool liftAttach = gDatabase->Engine() == TEngine::Sqlite;
    auto lifted = [&](const QString& line) {
        return liftAttach && (startsWithWord(line, "attach") || startsWithWord(line, "detach"));
    };
    QStringList schemasBefore;
    auto finish = [&] {
        if (!liftAttach)
            return;
        try {
            for (int i = 1; i < count; ++i)
                if (startsWithWord(lines[i], "detach")) {
                    try {
                        gDatabase->ExecSql(SubstituteUpgradeLine(lines[i], source));
                    } catch (const Exception&) {
                        // Detached already, or never attached: the sweep below settles it.
                    }
                }
            for (const QString& schema : attachedSchemas())
                if (!schemasBefore.contains(schema))
                    gDatabase->ExecSql(
                        QStringLiteral("detach database \"%1\"")
                            .arg(QString(schema).replace(QLatin1Char('"'), QStringLiteral("\"\""))));
        } catch (const Exception&) {
        }
    };

    QString statement;
    bool began = false;
    try {
        if (liftAttach) {
            schemasBefore = attachedSchemas();
            for (int i = 1; i < count; ++i)
                if (startsWithWord(lines[i], "attach")) {
                    statement = SubstituteUpgradeLine(lines[i], source);
                    gDatabase->ExecSql(statement);
                }
            statement.clear();
        }
        gDatabase->BeginTrans();
        began = true;
        for (int i = 1; i < count; ++i) {
            report(i);
            const QString& line = lines[i];
            if (line.trimmed().isEmpty() || line.startsWith(QLatin1String("//")) || lifted(line))
                continue;
            if (line.startsWith(QLatin1String("msg:"))) {
                plainMessage(QStringLiteral("\r\n") + line.mid(4));
                continue;
            }
            if (line.startsWith(QLatin1String("cnf:"))) {
                if (MessageService().Message(QStringLiteral("\r\n") + line.mid(4), gMessageCaption,
                                             TMessageService::Question,
                                             TMessageService::OkCancel) != TMessageService::AnswerOk) {
                    gDatabase->RollbackTrans();
                    finish();
                    return false;
                }
                continue;
            }
            statement = SubstituteUpgradeLine(line, source);
            gDatabase->ExecSql(statement);
        }
        statement.clear();
        gDatabase->CommitTrans();
    } catch (const std::exception& e) {
        const auto* ours = dynamic_cast<const Exception*>(&e);
        plainMessage(QStringLiteral("\r\n对不起! 数据库升级失败.详细如下:\r\n") +
                     (ours ? ours->Message() : QString::fromLocal8Bit(e.what())) + QStringLiteral("\r\n") +
                     QStringLiteral("附当时语句是:") + statement);
        if (began)
            gDatabase->RollbackTrans();
        finish();
        return false;
    }
    finish();
    return true;
}
