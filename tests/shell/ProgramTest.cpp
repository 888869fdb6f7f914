#include "ShellFixture.h"

#include "data/Database.h"
#include "data/Schema.h"
#include "maintenance/Backup.h"
#include "shell/ui/LoginFrm.h"
#include "shell/ui/Program.h"
#include "shell/ui/TipFrm.h"
#include "shell/ui/aFrm.h"

#include <QComboBox>
#include <QFile>
#include <QFont>
#include <QLocale>
#include <QPushButton>

namespace {

// The whole program block on a home directory of its own, the user played by callbacks.
class ProgramTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetHomeDir(m_home.path());
        m_font = QApplication::font();
    }
    void TearDown() override
    {
        SetHomeDir(QString());
        QLocale::setDefault(QLocale::c());
        QApplication::setFont(m_font);
    }
    QString Home(const QString& name) const { return m_home.filePath(name); }
    // A database made before the start, changed by the given statements.
    void PrepareDatabase(const QStringList& statements)
    {
        const QString file = Home(u"czpm.db"_s);
        CreateSqliteDatabase(file);
        TDatabase db;
        ASSERT_TRUE(db.Connect(u"Provider=SQLite;Data Source=%1;"_s.arg(file)));
        for (const QString& s : statements)
            db.Execute(s);
    }
    // Logs in as sa, or cancels the login.
    static void AnswerLogin(bool ok, std::function<void()> then = {})
    {
        WhenModal([ok, then](QWidget* w) {
            auto* login = qobject_cast<TLoginFrm*>(w);
            ASSERT_NE(login, nullptr);
            EXPECT_EQ(login->LoginIdBox()->currentText(), u"sa"_s);
            EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), u"取消"_s)
                << "Qt's own buttons read Chinese";
            (ok ? login->OkButton() : login->CancelButton())->click();
            if (then)
                then();
        });
    }
    static void CloseMainSoon(QStringList* modalsSeen = nullptr)
    {
        QTimer::singleShot(200, [modalsSeen] {
            if (modalsSeen && QApplication::activeModalWidget())
                *modalsSeen << QApplication::activeModalWidget()->objectName();
            ASSERT_NE(TaFrm::MainForm(), nullptr);
            EXPECT_TRUE(TaFrm::MainForm()->isVisible());
            TaFrm::MainForm()->close();
        });
    }

    QTemporaryDir m_home;
    QFont m_font;
};

TEST_F(ProgramTest, FreshStartAsksForTheCompanyThenRunsUntilTheMainWindowCloses)
{
    QString firstModal;
    AnswerLogin(true, [&firstModal] {
        WhenModal([&firstModal](QWidget* w) {
            firstModal = w->objectName();
            qobject_cast<QDialog*>(w)->reject();
            CloseMainSoon();
        });
    });
    EXPECT_EQ(RunProgram(*qApp), 0);
    EXPECT_EQ(firstModal, u"CompanyInfoFrm"_s) << "sa on a database without a company name";
    EXPECT_TRUE(QFile::exists(Home(u"czpm.db"_s)));
    EXPECT_EQ(gDatabase, nullptr) << "the process objects are freed at the end";
    EXPECT_EQ(TaFrm::MainForm(), nullptr);
}

TEST_F(ProgramTest, NamedCompanyAndTipOption)
{
    PrepareDatabase({u"insert into Company(Id, CompanyName) values (1, 'ABCDEFGH')"_s,
                     u"insert into keyvalue(KeyId, Vbool) values (1, 1)"_s});
    QString firstModal;
    AnswerLogin(true, [&firstModal] {
        WhenModal([&firstModal](QWidget* w) {
            firstModal = w->objectName();
            qobject_cast<QDialog*>(w)->reject();
            CloseMainSoon();
        });
    });
    EXPECT_EQ(RunProgram(*qApp), 0);
    EXPECT_EQ(firstModal, u"TipFrm"_s) << "an 8-byte name is a name; option 1 shows the tip";
}

TEST_F(ProgramTest, SevenBytesAreNoCompanyName)
{
    PrepareDatabase({u"insert into Company(Id, CompanyName) values (1, 'ABCDEFG')"_s});
    QString firstModal;
    AnswerLogin(true, [&firstModal] {
        WhenModal([&firstModal](QWidget* w) {
            firstModal = w->objectName();
            qobject_cast<QDialog*>(w)->reject();
            CloseMainSoon();
        });
    });
    EXPECT_EQ(RunProgram(*qApp), 0);
    EXPECT_EQ(firstModal, u"CompanyInfoFrm"_s);
}

TEST_F(ProgramTest, CancelledLoginEndsTheProgramThroughTheCloseSequence)
{
    QTemporaryDir backups;
    PrepareDatabase({u"update [backup] set TypeId=1, BackDir='%1/'"_s.arg(backups.path())});
    AnswerLogin(false);
    EXPECT_EQ(RunProgram(*qApp), 0);
    EXPECT_TRUE(QFile::exists(AutoBackupFileName(backups.path(), QDate::currentDate())))
        << "the close sequence ran its automatic backup";
    EXPECT_EQ(gDatabase, nullptr);
}

} // namespace
