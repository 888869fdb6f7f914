#include "ADlgFrm.h"

#include "shell/ui/Application.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TADlgFrm::TADlgFrm(QWidget* parent) : TaFrm(parent)
{
    SetPosition(poOwnerFormCenter);
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);

    auto* layout = new QVBoxLayout(this);
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("ClientArea"));
    layout->addWidget(m_client, 1);

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    layout->addWidget(line);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_ok = new QPushButton(QStringLiteral("确定(&O)"), this);
    m_ok->setObjectName(QStringLiteral("btnOk"));
    m_cancel = new QPushButton(QStringLiteral("取消"), this);
    m_cancel->setObjectName(QStringLiteral("btnCancel"));
    m_help = new QPushButton(QStringLiteral("帮助"), this);
    m_help->setObjectName(QStringLiteral("btnHelp"));
    for (QPushButton* b : {m_ok, m_cancel, m_help}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);

    // What a subclass's accept() throws is handled here, inside the click.
    connect(m_ok, &QPushButton::clicked, this, [this] { RunGuarded(this, [this] { accept(); }); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { RunGuarded(this, [this] { reject(); }); });
    connect(m_help, &QPushButton::clicked, this, [this] { RunGuarded(this, [this] { ShowHelp(); }); });
}

void TADlgFrm::EscapePressed()
{
    reject();
}

void TADlgFrm::CtrlEnterPressed()
{
    if (m_ok->isEnabled() && m_ok->isVisible())
        m_ok->click();
}
