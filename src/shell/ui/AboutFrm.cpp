#include "AboutFrm.h"

#include "data/Database.h"
#include "shell/AppIdentity.h"
#include "shell/AppPaths.h"
#include "shell/ui/Application.h"
#include "shell/ui/Title1Fra.h"
#include "shell/ui/mall.h"

#include <QDir>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TAboutFrm::TAboutFrm(Tmall& mall, QWidget* parent) : TAInfoDlgFrm(parent)
{
    setObjectName(QStringLiteral("AboutFrm"));
    setWindowTitle(QStringLiteral("关于"));

    auto* layout = new QVBoxLayout(ClientArea());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new TTitle1Fra(gAppTitle, ClientArea()));
    auto* form = new QFormLayout;
    form->setContentsMargins(12, 8, 12, 8);
    auto value = [this](const QString& text, const char* name) {
        auto* l = new QLabel(text, ClientArea());
        l->setObjectName(QString::fromLatin1(name));
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        return l;
    };
    form->addRow(QStringLiteral("版本:"), value(gEdition, "lblEdition"));
    form->addRow(QStringLiteral("编译:"), value(gBuild, "lblBuild"));
    form->addRow(QStringLiteral("程序目录:"), value(QDir::toNativeSeparators(HomeDir()), "lblHome"));
    form->addRow(QStringLiteral("数据源:"),
                 value(gDatabase ? gDatabase->GetDataSource() : QString(), "lblDataSource"));
    layout->addLayout(form);

    m_company = new QPushButton(QStringLiteral("用户信息"), this);
    m_company->setObjectName(QStringLiteral("btnCompany"));
    m_company->setAutoDefault(false);
    m_company->setEnabled(mall.Available(Tmall::cmCompanyView));
    ButtonRow()->insertWidget(1, m_company);
    connect(m_company, &QPushButton::clicked, this,
            [this, &mall] { RunGuarded(this, [&mall] { mall.Run(Tmall::cmCompanyView); }); });
    resize(460, 260);
}
