#include "DBConfigFrm.h"

#include "data/Exceptions.h"
#include "data/MessageService.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

QLineEdit* lineEdit(const char* name, bool masked = false)
{
    auto* e = new QLineEdit;
    e->setObjectName(QLatin1String(name));
    if (masked)
        e->setEchoMode(QLineEdit::Password);
    return e;
}

// Port texts must be whole numbers; anything else is refused as the conversion would.
int portOf(const QString& text)
{
    bool ok = false;
    const int port = text.trimmed().toInt(&ok);
    if (!ok)
        throw EConvertError(QStringLiteral("'%1' 不是有效的端口号").arg(text));
    return port;
}

} // namespace

TDBConfigFrm::TDBConfigFrm(TConfiger& cfg, QWidget* parent) : QDialog(parent), m_cfg(cfg)
{
    setObjectName(QStringLiteral("DBConfigFrm"));
    setWindowTitle(QStringLiteral("数据库连接设置"));
    auto* top = new QVBoxLayout(this);
    for (const char* text :
         {"注意，程序无法正常连接到指定的数据库。", "1.单机版用户，请检查数据库文件是否存在或者已被破坏；",
          "2.网络版用户，请检查网络是否畅通以及数据库服务器是否启动。",
          "另外，请检查以下连接参数是否正确："}) {
        auto* l = new QLabel(QString::fromUtf8(text));
        top->addWidget(l);
    }
    auto* provRow = new QHBoxLayout;
    provRow->addWidget(new QLabel(QStringLiteral("提供者")));
    cbProvider = new QComboBox;
    cbProvider->setObjectName(QStringLiteral("cbProvider"));
    cbProvider->addItems(
        {QStringLiteral("Microsoft OLE DB Provider for Sql Server"), QStringLiteral("SQLite 单机数据库文件"),
         QStringLiteral("Lumaro Dip Provider for Sql Server"), QStringLiteral("PostgreSQL")});
    provRow->addWidget(cbProvider, 1);
    top->addLayout(provRow);

    auto* group = new QGroupBox(QStringLiteral("参数"));
    auto* groupLayout = new QVBoxLayout(group);
    m_pages = new QStackedWidget;
    groupLayout->addWidget(m_pages);
    top->addWidget(group);

    auto* sql = new QWidget;
    auto* f0 = new QFormLayout(sql);
    f0->addRow(QStringLiteral("服务器"), edtServer = lineEdit("edtServer"));
    f0->addRow(QStringLiteral("数据库名"), edtDb = lineEdit("edtDb"));
    f0->addRow(QStringLiteral("登陆名"), edtUser = lineEdit("edtUser"));
    f0->addRow(QStringLiteral("密 码"), edtPw = lineEdit("edtPw", true));
    f0->addRow(QStringLiteral("端口"), edtPort = lineEdit("edtPort"));
    chkSmart = new QCheckBox(QStringLiteral("采用智能连接"));
    chkSmart->setObjectName(QStringLiteral("chkSmart"));
    f0->addRow(QString(), chkSmart);
    m_pages->addWidget(sql);

    auto* jet = new QWidget;
    auto* f1 = new QFormLayout(jet);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(edtJetFile = lineEdit("edtJetFile"), 1);
    btnJetFile = new QPushButton(QStringLiteral("..."));
    btnJetFile->setObjectName(QStringLiteral("btnJetFile"));
    btnJetFile->setFixedWidth(32);
    fileRow->addWidget(btnJetFile);
    f1->addRow(QStringLiteral("数据库文件:"), fileRow);
    f1->addRow(QStringLiteral("用户名:"), edtJetUser = lineEdit("edtJetUser"));
    f1->addRow(QStringLiteral("密码:"), edtJetPw = lineEdit("edtJetPw", true));
    chkDefault = new QCheckBox(QStringLiteral("使用默认连接"));
    chkDefault->setObjectName(QStringLiteral("chkDefault"));
    f1->addRow(QString(), chkDefault);
    m_pages->addWidget(jet);

    auto* dip = new QWidget;
    auto* f2 = new QFormLayout(dip);
    f2->addRow(QStringLiteral("DIP地址"), edtDipUrl = lineEdit("edtDipUrl"));
    f2->addRow(QStringLiteral("DIP用户"), edtDipUser = lineEdit("edtDipUser"));
    m_pages->addWidget(dip);

    auto* pg = new QWidget;
    auto* f3 = new QFormLayout(pg);
    f3->addRow(QStringLiteral("服务器"), edtPgServer = lineEdit("edtPgServer"));
    f3->addRow(QStringLiteral("数据库名"), edtPgDb = lineEdit("edtPgDb"));
    f3->addRow(QStringLiteral("登陆名"), edtPgUser = lineEdit("edtPgUser"));
    f3->addRow(QStringLiteral("密 码"), edtPgPw = lineEdit("edtPgPw", true));
    f3->addRow(QStringLiteral("端口"), edtPgPort = lineEdit("edtPgPort"));
    m_pages->addWidget(pg);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    btnOk = new QPushButton(QStringLiteral("确定(&Y)"));
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnCancel = new QPushButton(QStringLiteral("取消"));
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    top->addLayout(buttons);

    connect(cbProvider, &QComboBox::currentIndexChanged, m_pages, &QStackedWidget::setCurrentIndex);
    connect(chkDefault, &QCheckBox::toggled, this, &TDBConfigFrm::updateJetEnabled);
    connect(btnJetFile, &QPushButton::clicked, this, [this] {
        const QString f =
            MessageService().OpenFileName(QStringLiteral("选择数据库文件"),
                                          QStringLiteral("数据库文件|*.db|所有文件|*.*"), edtJetFile->text());
        if (!f.isEmpty())
            edtJetFile->setText(f);
    });
    connect(btnOk, &QPushButton::clicked, this, &TDBConfigFrm::okClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    loadFields();
}

void TDBConfigFrm::loadFields()
{
    edtServer->setText(m_cfg.mssqlServer);
    edtDb->setText(m_cfg.mssqlDb);
    edtUser->setText(m_cfg.mssqlUser);
    edtPw->setText(m_cfg.mssqlPw);
    edtPort->setText(QString::number(m_cfg.mssqlPort));
    chkSmart->setChecked(false);
    edtJetFile->setText(m_cfg.jetfile);
    edtJetUser->setText(m_cfg.jetUser);
    edtJetPw->setText(m_cfg.jetPw);
    chkDefault->setChecked(m_cfg.defaultCon);
    edtDipUrl->setText(m_cfg.dipUrl);
    edtDipUser->setText(m_cfg.dipUser);
    edtPgServer->setText(m_cfg.pgServer);
    edtPgDb->setText(m_cfg.pgDb);
    edtPgUser->setText(m_cfg.pgUser);
    edtPgPw->setText(m_cfg.pgPw);
    edtPgPort->setText(QString::number(m_cfg.pgPort));
    cbProvider->setCurrentIndex(std::clamp(m_cfg.providerIdx, 0, 3));
    m_pages->setCurrentIndex(cbProvider->currentIndex());
    updateJetEnabled();
}

void TDBConfigFrm::updateJetEnabled()
{
    const bool on = !chkDefault->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{edtJetFile, edtJetUser, edtJetPw, btnJetFile})
        w->setEnabled(on);
}

void TDBConfigFrm::okClick()
{
    // A port that is not a number writes nothing; the dialog still closes so the stored
    // settings are tried again, and it reopens with the typed values if they fail.
    try {
        const int port = portOf(edtPort->text());
        const int pgPort = portOf(edtPgPort->text());
        m_cfg.providerIdx = cbProvider->currentIndex();
        m_cfg.mssqlServer = edtServer->text();
        m_cfg.mssqlDb = edtDb->text();
        m_cfg.mssqlUser = edtUser->text();
        m_cfg.mssqlPw = edtPw->text();
        m_cfg.mssqlPort = port;
        m_cfg.smartConnect = chkSmart->isChecked();
        m_cfg.jetfile = edtJetFile->text();
        m_cfg.jetUser = edtJetUser->text();
        m_cfg.jetPw = edtJetPw->text();
        m_cfg.defaultCon = chkDefault->isChecked();
        m_cfg.dipUrl = edtDipUrl->text();
        m_cfg.dipUser = edtDipUser->text();
        m_cfg.pgServer = edtPgServer->text();
        m_cfg.pgDb = edtPgDb->text();
        m_cfg.pgUser = edtPgUser->text();
        m_cfg.pgPw = edtPgPw->text();
        m_cfg.pgPort = pgPort;
        if (!m_cfg.SaveConfig())
            MessageService().Message(QStringLiteral("无法写入配置文件 %1").arg(m_cfg.FileName()),
                                     windowTitle(), TMessageService::Error, TMessageService::Ok);
    } catch (const Exception& e) {
        MessageService().Message(e.Message(), windowTitle(), TMessageService::Error, TMessageService::Ok);
    }
    accept();
}

void TDBConfigFrm::keyPressEvent(QKeyEvent* e)
{
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && !btnOk->hasFocus() &&
        !btnCancel->hasFocus()) {
        focusNextPrevChild(!(e->modifiers() & Qt::ShiftModifier));
        return;
    }
    QDialog::keyPressEvent(e);
}

bool TDBConfigFrm::Execute()
{
    loadFields();
    return exec() == QDialog::Accepted;
}

bool ConnectDatabaseWithDialog()
{
    std::unique_ptr<TDBConfigFrm> dlg;
    return ConnectDatabase([&dlg](TConfiger& cfg) {
        if (!dlg)
            dlg = std::make_unique<TDBConfigFrm>(cfg);
        return dlg->Execute();
    });
}
