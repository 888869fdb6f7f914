#include "ClearDataFrm.h"

#include "data/qdLib.h"
#include "maintenance/ClearData.h"
#include "shell/ui/Application.h"

#include <QLabel>
#include <QPalette>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QLabel* explanation(const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setWordWrap(true);
    l->setIndent(24);
    l->setEnabled(false);
    return l;
}

} // namespace

TClearDataFrm::TClearDataFrm(QWidget* parent) : TADlgFrm(parent)
{
    setObjectName(QStringLiteral("ClearDataFrm"));
    setWindowTitle(QStringLiteral("数据清理"));

    auto* layout = new QVBoxLayout(ClientArea());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("请选择清除范围:"), ClientArea()));

    m_business = new QRadioButton(QStringLiteral("仅业务数据，指各类单据，包括："), ClientArea());
    m_business->setObjectName(QStringLiteral("rbBusiness"));
    layout->addWidget(m_business);
    layout->addWidget(explanation(QStringLiteral("投产计划，原料入库、领料出库、成品入库等"), ClientArea()));

    m_all = new QRadioButton(QStringLiteral("所有数据，包括基础资料部份"), ClientArea());
    m_all->setObjectName(QStringLiteral("rbAll"));
    layout->addWidget(m_all);
    auto* allText = explanation(
        QStringLiteral("除以上的各类单据外，还包括清除所有的基础资料数据，初次使用时可选用此项来初始化"),
        ClientArea());
    allText->setMinimumWidth(360);
    layout->addWidget(allText);

    layout->addSpacing(8);
    auto* warningTitle = new QLabel(QStringLiteral("警告："), ClientArea());
    auto* warning = new QLabel(QStringLiteral("数据清除之后将不可恢复！"), ClientArea());
    warning->setObjectName(QStringLiteral("lblWarning"));
    for (QLabel* l : {warningTitle, warning}) {
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, Qt::red);
        l->setPalette(p);
    }
    QFont bold = warningTitle->font();
    bold.setBold(true);
    warningTitle->setFont(bold);
    layout->addWidget(warningTitle);
    layout->addWidget(warning);
    layout->addStretch(1);
}

void TClearDataFrm::accept()
{
    if (!m_business->isChecked() && !m_all->isChecked()) {
        ShowInfo(QStringLiteral("必须选择要清除的数据范围!"));
        return;
    }
    if (!ConfirmDelete(QStringLiteral("所选中的数据")))
        return;
    try {
        ClearData(m_all->isChecked() ? crAll : crBusiness);
    } catch (...) {
        HandleCurrentException(this);
        return;
    }
    TADlgFrm::accept();
}

void ShowClearData()
{
    TClearDataFrm dlg(TaFrm::MainForm());
    dlg.exec();
}
