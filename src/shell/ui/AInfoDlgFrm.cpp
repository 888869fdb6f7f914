#include "AInfoDlgFrm.h"

#include "shell/ui/Application.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TAInfoDlgFrm::TAInfoDlgFrm(QWidget* parent) : TaFrm(parent)
{
    SetPosition(poMainFormCenter);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);

    auto* layout = new QVBoxLayout(this);
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("ClientArea"));
    layout->addWidget(m_client, 1);

    m_buttons = new QHBoxLayout;
    m_buttons->addStretch(1);
    m_close = new QPushButton(QStringLiteral("关闭"), this);
    m_close->setObjectName(QStringLiteral("btnClose"));
    m_help = new QPushButton(QStringLiteral("帮助"), this);
    m_help->setObjectName(QStringLiteral("btnHelp"));
    for (QPushButton* b : {m_close, m_help}) {
        b->setAutoDefault(false);
        m_buttons->addWidget(b);
    }
    layout->addLayout(m_buttons);

    connect(m_close, &QPushButton::clicked, this, [this] { RunGuarded(this, [this] { reject(); }); });
    connect(m_help, &QPushButton::clicked, this, [this] { RunGuarded(this, [this] { ShowHelp(); }); });
}

void TAInfoDlgFrm::EscapePressed()
{
    reject();
}
