#include "MaintenanceFixture.h"

#include "data/Exceptions.h"
#include "maintenance/Backup.h"
#include "maintenance/ui/ClearDataFrm.h"
#include "maintenance/ui/DBUpgradeFrm.h"
#include "maintenance/ui/DirPickerFrm.h"
#include "maintenance/ui/FrmBackup.h"
#include "shell/ui/Application.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

class WindowTest : public TMaintenanceSqliteTest
{
protected:
    void SetUp() override
    {
        TMaintenanceSqliteTest::SetUp();
        SetBackupClock([] { return QDateTime(QDate(2013, 1, 16), QTime(15, 30)); });
        m_previousHandler = SetErrorHandler([this](QObject*, const QString& message) { errors << message; });
    }
    void TearDown() override
    {
        SetErrorHandler(m_previousHandler);
        SetBackupClock({});
        TMaintenanceSqliteTest::TearDown();
    }
    QString file(const QString& name) const { return QDir(env->home()).filePath(name); }
    // Runs action on the modal dialog of type T as soon as it is shown.
    template <typename T> static void onModal(std::function<void(T&)> action)
    {
        QTimer::singleShot(0, [action] {
            auto* dlg = qobject_cast<T*>(QApplication::activeModalWidget());
            ASSERT_NE(dlg, nullptr);
            action(*dlg);
        });
    }
    static void grab(QWidget& w, const char* name)
    {
        w.show();
        QApplication::processEvents();
        w.grab().save(QStringLiteral("/tmp/maint-%1.png").arg(QString::fromLatin1(name)));
    }
    QStringList errors;

private:
    TErrorHandler m_previousHandler;
};

TEST_F(WindowTest, TheBackupDialogBacksUpAndRestoresAtOnce)
{
    SeedFactory();
    TFrmBackup dlg;
    dlg.SetDirectory(env->home());
    grab(dlg, "backup");

    messages().fileNames.push_back(file(QStringLiteral("manual")));
    dlg.findChild<QPushButton*>(QStringLiteral("btnBackup"))->click();
    EXPECT_EQ(messages().texts(), QStringList{QStringLiteral("\r\n备份操作执行成功!")});
    ASSERT_TRUE(QFileInfo::exists(file(QStringLiteral("manual.bak")))); // the default extension

    gDatabase->Execute(QStringLiteral("delete from productbom"));
    messages().messages.clear();
    messages().fileNames.push_back(file(QStringLiteral("manual.bak")));
    messages().setNextAnswer(TMessageService::AnswerCancel);
    dlg.findChild<QPushButton*>(QStringLiteral("btnRestore"))->click();
    EXPECT_EQ(messages().texts(), QStringList{QStringLiteral("\r\n您确定要进行数据恢复操作吗?\t")});
    EXPECT_EQ(RowCount(QStringLiteral("productbom")), 0);

    messages().messages.clear();
    messages().fileNames.push_back(file(QStringLiteral("manual.bak")));
    dlg.findChild<QPushButton*>(QStringLiteral("btnRestore"))->click();
    EXPECT_EQ(messages().texts(), (QStringList{QStringLiteral("\r\n您确定要进行数据恢复操作吗?\t"),
                                               QStringLiteral("\r\n恢复操作执行成功!")}));
    EXPECT_EQ(RowCount(QStringLiteral("productbom")), 2);

    // A refused file: the reason is shown, the dialog goes on.
    QFile junk(file(QStringLiteral("junk.bak")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("junk");
    junk.close();
    messages().messages.clear();
    messages().fileNames.push_back(junk.fileName());
    dlg.findChild<QPushButton*>(QStringLiteral("btnRestore"))->click();
    ASSERT_EQ(messages().texts().size(), 2);
    EXPECT_TRUE(messages().lastText().startsWith(QStringLiteral("\r\n所选文件不是本系统的数据库备份")));
    EXPECT_EQ(RowCount(QStringLiteral("productbom")), 2);

    // A backup into a directory that does not exist: the failure, no success message.
    messages().messages.clear();
    messages().fileNames.push_back(file(QStringLiteral("no/such/dir/x.bak")));
    dlg.findChild<QPushButton*>(QStringLiteral("btnBackup"))->click();
    EXPECT_EQ(
        messages().texts(),
        QStringList{QStringLiteral("\r\n备份时,复制文件失败,请检查备份路径是否正确,或者目标文件已存在.\t")});
}

TEST_F(WindowTest, TheSettingsAreSavedOnOkAndAFailedSaveShowsTheDialogAgain)
{
    onModal<TFrmBackup>([](TFrmBackup& dlg) {
        EXPECT_EQ(dlg.PlanIndex(), bpNone);
        dlg.findChild<QRadioButton*>(QStringLiteral("rbPlan2"))->setChecked(true);
        dlg.findChild<QLineEdit*>(QStringLiteral("edtDir"))->setText(QStringLiteral("D:\\bk"));
        dlg.OkButton()->click();
    });
    EditBackupSettings();
    EXPECT_EQ(TableRows(QStringLiteral("[backup]")), QStringList{QStringLiteral("2|D:\\bk\\")});

    gDatabase->SetFailAt(2); // the read of the row passes, the update fails
    onModal<TFrmBackup>([](TFrmBackup& dlg) {
        EXPECT_EQ(dlg.PlanIndex(), bpMondays);
        EXPECT_EQ(dlg.Directory(), QStringLiteral("D:\\bk\\"));
        dlg.findChild<QRadioButton*>(QStringLiteral("rbPlan3"))->setChecked(true);
        dlg.OkButton()->click();
        // The error was shown; the dialog is shown again and cancelled.
        onModal<TFrmBackup>([](TFrmBackup& again) {
            EXPECT_EQ(again.PlanIndex(), bpFirstOfMonth);
            again.CancelButton()->click();
        });
    });
    EditBackupSettings();
    gDatabase->SetFailAt(0);
    ASSERT_EQ(messages().texts().size(), 1);
    EXPECT_TRUE(messages().lastText().contains(QStringLiteral("模拟的数据库错误")));
    EXPECT_EQ(TableRows(QStringLiteral("[backup]")), QStringList{QStringLiteral("2|D:\\bk\\")});
}

TEST_F(WindowTest, TheDirectoryPickerStartsAtTheGivenDirectory)
{
    const QString dir = file(QStringLiteral("backups"));
    ASSERT_TRUE(QDir().mkpath(dir));
    TDirPickerFrm picker(dir);
    EXPECT_EQ(picker.Directory(), dir);
    EXPECT_EQ(picker.findChild<QLabel*>(QStringLiteral("lblDir"))->text(), dir);
    grab(picker, "dirpicker");
    TDirPickerFrm fallback(file(QStringLiteral("missing")));
    EXPECT_EQ(fallback.Directory(), QDir::homePath());

    onModal<TDirPickerFrm>([dir](TDirPickerFrm& dlg) {
        dlg.SelectDirectory(QFileInfo(dir).absolutePath());
        dlg.OkButton()->click();
    });
    EXPECT_EQ(PickDirectory(dir), QFileInfo(dir).absolutePath());
    onModal<TDirPickerFrm>([](TDirPickerFrm& dlg) { dlg.CancelButton()->click(); });
    EXPECT_EQ(PickDirectory(dir), dir);
}

TEST_F(WindowTest, TheClearDialogNeedsARangeAConfirmationAndKeepsEverythingOnFailure)
{
    SeedFactory();
    const QStringList before = DatabaseSnapshot();
    TClearDataFrm dlg;
    grab(dlg, "cleardata");
    EXPECT_FALSE(dlg.BusinessButton()->isChecked() || dlg.AllButton()->isChecked());
    dlg.OkButton()->click();
    EXPECT_EQ(messages().texts(), QStringList{QStringLiteral("\r\n必须选择要清除的数据范围!\t")});
    EXPECT_TRUE(dlg.isVisible());

    dlg.AllButton()->setChecked(true);
    messages().messages.clear();
    messages().setNextAnswer(TMessageService::AnswerCancel);
    dlg.OkButton()->click();
    EXPECT_EQ(messages().texts(), QStringList{QStringLiteral("\r您确定要删除 所选中的数据 吗?\t\t")});
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(DatabaseSnapshot(), before);

    gDatabase->SetFailAt(10); // "delete from productbom"
    dlg.OkButton()->click();
    gDatabase->SetFailAt(0);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors.first().contains(QStringLiteral("delete from productbom")));
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(DatabaseSnapshot(), before);

    dlg.OkButton()->click();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(RowCount(QStringLiteral("materials")), 0);
    EXPECT_EQ(RowCount(QStringLiteral("materialsapp")), 0);
}

TEST_F(WindowTest, TheUpgradeWindowRunsTheChosenScriptAndRestartsTheProgram)
{
    gDatabase->Execute(
        QStringLiteral("insert into upgrade (Id, Version, SqlText) values "
                       "(1, '1.2', 'v12\ninsert into nowhere values (1)'), "
                       "(2, '1.3', 'v13\n// 1.3\ninsert into syscols (F02, F06) values (1, ''a'')\n"
                       "insert into syscols (F02, F06) values (2, ''b'')')"));
    TDBUpgradeFrm frm(TDBUpgradeFrm::umUpgrade);
    grab(frm, "upgrade");
    QComboBox* box = frm.VersionBox();
    ASSERT_EQ(box->count(), 2);
    EXPECT_EQ(box->itemText(0), QStringLiteral("1.2"));
    QPushButton* ok = frm.Button(QStringLiteral("btnOk"));
    EXPECT_FALSE(ok->isEnabled());

    // "设置" appears from the third double click on the picture on.
    for (int i = 1; i <= 3; ++i) {
        EXPECT_FALSE(frm.SetupButton()->isVisible()) << i;
        QTest::mouseDClick(frm.Picture(), Qt::LeftButton);
    }
    EXPECT_TRUE(frm.SetupButton()->isVisible());
    grab(frm, "upgrade-setup");

    box->setCurrentIndex(0);
    EXPECT_TRUE(ok->isEnabled());
    ok->click();
    EXPECT_FALSE(frm.Upgraded());
    EXPECT_TRUE(frm.isVisible());
    ASSERT_EQ(messages().texts().size(), 1);
    EXPECT_TRUE(
        messages().lastText().endsWith(QStringLiteral("附当时语句是:insert into nowhere values (1)")));

    messages().messages.clear();
    box->setCurrentIndex(1);
    ok->click();
    EXPECT_EQ(messages().texts(), QStringList{QStringLiteral("\r\n恭喜! 数据库升级成功,软件将重新启动!")});
    EXPECT_TRUE(frm.Upgraded());
    EXPECT_EQ(frm.result(), QDialog::Accepted);
    EXPECT_EQ(frm.ProgressBar()->maximum(), 4);
    EXPECT_EQ(frm.ProgressBar()->value(), 3);
    EXPECT_EQ(RowCount(QStringLiteral("syscols")), 2);

    RestartProgram();
    ASSERT_EQ(messages().startedPrograms.size(), 1);
    EXPECT_TRUE(messages().startedPrograms.first().startsWith(QCoreApplication::applicationFilePath()));
}

TEST_F(WindowTest, TheConfigurationModeEditsTestsAndSavesTheScripts)
{
    gDatabase->Execute(QStringLiteral("insert into upgrade (Id, Version, SqlText) values "
                                      "(1, '1.2', 'v12'), (2, '1.3', 'v13\nmsg:hello')"));
    TDBUpgradeFrm frm(TDBUpgradeFrm::umConfig, QStringLiteral("1.3"));
    QListWidget* list = frm.VersionList();
    QPlainTextEdit* editor = frm.Editor();
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->currentItem()->text(), QStringLiteral("1.3"));
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("v13\nmsg:hello"));
    grab(frm, "upgrade-config");

    // No version selected: the editor is greyed and empty, the buttons that need one are off.
    list->setCurrentRow(-1);
    EXPECT_FALSE(editor->isEnabled());
    EXPECT_TRUE(editor->toPlainText().isEmpty());
    for (const char* b : {"btnRename", "btnDelete", "btnTest"})
        EXPECT_FALSE(frm.Button(QString::fromLatin1(b))->isEnabled()) << b;

    messages().inputs.push_back(QStringLiteral("1.4"));
    frm.Button(QStringLiteral("btnNew"))->click();
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->currentItem()->text(), QStringLiteral("1.4"));
    EXPECT_TRUE(editor->isEnabled());
    EXPECT_FALSE(frm.Button(QStringLiteral("btnTest"))->isEnabled()); // the script is empty
    editor->setPlainText(QStringLiteral("v14\ninsert into syscols (F02, F06) values (5, '%dir')"));
    EXPECT_TRUE(frm.Button(QStringLiteral("btnTest"))->isEnabled());
    messages().messages.clear();
    frm.Button(QStringLiteral("btnTest"))->click();
    EXPECT_EQ(messages().texts(), QStringList{QStringLiteral("\r\nOK! 测试成功!!!")});
    EXPECT_EQ(TableRows(QStringLiteral("syscols")),
              QStringList{QStringLiteral("5|") + QDir(env->home()).absolutePath()});

    list->setCurrentRow(0);
    messages().inputs.push_back(QStringLiteral("1.2 旧版"));
    frm.Button(QStringLiteral("btnRename"))->click();
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("1.2 旧版"));
    list->setCurrentRow(1);
    frm.Button(QStringLiteral("btnDelete"))->click();
    EXPECT_EQ(list->count(), 2);

    messages().messages.clear();
    frm.Button(QStringLiteral("btnOk"))->click();
    EXPECT_EQ(messages().texts(), QStringList{QStringLiteral("保存成功")});
    EXPECT_EQ(frm.result(), QDialog::Accepted);
    // The rows are saved in their order: 1.3 is deleted before the new row takes max(Id) + 1.
    EXPECT_EQ(TableRows(QStringLiteral("upgrade")),
              (QStringList{QStringLiteral("1|1.2 旧版|v12"),
                           QStringLiteral("2|1.4|v14\ninsert into syscols (F02, F06) values (5, '%dir')")}));
}

} // namespace
