#include "shell/ui/mall.h"

#include "maintenance/ui/ClearDataFrm.h"
#include "maintenance/ui/DBUpgradeFrm.h"
#include "maintenance/ui/FrmBackup.h"
#include "services/ui/CompanyInfoFrm.h"
#include "services/ui/OperatorsFrm.h"
#include "services/ui/PasswordChangerFrm.h"
#include "shell/ui/aFrm.h"

// Each module window registers its opener here as it comes into the program; a command
// without one stays disabled in the menu, the toolbar and on the desktop.
void RegisterModuleWindows(Tmall& mall)
{
    mall.Register(Tmall::cmCompanyInfo, [] { EditCompanyInfo(TaFrm::MainForm(), false); });
    mall.Register(Tmall::cmCompanyView, [] { EditCompanyInfo(TaFrm::MainForm(), true); });
    mall.Register(Tmall::cmOperators, [] { ShowOperators(TaFrm::MainForm()); });
    mall.Register(Tmall::cmChangePassword, [] { ChangeMyPassword(TaFrm::MainForm()); });
    mall.Register(Tmall::cmClearData, [] { ShowClearData(); });
    mall.Register(Tmall::cmBackup, [] { EditBackupSettings(); });
    mall.Register(Tmall::cmUpgrade, [] { ShowDBUpgrade(); });
}
