#pragma once

#include <QObject>

#include <functional>
#include <map>

// The facade through which the main window's menu, toolbar and desktop open the module
// windows. Each command first applies its right check (RequireRight or RequireSa, which end
// the action silently when refused), then runs the opener that the module registered for it.
// A command without an opener is not available: its menu items are shown disabled.
class Tmall : public QObject
{
    Q_OBJECT

public:
    enum TCommand {
        cmCompanyInfo,    // "公司信息": right 10000, the company dialog in edit mode
        cmOperators,      // "操作员及权限": right 100001, the operator list window
        cmClearData,      // "初始化数据...": right 12, the data clearing dialog
        cmBackup,         // "备份设置与恢复": right 10005, the backup dialog
        cmUpgrade,        // "从旧版本升级...": sa only, the upgrade window
        cmChangePassword, // "更改我的登陆密码": the password change of gOperator
        cmMaterials,      // "原材料"
        cmProducts,       // "产品资料(BOM)"
        cmTouchans,       // "投产"
        cmMaterialNeeds,  // "物料需求清单"
        cmMaterialApps,   // "原料采购申请"
        cmMaterialsIn,    // "原料入库"
        cmMaterialsOut,   // "领料出库"
        cmProductsIn,     // "成品入库"
        cmProgress,       // "生产进度查询"
        cmCompanyView,    // the about box's "用户信息": the company dialog read-only
    };
    using TOpener = std::function<void()>;

    explicit Tmall(QObject* parent = nullptr);

    // Registers the opener of a command (the module's window, created owned by the
    // application and shown non-modally, or its modal dialog flow).
    void Register(TCommand command, TOpener opener);
    bool Available(TCommand command) const;
    // The right check, then the opener; nothing when the command is not available.
    void Run(TCommand command);

    // The right a command checks before it opens; 0 for none, -1 for "sa only".
    static int RequiredRight(TCommand command);

private:
    std::map<TCommand, TOpener> m_openers;
};

// Registers the openers of every module window that exists. Called once at start-up, before
// the main window is created.
void RegisterModuleWindows(Tmall& mall);
