#include "DBUpgradeFrm.h"

#include "data/MessageService.h"
#include "data/qdLib.h"
#include "maintenance/Upgrade.h"
#include "maintenance/UpgradeSet.h"
#include "shell/ui/Application.h"
#include "shell/ui/aFrm.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

void plainMessage(const QString& text)
{
    MessageService().Message(text, gMessageCaption, TMessageService::Information, TMessageService::Ok);
}

QPushButton* makeButton(const QString& text, const QString& name, QWidget* parent)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

} // namespace

TDBUpgradeFrm::TDBUpgradeFrm(TMode mode, const QString& version, QWidget* parent)
    : QDialog(parent), m_mode(mode), m_set(std::make_unique<TUpgradeSet>())
{
    setObjectName(QStringLiteral("DBUpgradeFrm"));
    auto* layout = new QVBoxLayout(this);
    auto* tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("pcUpgrade"));
    layout->addWidget(tabs);
    auto* page = new QWidget(tabs);
    if (mode == umUpgrade) {
        setWindowTitle(QStringLiteral("数据升级"));
        setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                       Qt::CustomizeWindowHint);
        tabs->addTab(page, QStringLiteral("升级"));
        buildUpgradePage(page);
        layout->setSizeConstraint(QLayout::SetFixedSize);
        LoadVersions();
    } else {
        setWindowTitle(QStringLiteral("升级配置"));
        setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                       Qt::WindowMinMaxButtonsHint);
        setSizeGripEnabled(true);
        resize(900, 600);
        setWindowState(Qt::WindowMaximized);
        tabs->addTab(page, QStringLiteral("编写"));
        buildConfigPage(page);
        m_set->Open();
        fillVersionList(version);
    }
}

TDBUpgradeFrm::~TDBUpgradeFrm() = default;

QPushButton* TDBUpgradeFrm::Button(const QString& objectName) const
{
    return findChild<QPushButton*>(objectName);
}

void TDBUpgradeFrm::buildUpgradePage(QWidget* page)
{
    auto* row = new QHBoxLayout(page);
    m_picture = new QLabel(page);
    m_picture->setObjectName(QStringLiteral("imgLogo"));
    m_picture->setPixmap(style()->standardIcon(QStyle::SP_DriveHDIcon).pixmap(64, 64));
    m_picture->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    m_picture->installEventFilter(this);
    row->addWidget(m_picture);

    auto* column = new QVBoxLayout;
    column->addWidget(new QLabel(QStringLiteral("请选择原版本："), page));
    m_versionBox = new QComboBox(page);
    m_versionBox->setObjectName(QStringLiteral("cbVersion"));
    m_versionBox->setMinimumWidth(260);
    column->addWidget(m_versionBox);
    auto* warning = new QLabel(QStringLiteral("注意！数据升级将会删除当前的数据。"), page);
    warning->setObjectName(QStringLiteral("lblWarning"));
    QPalette p = warning->palette();
    p.setColor(QPalette::WindowText, Qt::red);
    warning->setPalette(p);
    column->addWidget(warning);
    m_progress = new QProgressBar(page);
    m_progress->setObjectName(QStringLiteral("pbUpgrade"));
    m_progress->setValue(0);
    column->addWidget(m_progress);

    auto* buttons = new QHBoxLayout;
    m_setup = makeButton(QStringLiteral("设置"), QStringLiteral("btnSetup"), page);
    m_setup->setVisible(false);
    m_ok = makeButton(QStringLiteral("确定"), QStringLiteral("btnOk"), page);
    auto* cancel = makeButton(QStringLiteral("取消"), QStringLiteral("btnCancel"), page);
    buttons->addWidget(m_setup);
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    column->addLayout(buttons);
    row->addLayout(column, 1);

    connect(m_versionBox, &QComboBox::currentIndexChanged, this,
            [this](int index) { m_ok->setEnabled(index >= 0); });
    connect(m_ok, &QPushButton::clicked, this, &TDBUpgradeFrm::RunUpgrade);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_setup, &QPushButton::clicked, this, &TDBUpgradeFrm::OpenSetup);
}

void TDBUpgradeFrm::buildConfigPage(QWidget* page)
{
    auto* layout = new QVBoxLayout(page);
    auto* body = new QHBoxLayout;
    auto* listBox = new QGroupBox(QStringLiteral("版本"), page);
    auto* listLayout = new QVBoxLayout(listBox);
    m_versionList = new QListWidget(listBox);
    m_versionList->setObjectName(QStringLiteral("lbVersions"));
    m_versionList->setContextMenuPolicy(Qt::CustomContextMenu);
    listLayout->addWidget(m_versionList);
    listBox->setMaximumWidth(240);
    body->addWidget(listBox);

    auto* editorBox = new QGroupBox(
        QStringLiteral("SQL脚本(Access第一行填文件名,SQL第一行填数据库名,//注释,msg:信息)"), page);
    auto* editorLayout = new QVBoxLayout(editorBox);
    m_editor = new QPlainTextEdit(editorBox);
    m_editor->setObjectName(QStringLiteral("memSql"));
    m_editor->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_editor->installEventFilter(this);
    editorLayout->addWidget(m_editor);
    body->addWidget(editorBox, 1);
    layout->addLayout(body, 1);

    auto* buttons = new QHBoxLayout;
    auto* add = makeButton(QStringLiteral("新增"), QStringLiteral("btnNew"), page);
    m_rename = makeButton(QStringLiteral("重命名"), QStringLiteral("btnRename"), page);
    m_delete = makeButton(QStringLiteral("删除"), QStringLiteral("btnDelete"), page);
    m_test = makeButton(QStringLiteral("测试"), QStringLiteral("btnTest"), page);
    auto* ok = makeButton(QStringLiteral("确定"), QStringLiteral("btnOk"), page);
    auto* cancel = makeButton(QStringLiteral("取消"), QStringLiteral("btnCancel"), page);
    for (QPushButton* b : {add, m_rename, m_delete, m_test})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    auto* menu = new QMenu(m_versionList);
    QAction* actNew = menu->addAction(QStringLiteral("新增"));
    QAction* actRename = menu->addAction(QStringLiteral("重命名"));
    QAction* actDelete = menu->addAction(QStringLiteral("删除"));
    connect(actNew, &QAction::triggered, this, &TDBUpgradeFrm::NewVersion);
    connect(actRename, &QAction::triggered, this, &TDBUpgradeFrm::RenameVersion);
    connect(actDelete, &QAction::triggered, this, &TDBUpgradeFrm::DeleteVersion);
    connect(m_versionList, &QWidget::customContextMenuRequested, this, [=, this](const QPoint& pos) {
        const bool selected = m_versionList->currentRow() >= 0;
        actRename->setEnabled(selected);
        actDelete->setEnabled(selected);
        menu->popup(m_versionList->viewport()->mapToGlobal(pos));
    });

    connect(m_versionList, &QListWidget::currentRowChanged, this, &TDBUpgradeFrm::showVersion);
    connect(m_editor, &QPlainTextEdit::textChanged, this, &TDBUpgradeFrm::updateConfigButtons);
    connect(add, &QPushButton::clicked, this, &TDBUpgradeFrm::NewVersion);
    connect(m_rename, &QPushButton::clicked, this, &TDBUpgradeFrm::RenameVersion);
    connect(m_delete, &QPushButton::clicked, this, &TDBUpgradeFrm::DeleteVersion);
    connect(m_test, &QPushButton::clicked, this, &TDBUpgradeFrm::TestScript);
    connect(ok, &QPushButton::clicked, this, &TDBUpgradeFrm::SaveConfig);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool TDBUpgradeFrm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_picture && event->type() == QEvent::MouseButtonDblClick) {
        if (++m_doubleClicks >= 3)
            m_setup->setVisible(true);
    } else if (watched == m_editor && event->type() == QEvent::FocusOut) {
        storeEditor();
    }
    return QDialog::eventFilter(watched, event);
}

// ---- upgrade mode ----

void TDBUpgradeFrm::LoadVersions()
{
    m_set = std::make_unique<TUpgradeSet>();
    m_set->Open();
    m_versionBox->clear();
    TDataSet* ds = m_set->Query();
    for (ds->First(); !ds->Eof(); ds->Next())
        m_versionBox->addItem(m_set->Version()->AsString());
    m_versionBox->setCurrentIndex(-1);
    m_ok->setEnabled(false);
}

void TDBUpgradeFrm::RunUpgrade()
{
    if (m_versionBox->currentIndex() < 0) {
        plainMessage(QStringLiteral("必须选择升级方式"));
        return;
    }
    if (!m_set->LocateVersion(m_versionBox->currentText())) {
        plainMessage(QStringLiteral("没有定位到该版本记录"));
        return;
    }
    const QString script = m_set->SqlText()->AsString();
    const bool ok = RunUpgradeScript(script, [this](int position, int maximum) {
        m_progress->setMaximum(maximum);
        m_progress->setValue(position);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
    if (!ok)
        return;
    MessageService().Message(QStringLiteral("\r\n恭喜! 数据库升级成功,软件将重新启动!"), gMessageCaption,
                             TMessageService::Information, TMessageService::Ok);
    m_upgraded = true;
    accept();
}

void TDBUpgradeFrm::OpenSetup()
{
    QString version;
    if (m_versionBox->currentIndex() >= 0)
        version = m_versionBox->currentText();
    else if (m_versionBox->count() > 0)
        version = m_versionBox->itemText(0);
    TDBUpgradeFrm config(umConfig, version, this);
    if (config.exec() == QDialog::Accepted)
        QTimer::singleShot(100, this, &TDBUpgradeFrm::LoadVersions);
}

// ---- configuration mode ----

void TDBUpgradeFrm::fillVersionList(const QString& select)
{
    const QSignalBlocker block(m_versionList);
    m_versionList->clear();
    int selectRow = -1;
    TDataSet* ds = m_set->Query();
    for (ds->First(); !ds->Eof(); ds->Next()) {
        auto* item = new QListWidgetItem(m_set->Version()->AsString(), m_versionList);
        item->setData(Qt::UserRole, ds->GetBookmark());
        if (selectRow < 0 && item->text() == select)
            selectRow = m_versionList->count() - 1;
    }
    if (selectRow < 0 && m_versionList->count() > 0)
        selectRow = 0;
    m_versionList->setCurrentRow(selectRow);
    showVersion(selectRow);
}

bool TDBUpgradeFrm::gotoRow(int row)
{
    QListWidgetItem* item = m_versionList->item(row);
    if (!item)
        return false;
    const int bookmark = item->data(Qt::UserRole).toInt();
    if (!m_set->Query()->BookmarkValid(bookmark))
        return false;
    m_set->Query()->GotoBookmark(bookmark);
    return true;
}

void TDBUpgradeFrm::storeEditor()
{
    TDataSet* ds = m_set->Query();
    if (m_editingBookmark < 0 || !ds->BookmarkValid(m_editingBookmark))
        return;
    const QString text = m_editor->toPlainText();
    ds->GotoBookmark(m_editingBookmark);
    if (m_set->SqlText()->AsString() == text)
        return;
    ds->Edit();
    m_set->SqlText()->SetAsString(text);
    ds->Post();
}

void TDBUpgradeFrm::showVersion(int row)
{
    storeEditor();
    m_editingBookmark = -1;
    const QSignalBlocker block(m_editor);
    if (gotoRow(row)) {
        m_editor->setPlainText(m_set->SqlText()->AsString());
        m_editingBookmark = m_set->Query()->GetBookmark();
    } else {
        m_editor->clear();
    }
    updateConfigButtons();
}

void TDBUpgradeFrm::updateConfigButtons()
{
    const bool selected = m_editingBookmark >= 0;
    m_rename->setEnabled(selected);
    m_delete->setEnabled(selected);
    m_test->setEnabled(selected && !m_editor->toPlainText().isEmpty());
    m_editor->setReadOnly(!selected);
    m_editor->setEnabled(selected);
}

void TDBUpgradeFrm::NewVersion()
{
    QString name;
    if (!MessageService().InputBox(QStringLiteral("新增"), QStringLiteral("版本代号 "), name) ||
        name.trimmed().isEmpty())
        return;
    storeEditor();
    m_set->AppendVersion(name);
    auto* item = new QListWidgetItem(name, m_versionList);
    item->setData(Qt::UserRole, m_set->Query()->GetBookmark());
    m_versionList->setCurrentItem(item);
}

void TDBUpgradeFrm::RenameVersion()
{
    QListWidgetItem* item = m_versionList->currentItem();
    if (!item)
        return;
    storeEditor();
    QString name = item->text();
    if (!MessageService().InputBox(QStringLiteral("重命名"), QStringLiteral("版本代号 "), name) ||
        name.trimmed().isEmpty())
        return;
    if (!gotoRow(m_versionList->currentRow()))
        return;
    m_set->Query()->Edit();
    m_set->Version()->SetAsString(name);
    m_set->Query()->Post();
    item->setText(name);
}

void TDBUpgradeFrm::DeleteVersion()
{
    const int row = m_versionList->currentRow();
    if (!gotoRow(row))
        return;
    m_editingBookmark = -1;
    m_set->MarkDeleted();
    delete m_versionList->takeItem(row);
    showVersion(m_versionList->currentRow());
}

void TDBUpgradeFrm::TestScript()
{
    if (m_editingBookmark < 0) {
        plainMessage(QStringLiteral("必须选择一个版本"));
        return;
    }
    storeEditor();
    if (RunUpgradeScript(m_editor->toPlainText()))
        plainMessage(QStringLiteral("\r\nOK! 测试成功!!!"));
}

void TDBUpgradeFrm::SaveConfig()
{
    storeEditor();
    try {
        m_set->Save();
    } catch (...) {
        HandleCurrentException(this);
        return;
    }
    plainMessage(QStringLiteral("保存成功"));
    accept();
}

void ShowDBUpgrade()
{
    bool upgraded = false;
    {
        TDBUpgradeFrm frm(TDBUpgradeFrm::umUpgrade, QString(), TaFrm::MainForm());
        frm.exec();
        upgraded = frm.Upgraded();
    }
    if (upgraded)
        RestartProgram();
}

void RestartProgram()
{
    if (QWidget* main = TaFrm::MainForm(); main && !main->close())
        return;
    MessageService().StartProgram(QCoreApplication::applicationFilePath(),
                                  QCoreApplication::arguments().mid(1));
}
