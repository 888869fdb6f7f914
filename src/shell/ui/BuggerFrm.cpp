#include "BuggerFrm.h"

#include "data/qdLib.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

TBuggerFrm::TBuggerFrm(const RBugReportInfo& info, QWidget* parent) : TADlgFrm(parent), m_url(BugReportUrl())
{
    setObjectName(QStringLiteral("BuggerFrm"));
    setWindowTitle(QStringLiteral("错误与缺陷报告"));

    auto* layout = new QVBoxLayout(ClientArea());
    layout->setContentsMargins(0, 0, 0, 0);
    auto* welcome = new QLabel(QStringLiteral("欢迎"), ClientArea());
    QFont big = welcome->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.5);
    welcome->setFont(big);
    layout->addWidget(welcome);
    layout->addWidget(new QLabel(QStringLiteral("使用在线报告工具！"), ClientArea()));
    layout->addWidget(
        new QLabel(QStringLiteral("请将以下信息反馈给我们，以便能帮助我们解决此问题："), ClientArea()));

    m_memo = new QPlainTextEdit(ClientArea());
    m_memo->setObjectName(QStringLiteral("mmReport"));
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    // The labels of the report are padded to one width: a fixed-pitch font lines them up.
    QFont mono(QStringLiteral("Noto Sans Mono CJK SC"));
    mono.setStyleHint(QFont::Monospace);
    mono.setPointSizeF(m_memo->font().pointSizeF());
    m_memo->setFont(mono);
    m_memo->setPlainText(BugReportText(info));
    layout->addWidget(m_memo, 1);

    layout->addWidget(new QLabel(QStringLiteral("谢谢您的支持！我们将做得更好！"), ClientArea()));
    auto* online = new QLabel(QStringLiteral("请务必确定您已连上互联网."), ClientArea());
    online->setStyleSheet(QStringLiteral("color: #b00000;"));
    layout->addWidget(online);
    resize(560, 520);
}

QString TBuggerFrm::ReportText() const
{
    return m_memo->toPlainText();
}

void TBuggerFrm::SetReportText(const QString& text)
{
    m_memo->setPlainText(text);
}

void TBuggerFrm::accept()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const RBugSendResult result = SendBugReport(m_url, ReportText());
    QApplication::restoreOverrideCursor();
    if (result.Ok) {
        ShowInfo(QStringLiteral("报告成功！我们会尽快处理并与您联系，谢谢！"));
        TADlgFrm::accept();
        return;
    }
    ShowInfo(BugSendFailureMessage(result));
}
