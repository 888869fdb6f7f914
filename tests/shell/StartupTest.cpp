#include "ShellFixture.h"

#include "data/Database.h"
#include "maintenance/Backup.h"
#include "masterdata/Captions.h"
#include "services/KeyValue2.h"
#include "services/Operator.h"
#include "shell/DeskMenus.h"
#include "shell/InfoPanelText.h"
#include "shell/ui/DeskView.h"
#include "shell/ui/SplashFrm.h"
#include "shell/ui/TipFrm.h"
#include "shell/ui/mainFrm.h"
#include "shell/ui/mall.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>

namespace {

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

TEST(Startup, BuildTextFollowsCfgIni)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(u"cfg.ini"_s);
    EXPECT_EQ(PublishedBuild(u"Build130116"_s, ini), u"Build130116"_s) << "no cfg.ini";
    WriteFile(ini, "[db]\r\nproviderIdx=1\r\n");
    EXPECT_EQ(PublishedBuild(u"Build130116"_s, ini), u"(Build130116)"_s) << "key missing";
    WriteFile(ini, "[publish]\r\nb=X\r\n");
    EXPECT_EQ(PublishedBuild(u"Build130116"_s, ini), u"(Build130116X)"_s);
}

TEST(Startup, HomeDirectoryFromTheCommandLine)
{
    QString dir, error;
    EXPECT_TRUE(ParseHomeArgument({u"czpm"_s}, dir, error));
    EXPECT_TRUE(dir.isEmpty());
    EXPECT_TRUE(ParseHomeArgument({u"czpm"_s, u"--home"_s, u"/tmp/h"_s}, dir, error));
    EXPECT_EQ(dir, u"/tmp/h"_s);
    EXPECT_TRUE(ParseHomeArgument({u"czpm"_s, u"--home=/tmp/x"_s}, dir, error));
    EXPECT_EQ(dir, u"/tmp/x"_s);
    EXPECT_FALSE(ParseHomeArgument({u"czpm"_s, u"--home"_s}, dir, error));
    EXPECT_FALSE(error.isEmpty());

    SetHomeDir(u"/tmp/h"_s);
    EXPECT_EQ(HomeFile(u"cfg.ini"_s), u"/tmp/h/cfg.ini"_s);
    SetHomeDir(QString());
    EXPECT_EQ(HomeDir(), QCoreApplication::applicationDirPath());
}

TEST(Startup, InformationPanelTexts)
{
    EXPECT_EQ(GregorianDayText(QDate(2005, 2, 21)), u"2005年02月21日 星期一"_s);
    EXPECT_EQ(GregorianDayText(QDate(2013, 1, 13)), u"2013年01月13日 星期日"_s);
    EXPECT_EQ(GregorianDayText(QDate(2013, 1, 19)), u"2013年01月19日 星期六"_s);
    EXPECT_EQ(LunarLineText(QDate(2005, 2, 21)), u"乙酉 鸡年 正月十三"_s);
}

class StartupWindowTest : public ShellTest
{
};

TEST_F(StartupWindowTest, SplashHintsAndPicture)
{
    {
        TSplashFrm splash;
        EXPECT_EQ(splash.Hint(), u"正在创建数据连接..."_s);
        EXPECT_FALSE(splash.HasPicture()) << "a missing splash.jpg is no error";
        splash.show();
        splash.ShowHint(u"正在连接数据库,请稍候..."_s);
        splash.ShowHint(QString());
        splash.ShowHint(QString());
        EXPECT_EQ(splash.Hint(), u"正在连接数据库,请稍候....."_s);
    }
    QImage picture(300, 120, QImage::Format_RGB32);
    picture.fill(Qt::darkBlue);
    ASSERT_TRUE(picture.save(env->home() + u"/splash.jpg"_s, "JPG"));
    TSplashFrm splash;
    EXPECT_TRUE(splash.HasPicture());
}

TEST_F(StartupWindowTest, MainWindowCaptionPanelAndStatusBar)
{
    Tmall mall;
    TmainFrm main(mall, nullptr, QDate(2005, 2, 21));
    EXPECT_EQ(main.objectName(), u"mainFrm"_s);
    EXPECT_EQ(main.windowTitle(), u"澄舟生产管理系统 - 单机版 1.4.130116"_s);
    EXPECT_EQ(main.findChild<QLabel*>(u"lblDate"_s)->text(), u"2005年02月21日 星期一"_s);
    EXPECT_EQ(main.findChild<QLabel*>(u"lblLunar"_s)->text(), u"乙酉 鸡年 正月十三"_s);
    EXPECT_EQ(main.StatusPanel(0)->text(), gDatabase->GetDataSource());
    EXPECT_FALSE(main.StatusPanel(0)->text().isEmpty());

    main.resize(1000, 600);
    main.show();
    QCoreApplication::processEvents();
    const int others =
        main.StatusPanel(1)->width() + main.StatusPanel(2)->width() + main.StatusPanel(3)->width();
    EXPECT_GT(main.StatusPanel(0)->width(), main.StatusBar()->width() - others - 60);
    main.resize(700, 600);
    QCoreApplication::processEvents();
    EXPECT_EQ(main.StatusPanel(1)->width(), 140);
    EXPECT_GT(main.StatusPanel(0)->width(), main.StatusBar()->width() - others - 60);

    QAction* statusItem = main.MenuItem(u"miStatusBar"_s);
    statusItem->trigger();
    EXPECT_FALSE(main.StatusBar()->isVisible());
    EXPECT_FALSE(statusItem->isChecked());
    statusItem->trigger();
    EXPECT_TRUE(main.StatusBar()->isVisible());
    EXPECT_TRUE(statusItem->isChecked());
    QAction* toolbarItem = main.MenuItem(u"miToolBar"_s);
    toolbarItem->trigger();
    EXPECT_TRUE(toolbarItem->isChecked()) << "shown ticked, without an action";
}

TEST_F(StartupWindowTest, HelpMenuTextsAndHomeFiles)
{
    Tmall mall;
    TmainFrm main(mall);
    main.MenuItem(u"miHelpFile"_s)->trigger();
    EXPECT_EQ(messages().lastText(), u"\r\n暂无帮助文件\t"_s);
    EXPECT_EQ(main.MenuItem(u"miHelpFile"_s)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F1));
    main.MenuItem(u"miFaq"_s)->trigger();
    EXPECT_EQ(messages().lastText(), u"\r\n暂无常见问题\t"_s);

    WriteFile(env->home() + u"/readme.txt"_s, "说明");
    main.MenuItem(u"miReadme"_s)->trigger();
    EXPECT_EQ(messages().openedUrls, QStringList{env->home() + u"/readme.txt"_s});
    main.MenuItem(u"miWhatsNew"_s)->trigger();
    EXPECT_TRUE(messages().lastText().contains(u"whatsnew.txt"_s)) << "a missing file is named";
}

TEST_F(StartupWindowTest, ToolsStartAProgramFoundOnPath)
{
    QTemporaryDir bin;
    WriteFile(bin.filePath(u"mousepad"_s), "#!/bin/sh\n");
    QFile::setPermissions(bin.filePath(u"mousepad"_s),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", bin.path().toUtf8());
    Tmall mall;
    TmainFrm main(mall);
    main.MenuItem(u"miNotepad"_s)->trigger();
    main.MenuItem(u"miCalculator"_s)->trigger();
    qputenv("PATH", oldPath);
    EXPECT_EQ(messages().startedPrograms, QStringList{bin.filePath(u"mousepad"_s)});
    EXPECT_TRUE(messages().lastText().startsWith(u"\r\n没有找到计算器"_s));
}

TEST_F(StartupWindowTest, TipOfTheDayAndItsOption)
{
    EXPECT_FALSE(gKeyValues->GetBool(1)) << "a fresh option shows no tip at start-up";
    TTipFrm tips;
    EXPECT_EQ(tips.windowTitle(), u"每日一贴"_s);
    EXPECT_TRUE(TTipFrm::Tips().contains(tips.CurrentTip()));
    EXPECT_EQ(TTipFrm::Tips().size(), 7);
    const QString before = tips.CurrentTip();
    tips.findChild<QPushButton*>(u"btnNext"_s)->click();
    EXPECT_NE(tips.CurrentTip(), before);
    tips.ShowAtStartBox()->setChecked(true);
    gKeyValues->Invalidate();
    EXPECT_TRUE(gKeyValues->GetBool(1)) << "the check box writes option 1 at once";
}

TEST_F(StartupWindowTest, CloseSequenceStoresOptionsAndDesktopThenDisconnects)
{
    gOperator->LoadOperator(u"sa"_s);
    gCaptions.Setting101 = 5;
    gCaptions.Setting102 = 7;
    WriteMenus(u"sa"_s, u"投产=0,0\r\n"_s);
    QTemporaryDir backups;
    WriteBackupSettings(bpEveryExit, backups.path());
    Tmall mall;
    TmainFrm main(mall);
    bool closed = false;
    QObject::connect(&main, &TmainFrm::Closed, [&] { closed = true; });
    main.show();
    main.LoadDesktop(true);
    main.DeskView()->SetIconPos(main.DeskView()->item(0), QPoint(77, 88));
    main.MenuItem(u"miExit"_s)->trigger();
    EXPECT_TRUE(closed);
    EXPECT_FALSE(main.isVisible());
    EXPECT_FALSE(gDatabase->IsConnected());
    EXPECT_TRUE(QFile::exists(AutoBackupFileName(backups.path(), QDate::currentDate())))
        << "the plan \"每次系统退出时备份\" backs up at the close";

    gDatabase->SetConnected(true);
    EXPECT_EQ(ReadMenus(u"sa"_s), u"投产=77,88\r\n"_s);
    gKeyValues->Invalidate();
    EXPECT_EQ(gKeyValues->GetInt(101), 5);
    EXPECT_EQ(gKeyValues->GetInt(102), 7);
    gCaptions = TCaptions();
}

} // namespace
