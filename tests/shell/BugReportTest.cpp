#include "ShellFixture.h"

#include "shell/BugReport.h"
#include "shell/OsInfo.h"
#include "shell/ui/BuggerFrm.h"

#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrlQuery>

#include <optional>

namespace {

RBugReportInfo SampleInfo()
{
    RBugReportInfo info;
    info.ProductName = u"澄舟生产管理系统"_s;
    info.ProductVersion = u"单机版 1.4.130116 (Build130116)"_s;
    info.Os = u"Debian GNU/Linux 12 (bookworm) Version 6.1 Build 0.Linux 6.1.0-18-amd64"_s;
    info.CompanyName = u"澄舟机械厂"_s;
    info.ActiveForm = u"MaterialsFrm"_s;
    info.ActiveControl = u"edtCode"_s;
    info.ExceptionClass = u"QPushButton"_s;
    info.ExceptionDescribe = u"数据集未打开"_s;
    info.ExceptionDate = QDate(2013, 1, 16);
    return info;
}

TEST(BugReport, TextListsTheProgramTheErrorAndTheQuestions)
{
    const QStringList expected = {
        u"运行期异常："_s,
        u"========================================="_s,
        u"ProductName：      澄舟生产管理系统"_s,
        u"ProductVersion：   单机版 1.4.130116 (Build130116)"_s,
        u"OS：               Debian GNU/Linux 12 (bookworm) Version 6.1 Build 0.Linux 6.1.0-18-amd64"_s,
        u"CompanyName：      澄舟机械厂"_s,
        u"ActiveForm：       MaterialsFrm"_s,
        u"ActiveControl：    edtCode"_s,
        u"ExceptionClass：   QPushButton"_s,
        u"ExceptionDescribe：数据集未打开"_s,
        u"ExceptionTime：    2013-01-16 00:00:00"_s,
        u"========================================="_s,
        QString(),
        u"请您选择描述以下问题："_s,
        u"-----------------------------------------"_s,
        u"1.出现以异常时,您曾做过哪些操作?"_s,
        u"2.您认为是什么原因导致此异常的发生?"_s,
        u"3.此异常是否经常发生,是否有规律性?"_s,
        u"4.以及其他您需要描述的问题："_s,
        QString(),
        u"请留下联系方式,以便我们能及时与您联系并请教："_s,
        u"-----------------------------------------"_s,
        u"电话："_s,
        u"电子邮件："_s,
        u"QQ："_s,
        u"MSN："_s,
    };
    EXPECT_EQ(BugReportText(SampleInfo()).split(u'\n'), expected);
    EXPECT_EQ(expected[1].size(), 41);
}

TEST(BugReport, OperatingSystemLineNamesDistributionAndKernel)
{
    EXPECT_EQ(OsDescriptionFrom(u"Debian GNU/Linux 12 (bookworm)"_s, u"linux"_s, u"6.1.0-18-amd64"_s),
              u"Debian GNU/Linux 12 (bookworm) Version 6.1 Build 0.Linux 6.1.0-18-amd64"_s);
    EXPECT_EQ(OsDescriptionFrom(u"Linux"_s, u"linux"_s, u"5.10"_s),
              u"Linux Version 5.10 Build 0.Linux 5.10"_s);
    EXPECT_EQ(OsDescriptionFrom(u"Linux"_s, u"linux"_s, u"unknown"_s), u"Unknown"_s);

    QTemporaryDir dir;
    QFile f(dir.filePath(u"os-release"_s));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nID=debian\n");
    f.close();
    EXPECT_EQ(OsReleasePrettyName(f.fileName()), u"Debian GNU/Linux 12 (bookworm)"_s);
    EXPECT_EQ(OsReleasePrettyName(dir.filePath(u"missing"_s)), QString());
}

// A one-shot HTTP server on loopback that records the posted form and answers with a body.
class TReportServer : public QObject
{
public:
    explicit TReportServer(QByteArray reply, int status = 200) : m_reply(std::move(reply)), m_status(status)
    {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            QTcpSocket* s = m_server.nextPendingConnection();
            connect(s, &QTcpSocket::readyRead, s, [this, s] { onData(s); });
            connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
        });
    }
    QString Url() const { return u"http://127.0.0.1:%1/bug"_s.arg(m_server.serverPort()); }
    // The value of field Data as posted, once a request has come.
    std::optional<QString> Posted;
    QByteArray ContentType;

private:
    void onData(QTcpSocket* s)
    {
        m_request += s->readAll();
        const qsizetype end = m_request.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        qsizetype length = 0;
        for (const QByteArray& line : m_request.left(end).split('\n')) {
            const QByteArray l = line.trimmed();
            if (l.toLower().startsWith("content-length:"))
                length = l.mid(15).trimmed().toLongLong();
            if (l.toLower().startsWith("content-type:"))
                ContentType = l.mid(13).trimmed();
        }
        if (m_request.size() < end + 4 + length)
            return;
        const QByteArray body = m_request.mid(end + 4, length);
        QUrlQuery form(QString::fromLatin1(body));
        Posted = form.queryItemValue(u"Data"_s, QUrl::FullyDecoded);
        s->write("HTTP/1.1 " + QByteArray::number(m_status) +
                 " X\r\nContent-Type: text/plain\r\nContent-Length: " + QByteArray::number(m_reply.size()) +
                 "\r\nConnection: close\r\n\r\n" + m_reply);
        s->disconnectFromHost();
    }

    QTcpServer m_server;
    QByteArray m_reply;
    int m_status;
    QByteArray m_request;
};

TEST(BugReportSending, PostsFieldDataAndSucceedsOnlyOnOk)
{
    const QString text = u"运行期异常：\n100% & a+b=c"_s;
    {
        TReportServer server("ok");
        const RBugSendResult r = SendBugReport(server.Url(), text, 5000);
        EXPECT_TRUE(r.Ok);
        ASSERT_TRUE(server.Posted.has_value());
        EXPECT_EQ(*server.Posted, u"运行期异常：\r\n100% & a+b=c"_s);
        EXPECT_EQ(server.ContentType, QByteArray("application/x-www-form-urlencoded"));
    }
    for (const QByteArray& reply : {QByteArray("OK"), QByteArray("ok\n"), QByteArray("服务器忙")}) {
        TReportServer server(reply);
        const RBugSendResult r = SendBugReport(server.Url(), text, 5000);
        EXPECT_FALSE(r.Ok) << reply.constData();
        EXPECT_EQ(BugSendFailureMessage(r), QString::fromUtf8(reply));
    }
}

TEST(BugReportSending, TransportFailuresGiveTheNetworkMessage)
{
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const quint16 port = closed.serverPort();
    closed.close();
    const RBugSendResult refused = SendBugReport(u"http://127.0.0.1:%1/bug"_s.arg(port), u"x"_s, 5000);
    EXPECT_FALSE(refused.Ok);
    EXPECT_TRUE(BugSendFailureMessage(refused).startsWith(u"报告发送失败,请检查网络是否连通后再试一次."_s));

    TReportServer failing("ok", 500);
    EXPECT_FALSE(SendBugReport(failing.Url(), u"x"_s, 5000).Ok) << "an HTTP error is no success";

    const RBugSendResult unset = SendBugReport(QString(), u"x"_s, 5000);
    EXPECT_FALSE(unset.Ok);
    EXPECT_TRUE(BugSendFailureMessage(unset).contains(u"bugUrl"_s));
}

class BuggerFrmTest : public ShellTest
{
};

TEST_F(BuggerFrmTest, StaysOpenOnFailureAndClosesAfterSuccess)
{
    // The address is the program's setting in cfg.ini.
    TReportServer failing("error: full");
    {
        QFile cfg(env->home() + u"/cfg.ini"_s);
        ASSERT_TRUE(cfg.open(QIODevice::WriteOnly));
        cfg.write("[publish]\r\nbugUrl=" + failing.Url().toUtf8() + "\r\n");
    }
    TBuggerFrm dlg(SampleInfo());
    EXPECT_EQ(dlg.windowTitle(), u"错误与缺陷报告"_s);
    EXPECT_EQ(dlg.ReportUrl(), failing.Url());
    dlg.SetReportText(dlg.ReportText() + u"\n电话：12345"_s);
    dlg.show();
    dlg.accept();
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(messages().lastText(), u"\r\nerror: full\t"_s);
    ASSERT_TRUE(failing.Posted.has_value());
    EXPECT_TRUE(failing.Posted->endsWith(u"MSN：\r\n电话：12345"_s));

    TReportServer ok("ok");
    dlg.SetReportUrl(ok.Url());
    dlg.accept();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(messages().lastText(), u"\r\n报告成功！我们会尽快处理并与您联系，谢谢！\t"_s);
}

} // namespace
