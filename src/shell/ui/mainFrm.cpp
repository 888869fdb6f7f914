#include "mainFrm.h"

#include "data/Database.h"
#include "data/MessageService.h"
#include "data/qdLib.h"
#include "maintenance/Backup.h"
#include "masterdata/Captions.h"
#include "services/Operator.h"
#include "shell/AppIdentity.h"
#include "shell/AppPaths.h"
#include "shell/DeskMenus.h"
#include "shell/InfoPanelText.h"
#include "shell/LoginCheck.h"
#include "shell/NameValueList.h"
#include "shell/ProgramFinder.h"
#include "shell/ui/AboutFrm.h"
#include "shell/ui/Application.h"
#include "shell/ui/DeskView.h"
#include "shell/ui/LoginFrm.h"
#include "shell/ui/PickMenuFrm.h"
#include "shell/ui/TipFrm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace {
// The hourglass for the time a desktop shortcut's action runs.
class TWaitCursor
{
public:
    TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;
};

bool sameCaption(const QString& a, const QString& b)
{
    return TPickMenuFrm::PlainCaption(a).compare(TPickMenuFrm::PlainCaption(b), Qt::CaseInsensitive) == 0;
}

QAction* findIn(const QList<QAction*>& actions, const QString& caption)
{
    for (QAction* a : actions)
        if (!a->isSeparator() && sameCaption(a->text(), caption))
            return a;
    for (QAction* a : actions)
        if (a->menu())
            if (QAction* found = findIn(a->menu()->actions(), caption))
                return found;
    return nullptr;
}
} // namespace

TmainFrm::TmainFrm(Tmall& mall, QWidget* parent, const QDate& today) : TaFrm(parent), m_mall(mall)
{
    setObjectName(QStringLiteral("mainFrm"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("%1 - %2").arg(gAppTitle, gEdition));
    setSizeGripEnabled(false);
    TaFrm::SetMainForm(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_menuBar = new QMenuBar(this);
    m_menuBar->setObjectName(QStringLiteral("MainMenu"));
    layout->setMenuBar(m_menuBar);
    buildMenus();
    buildToolBar();
    layout->addWidget(m_toolBar);
    layout->addWidget(buildInfoPanel(today));

    m_desk = new TDeskView(this);
    layout->addWidget(m_desk, 1);
    buildDeskMenu();
    connect(m_desk, &TDeskView::Opened, this, [this] { RunGuarded(this, [this] { OpenSelected(); }); });

    buildStatusBar();
    layout->addWidget(m_statusBar);
    resize(1000, 700);
}

TmainFrm::~TmainFrm()
{
    if (TaFrm::MainForm() == this)
        TaFrm::SetMainForm(nullptr);
}

QAction* TmainFrm::addItem(QMenu* menu, const QString& caption, const QString& name,
                           std::function<void()> handler)
{
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    if (handler)
        connect(a, &QAction::triggered, this, [this, handler] { RunGuarded(this, handler); });
    return a;
}

QAction* TmainFrm::addCommand(QMenu* menu, const QString& caption, const QString& name,
                              Tmall::TCommand command)
{
    QAction* a = addItem(menu, caption, name, [this, command] { runCommand(command); });
    a->setEnabled(m_mall.Available(command));
    return a;
}

void TmainFrm::runCommand(Tmall::TCommand command)
{
    m_mall.Run(command);
}

void TmainFrm::buildMenus()
{
    QMenu* file = m_menuBar->addMenu(QStringLiteral("文件(&F)"));
    file->setObjectName(QStringLiteral("mnuFile"));
    addCommand(file, QStringLiteral("公司信息"), QStringLiteral("miCompanyInfo"), Tmall::cmCompanyInfo);
    addCommand(file, QStringLiteral("操作员及权限"), QStringLiteral("miOperators"), Tmall::cmOperators);
    file->addSeparator();
    addCommand(file, QStringLiteral("初始化数据..."), QStringLiteral("miClearData"), Tmall::cmClearData);
    addCommand(file, QStringLiteral("备份设置与恢复"), QStringLiteral("miBackup"), Tmall::cmBackup);
    addCommand(file, QStringLiteral("从旧版本升级..."), QStringLiteral("miUpgrade"), Tmall::cmUpgrade);
    file->addSeparator();
    addItem(file, QStringLiteral("重新登陆"), QStringLiteral("miRelogin"), [this] { Login(); });
    addCommand(file, QStringLiteral("更改我的登陆密码"), QStringLiteral("miChangePassword"),
               Tmall::cmChangePassword);
    addItem(file, QStringLiteral("设置我的个人桌面"), QStringLiteral("miEditDesktop"),
            [this] { EditDesktop(); });
    file->addSeparator();
    addItem(file, QStringLiteral("退出系统"), QStringLiteral("miExit"), [this] { close(); });

    QMenu* data = m_menuBar->addMenu(QStringLiteral("资料(&O)"));
    data->setObjectName(QStringLiteral("mnuData"));
    addCommand(data, QStringLiteral("原材料"), QStringLiteral("miMaterials"), Tmall::cmMaterials);
    addCommand(data, QStringLiteral("产品资料(BOM)"), QStringLiteral("miProducts"), Tmall::cmProducts);

    QMenu* biz = m_menuBar->addMenu(QStringLiteral("业务(&B)"));
    biz->setObjectName(QStringLiteral("mnuBusiness"));
    addCommand(biz, QStringLiteral("投产"), QStringLiteral("miTouchans"), Tmall::cmTouchans);
    addCommand(biz, QStringLiteral("物料需求清单"), QStringLiteral("miMaterialNeeds"),
               Tmall::cmMaterialNeeds);
    biz->addSeparator();
    addCommand(biz, QStringLiteral("原料采购申请"), QStringLiteral("miMaterialApps"), Tmall::cmMaterialApps);
    addCommand(biz, QStringLiteral("原料入库"), QStringLiteral("miMaterialsIn"), Tmall::cmMaterialsIn);
    addCommand(biz, QStringLiteral("领料出库"), QStringLiteral("miMaterialsOut"), Tmall::cmMaterialsOut);
    addCommand(biz, QStringLiteral("成品入库"), QStringLiteral("miProductsIn"), Tmall::cmProductsIn);
    biz->addSeparator();
    addCommand(biz, QStringLiteral("生产进度查询"), QStringLiteral("miProgress"), Tmall::cmProgress);

    QMenu* view = m_menuBar->addMenu(QStringLiteral("视图(&V)"));
    view->setObjectName(QStringLiteral("mnuView"));
    const std::pair<const char16_t*, const char*> ticked[] = {
        {u"工具栏", "miToolBar"}, {u"主体数据栏", "miMainData"}, {u"客户列表", "miCustomers"}};
    for (const auto& [caption, name] : ticked) {
        QAction* a = addItem(view, QString::fromUtf16(caption), QString::fromLatin1(name), {});
        a->setCheckable(true);
        a->setChecked(true);
        // Shown ticked, without an action: the tick stays.
        connect(a, &QAction::triggered, a, [a] { a->setChecked(true); });
    }
    m_statusBarItem = addItem(view, QStringLiteral("状态栏"), QStringLiteral("miStatusBar"), {});
    m_statusBarItem->setCheckable(true);
    m_statusBarItem->setChecked(true);
    connect(m_statusBarItem, &QAction::triggered, this, [this] {
        m_statusBar->setVisible(!m_statusBar->isVisible());
        m_statusBarItem->setChecked(!m_statusBar->isHidden());
    });

    QMenu* reports = m_menuBar->addMenu(QStringLiteral("报表(&J)"));
    reports->setObjectName(QStringLiteral("mnuReports"));
    addItem(reports, QStringLiteral("统计..."), QStringLiteral("miStatistics"), {});

    QMenu* tools = m_menuBar->addMenu(QStringLiteral("工具(&T)"));
    tools->setObjectName(QStringLiteral("mnuTools"));
    addItem(tools, QStringLiteral("记事本"), QStringLiteral("miNotepad"),
            [this] { startTool(TextEditorCandidates(), QStringLiteral("文本编辑器")); });
    addItem(tools, QStringLiteral("计算器"), QStringLiteral("miCalculator"),
            [this] { startTool(CalculatorCandidates(), QStringLiteral("计算器")); });
    tools->addSeparator();
    addItem(tools, QStringLiteral("配置..."), QStringLiteral("miConfig"), {});

    QMenu* help = m_menuBar->addMenu(QStringLiteral("帮助(&H)"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    QAction* helpFile = addItem(help, QStringLiteral("帮助文件"), QStringLiteral("miHelpFile"),
                                [] { ShowInfo(QStringLiteral("暂无帮助文件")); });
    helpFile->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F1));
    helpFile->setShortcutContext(Qt::WindowShortcut);
    addAction(helpFile);
    addItem(help, QStringLiteral("每日一贴"), QStringLiteral("miTips"), [this] { showTips(); });
    addItem(help, QStringLiteral("常见问题"), QStringLiteral("miFaq"),
            [] { ShowInfo(QStringLiteral("暂无常见问题")); });
    help->addSeparator();
    addItem(help, QStringLiteral("自述文件"), QStringLiteral("miReadme"),
            [this] { openHomeFile(QStringLiteral("readme.txt")); });
    addItem(help, QStringLiteral("最新功能"), QStringLiteral("miWhatsNew"),
            [this] { openHomeFile(QStringLiteral("whatsnew.txt")); });
    help->addSeparator();
    addItem(help, QStringLiteral("关于..."), QStringLiteral("miAbout"), [this] { showAbout(); });
}

void TmainFrm::buildToolBar()
{
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("ToolBar"));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_toolBar->setIconSize(QSize(32, 32));
    m_toolBar->setMovable(false);
    auto add = [this](const QString& caption, const QString& name, std::function<void()> handler) {
        QAction* a = m_toolBar->addAction(TDeskView::CaptionIcon(caption, 32), caption);
        a->setObjectName(name);
        if (handler)
            connect(a, &QAction::triggered, this, [this, handler] { RunGuarded(this, handler); });
        return a;
    };
    add(QStringLiteral("  帮助  "), QStringLiteral("tbHelp"), [this] { ShowHelp(QStringLiteral("Main")); });
    add(QStringLiteral("选项"), QStringLiteral("tbOptions"), {});
    m_toolBar->addSeparator();
    const std::tuple<const char16_t*, const char*, Tmall::TCommand> commands[] = {
        {u"投产", "tbTouchans", Tmall::cmTouchans},
        {u"需求", "tbMaterialNeeds", Tmall::cmMaterialNeeds},
        {u"进度", "tbProgress", Tmall::cmProgress}};
    for (const auto& [caption, name, command] : commands) {
        const Tmall::TCommand cmd = command;
        QAction* a =
            add(QString::fromUtf16(caption), QString::fromLatin1(name), [this, cmd] { runCommand(cmd); });
        a->setEnabled(m_mall.Available(cmd));
    }
    m_toolBar->addSeparator();
    add(QStringLiteral("退出"), QStringLiteral("tbExit"), [this] { close(); });
}

QWidget* TmainFrm::buildInfoPanel(const QDate& today)
{
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("InfoPanel"));
    panel->setAttribute(Qt::WA_StyledBackground);
    panel->setStyleSheet(QStringLiteral(
        "#InfoPanel { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #f4f8fd, stop:1 #dce8f6);"
        " border-bottom: 1px solid #9fb8d8; }"
        "#InfoPanel QLabel { background: transparent; }"));
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(16, 8, 16, 8);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    auto caption = [panel](const QString& text) {
        auto* l = new QLabel(text, panel);
        l->setStyleSheet(QStringLiteral("color: #1f3f7f; font-weight: bold;"));
        return l;
    };
    m_lblDate = new QLabel(GregorianDayText(today), panel);
    m_lblDate->setObjectName(QStringLiteral("lblDate"));
    m_lblLunar = new QLabel(LunarLineText(today), panel);
    m_lblLunar->setObjectName(QStringLiteral("lblLunar"));
    m_lblOperator = new QLabel(panel);
    m_lblOperator->setObjectName(QStringLiteral("lblOperator"));
    grid->addWidget(caption(QStringLiteral("今天是:")), 0, 0);
    grid->addWidget(m_lblDate, 0, 1);
    grid->addWidget(caption(QStringLiteral("农  历:")), 1, 0);
    grid->addWidget(m_lblLunar, 1, 1);
    grid->addWidget(caption(QStringLiteral("操作员:")), 2, 0);
    grid->addWidget(m_lblOperator, 2, 1);
    grid->setColumnStretch(2, 1);
    auto* hint1 = new QLabel(QStringLiteral("双击项目打开该窗体。"), panel);
    auto* hint2 = new QLabel(QStringLiteral("更多的信息请查阅帮助。"), panel);
    for (QLabel* h : {hint1, hint2})
        h->setStyleSheet(QStringLiteral("color: #50607a;"));
    grid->addWidget(hint1, 0, 3, Qt::AlignRight);
    grid->addWidget(hint2, 1, 3, Qt::AlignRight);
    return panel;
}

void TmainFrm::buildStatusBar()
{
    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName(QStringLiteral("StatusBar"));
    m_statusBar->setSizeGripEnabled(true);
    const int widths[4] = {0, 140, 140, 140};
    for (int i = 0; i < 4; ++i) {
        m_panels[i] = new QLabel(m_statusBar);
        m_panels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i + 1));
        m_panels[i]->setFrameShape(QFrame::StyledPanel);
        m_panels[i]->setFrameShadow(QFrame::Sunken);
        if (i == 0) {
            // The first panel takes the width the other three leave.
            m_panels[i]->setMinimumWidth(1);
            m_statusBar->addWidget(m_panels[i], 1);
        } else {
            m_panels[i]->setFixedWidth(widths[i]);
            m_statusBar->addWidget(m_panels[i]);
        }
    }
    m_panels[0]->setText(gDatabase ? gDatabase->GetDataSource() : QString());
}

void TmainFrm::buildDeskMenu()
{
    m_deskMenu = new QMenu(this);
    m_deskMenu->setObjectName(QStringLiteral("DeskMenu"));
    addItem(m_deskMenu, QStringLiteral("打开"), QStringLiteral("dmOpen"), [this] { OpenSelected(); });
    addItem(m_deskMenu, QStringLiteral("设置我的桌面"), QStringLiteral("dmEdit"), [this] { EditDesktop(); });
    addItem(m_deskMenu, QStringLiteral("从我的桌面中删除"), QStringLiteral("dmDelete"),
            [this] { DeleteSelected(); });
    m_deskMenu->addSeparator();
    addItem(m_deskMenu, QStringLiteral("顶对齐"), QStringLiteral("dmAlignTop"), [this] { AlignTop(); });
    addItem(m_deskMenu, QStringLiteral("左对齐"), QStringLiteral("dmAlignLeft"), [this] { AlignLeft(); });
    m_deskMenu->addSeparator();
    addItem(m_deskMenu, QStringLiteral("重新排列我的桌面"), QStringLiteral("dmRearrange"),
            [this] { Rearrange(); });
    connect(m_desk, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { m_deskMenu->popup(m_desk->viewport()->mapToGlobal(pos)); });
}

QAction* TmainFrm::MenuItem(const QString& objectName) const
{
    return findChild<QAction*>(objectName);
}

bool TmainFrm::Login()
{
    {
        TLoginFrm dialog(this);
        if (dialog.exec() != QDialog::Accepted)
            return false;
    }
    m_lblOperator->setText(gOperator->LoginId);
    m_panels[1]->setText(gOperator->LoginId);
    gPriceVisible = gOperator->HasRight(15);
    try {
        LoadDesktop(true);
    } catch (...) {
        // A broken position is reported; the login itself has succeeded.
        HandleCurrentException(this);
    }
    return true;
}

QString TmainFrm::ReadMenus(const QString& loginId) const
{
    return ::ReadMenus(loginId);
}

void TmainFrm::WriteMenus(const QString& loginId, const QString& menus) const
{
    ::WriteMenus(loginId, menus);
}

void TmainFrm::LoadDesktop(bool applyPositions)
{
    m_desk->clear();
    const TNameValueList list(ReadMenus(gOperator->LoginId));
    QList<QListWidgetItem*> icons;
    for (int i = 0; i < list.Count(); ++i)
        icons << m_desk->AddIcon(list.Name(i));
    m_desk->LayoutNow();
    if (!applyPositions)
        return;
    for (int i = 0; i < icons.size(); ++i)
        if (const std::optional<QPoint> pos = DeskIconPosition(list.ValueAt(i)))
            m_desk->SetIconPos(icons[i], *pos);
}

void TmainFrm::SaveDesktop()
{
    if (gOperator->LoginId.isEmpty())
        return;
    TNameValueList list;
    for (int i = 0; i < m_desk->count(); ++i) {
        QListWidgetItem* icon = m_desk->item(i);
        list.SetValue(icon->text(), DeskIconValue(m_desk->IconPos(icon)));
    }
    WriteMenus(gOperator->LoginId, list.Text());
}

void TmainFrm::EditDesktop()
{
    SaveDesktop();
    TPickMenuFrm chooser(m_menuBar, gOperator->LoginId, this);
    if (chooser.exec() == QDialog::Accepted)
        LoadDesktop(true);
}

QAction* TmainFrm::FindMenuItem(const QString& caption) const
{
    return findIn(m_menuBar->actions(), caption);
}

void TmainFrm::OpenSelected()
{
    const QList<QListWidgetItem*> selected = m_desk->SelectedIcons();
    if (selected.isEmpty()) {
        EditDesktop();
        return;
    }
    QAction* item = FindMenuItem(selected.first()->text());
    if (!item) {
        ShowInfo(QStringLiteral("没有找到该功能, 请删除该快捷方式."));
        return;
    }
    TWaitCursor wait;
    item->trigger();
}

void TmainFrm::DeleteSelected()
{
    for (QListWidgetItem* icon : m_desk->SelectedIcons())
        delete icon;
}

void TmainFrm::AlignTop()
{
    const QList<QListWidgetItem*> selected = m_desk->SelectedIcons();
    if (selected.size() < 2)
        return;
    const int top = m_desk->IconPos(selected.first()).y();
    for (QListWidgetItem* icon : selected)
        m_desk->SetIconPos(icon, QPoint(m_desk->IconPos(icon).x(), top));
}

void TmainFrm::AlignLeft()
{
    const QList<QListWidgetItem*> selected = m_desk->SelectedIcons();
    if (selected.size() < 2)
        return;
    const int left = m_desk->IconPos(selected.first()).x();
    for (QListWidgetItem* icon : selected)
        m_desk->SetIconPos(icon, QPoint(left, m_desk->IconPos(icon).y()));
}

void TmainFrm::Rearrange()
{
    SaveDesktop();
    LoadDesktop(false);
}

void TmainFrm::startTool(const QStringList& candidates, const QString& what)
{
    const QString program = FindFirstProgram(candidates);
    if (program.isEmpty()) {
        ShowInfo(
            QStringLiteral("没有找到%1, 请先安装 %2 之一.").arg(what, candidates.join(QStringLiteral(", "))));
        return;
    }
    if (!MessageService().StartProgram(program, {}))
        ShowInfo(QStringLiteral("无法启动%1: %2").arg(what, program));
}

void TmainFrm::openHomeFile(const QString& name)
{
    const QString file = HomeFile(name);
    if (!QFileInfo::exists(file)) {
        ShowInfo(QStringLiteral("没有找到文件 %1").arg(file));
        return;
    }
    if (!MessageService().OpenUrl(file))
        ShowInfo(QStringLiteral("无法打开文件 %1").arg(file));
}

void TmainFrm::showTips()
{
    TTipFrm tips(this);
    tips.exec();
}

void TmainFrm::showAbout()
{
    TAboutFrm about(m_mall, this);
    about.exec();
}

void TmainFrm::CloseSequence()
{
    if (m_closed)
        return;
    m_closed = true;
    hide();
    RunGuarded(this, [] { SaveCaptionSettings(); });
    RunGuarded(this, [this] { SaveDesktop(); });
    RunGuarded(this, [] { AutoBackup(); });
    if (gDatabase)
        gDatabase->SetConnected(false);
}

void TmainFrm::closeEvent(QCloseEvent* event)
{
    CloseSequence();
    event->accept();
    emit Closed();
}
