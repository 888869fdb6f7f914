#include "BugReport.h"

#include "data/IniFile.h"
#include "shell/AppPaths.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStringList>
#include <QTimer>
#include <QUrl>

QString BugReportText(const RBugReportInfo& info)
{
    const QString equals(41, QLatin1Char('='));
    const QString dashes(41, QLatin1Char('-'));
    const QStringList lines = {
        QStringLiteral("运行期异常："),
        equals,
        QStringLiteral("ProductName：      ") + info.ProductName,
        QStringLiteral("ProductVersion：   ") + info.ProductVersion,
        QStringLiteral("OS：               ") + info.Os,
        QStringLiteral("CompanyName：      ") + info.CompanyName,
        QStringLiteral("ActiveForm：       ") + info.ActiveForm,
        QStringLiteral("ActiveControl：    ") + info.ActiveControl,
        QStringLiteral("ExceptionClass：   ") + info.ExceptionClass,
        QStringLiteral("ExceptionDescribe：") + info.ExceptionDescribe,
        QStringLiteral("ExceptionTime：    ") +
            info.ExceptionDate.toString(QStringLiteral("yyyy-MM-dd 00:00:00")),
        equals,
        QString(),
        QStringLiteral("请您选择描述以下问题："),
        dashes,
        QStringLiteral("1.出现以异常时,您曾做过哪些操作?"),
        QStringLiteral("2.您认为是什么原因导致此异常的发生?"),
        QStringLiteral("3.此异常是否经常发生,是否有规律性?"),
        QStringLiteral("4.以及其他您需要描述的问题："),
        QString(),
        QStringLiteral("请留下联系方式,以便我们能及时与您联系并请教："),
        dashes,
        QStringLiteral("电话："),
        QStringLiteral("电子邮件："),
        QStringLiteral("QQ："),
        QStringLiteral("MSN："),
    };
    return lines.join(QLatin1Char('\n'));
}

QString BugReportUrl()
{
    const TIniFile ini(HomeFile(QStringLiteral("cfg.ini")));
    return ini.ReadString(QStringLiteral("publish"), QStringLiteral("bugUrl")).trimmed();
}

RBugSendResult SendBugReport(const QString& url, const QString& text, int timeoutMs)
{
    RBugSendResult result;
    const QUrl address(url);
    if (url.isEmpty() || !address.isValid() || address.scheme().isEmpty()) {
        result.Error = QStringLiteral("没有设置有效的报告地址(cfg.ini 中 [publish] 节的 bugUrl)");
        return result;
    }
    QString crlf = text;
    crlf.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    const QByteArray body = "Data=" + QUrl::toPercentEncoding(crlf);

    QNetworkAccessManager manager;
    QNetworkRequest request(address);
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QByteArrayLiteral("application/x-www-form-urlencoded"));
    request.setTransferTimeout(timeoutMs);
    QNetworkReply* reply = manager.post(request, body);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    // A second guard for the case that the transfer timeout does not apply (no connection yet).
    QTimer::singleShot(timeoutMs + 1000, &loop, [reply] { reply->abort(); });
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);

    const QByteArray answer = reply->readAll();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() != QNetworkReply::NoError || status >= 400) {
        result.Error = status >= 400 ? QStringLiteral("HTTP %1").arg(status) : reply->errorString();
    } else {
        result.Body = QString::fromUtf8(answer);
        result.Ok = answer == "ok";
    }
    delete reply;
    return result;
}

QString BugSendFailureMessage(const RBugSendResult& result)
{
    if (!result.Body.isEmpty())
        return result.Body;
    QString msg = QStringLiteral("报告发送失败,请检查网络是否连通后再试一次.");
    if (!result.Error.isEmpty())
        msg += QStringLiteral("\r\n(") + result.Error + QLatin1Char(')');
    return msg;
}
