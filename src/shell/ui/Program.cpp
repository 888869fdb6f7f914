#include "Program.h"

#include "data/Database.h"
#include "data/MessageService.h"
#include "data/RecordSet.h"
#include "data/ui/DBConfigFrm.h"
#include "masterdata/Captions.h"
#include "services/Company.h"
#include "services/KeyValue2.h"
#include "services/Operator.h"
#include "services/ProjectObjects.h"
#include "shell/AppIdentity.h"
#include "shell/AppPaths.h"
#include "shell/ui/Application.h"
#include "shell/ui/PubFrm.h"
#include "shell/ui/SplashFrm.h"
#include "shell/ui/WidgetMessageService.h"
#include "shell/ui/mainFrm.h"
#include "shell/ui/mall.h"

#include <QAction>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>

#include <memory>

namespace {
constexpr int kRightCompany = 10000;
constexpr int kShowTipsKey = 1;

// The process-wide objects in the order the program needs them, freed in reverse: the
// project objects before the connection.
class TProcessObjects
{
public:
    TProcessObjects()
    {
        gDatabase = new TDatabase;
        gRecordSet = new TRecordSet;
        CreateProjectObjects();
    }
    ~TProcessObjects()
    {
        FreeProjectObjects();
        delete gRecordSet;
        gRecordSet = nullptr;
        delete gDatabase;
        gDatabase = nullptr;
    }
    TProcessObjects(const TProcessObjects&) = delete;
    TProcessObjects& operator=(const TProcessObjects&) = delete;
};

// Qt's own texts (standard buttons 确定/取消/是/否) in Chinese.
void loadQtTranslation(QApplication& app, QTranslator& translator)
{
    if (translator.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                        QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&translator);
}

// Frees the windows the application still owns when the message loop has ended.
void freeTopLevelWindows()
{
    QList<QPointer<QWidget>> windows;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (!w->parentWidget())
            windows << w;
    for (const QPointer<QWidget>& w : windows)
        delete w.data();
}
} // namespace

int RunProgram(QApplication& app)
{
    InitAppIdentity();
    QApplication::setApplicationName(QStringLiteral("czpm"));
    QTranslator qtTranslator;
    loadQtTranslation(app, qtTranslator);
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPointSizeF(QApplication::font().pointSizeF());
    QApplication::setFont(font);
    // The previous service comes back when the program block ends.
    struct TMessageServiceScope
    {
        std::unique_ptr<TMessageService> previous =
            SetMessageService(std::make_unique<TWidgetMessageService>());
        ~TMessageServiceScope() { SetMessageService(std::move(previous)); }
    } messageService;

    QString home, error;
    if (!ParseHomeArgument(QCoreApplication::arguments(), home, error)) {
        MessageService().Message(error, gAppTitle, TMessageService::Error, TMessageService::Ok);
        return 2;
    }
    if (!home.isEmpty())
        SetHomeDir(home);

    TProcessObjects objects;
    // The facade belongs to the application object.
    auto* mall = new Tmall(&app);
    RegisterModuleWindows(*mall);
    ApplyPublishedBuild();

    auto splash = std::make_unique<TSplashFrm>();
    splash->show();
    QCoreApplication::processEvents();
    splash->ShowHint(QStringLiteral("正在连接数据库,请稍候..."));

    bool connected = false;
    RunGuarded(&app, [&connected] { connected = ConnectDatabaseWithDialog(); });
    if (!connected)
        return 0;
    splash->ShowHint(QStringLiteral("数据库连接成功,请稍候..."));

    auto* pub = new TPubFrm(&app);
    QPointer<TmainFrm> main = new TmainFrm(*mall);
    RunGuarded(main, [] {
        gCompany->LoadCompany();
        LoadCaptions();
    });
    splash.reset();

    bool loggedIn = false;
    RunGuarded(main, [&] { loggedIn = main->Login(); });
    int rc = 0;
    if (!loggedIn) {
        main->close();
    } else {
        QApplication::setQuitOnLastWindowClosed(false);
        QObject::connect(main, &TmainFrm::Closed, &app, &QCoreApplication::quit, Qt::QueuedConnection);
        main->showMaximized();
        RunGuarded(main, [&] {
            if (gOperator->HasRight(kRightCompany) && !gCompany->HasCompanyName())
                if (QAction* item = main->MenuItem(QStringLiteral("miCompanyInfo")))
                    item->trigger();
        });
        RunGuarded(main, [&] {
            if (gKeyValues->GetBool(kShowTipsKey))
                main->MenuItem(QStringLiteral("miTips"))->trigger();
        });
        if (main && main->isVisible())
            rc = app.exec();
    }
    freeTopLevelWindows();
    delete pub;
    delete mall;
    return rc;
}
