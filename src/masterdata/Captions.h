#pragma once

#include <QList>
#include <QString>

// Captions of the material fields. The keyed ones come from the option store.
struct RMaterialCaptions
{
    QString LookId = QStringLiteral("助查码");      // 1016
    QString ClassCode = QStringLiteral("分类编码"); // caption of ClassIdFld of the material condition
    QString Code = QStringLiteral("货号");          // 1018
    QString Name = QStringLiteral("品名");          // 1019
    QString S1 = QStringLiteral("规格");            // 1020
    QString S2 = QStringLiteral("型号");            // 1021
    QString S3 = QStringLiteral("品牌");            // 1022
    QString S4 = QStringLiteral("包装");            // 1023
    QString S5 = QStringLiteral("单位");            // 1024
    QString Price = QStringLiteral("价格");
    QString F2 = QStringLiteral("出库价");   // 1026
    QString F3 = QStringLiteral("库存下限"); // 1027
    QString F4 = QStringLiteral("库存上限"); // 1028
    QString F5 = QStringLiteral("其他");     // 1029
    QString Notes = QStringLiteral("备注");
    QString Stock = QStringLiteral("库存");
};

// Captions of the product fields (keys 1001, 1003 ... 1015).
struct RProductCaptions
{
    QString LookId = QStringLiteral("助查码");
    QString Code = QStringLiteral("货号");
    QString Name = QStringLiteral("品名");
    QString S1 = QStringLiteral("规格");
    QString S2 = QStringLiteral("型号");
    QString S3 = QStringLiteral("品牌");
    QString S4 = QStringLiteral("包装");
    QString S5 = QStringLiteral("单位");
    QString F1 = QStringLiteral("入库价");
    QString F2 = QStringLiteral("出库价");
    QString F3 = QStringLiteral("库存下限");
    QString F4 = QStringLiteral("库存上限");
    QString F5 = QStringLiteral("其他");
    QString Notes = QStringLiteral("备注");
};

// Captions of the bill-of-materials line fields (keys 1031 ... 1033 for BomS01 ... BomS03).
struct RBomCaptions
{
    QString Qty = QStringLiteral("数量");
    QString Notes = QStringLiteral("备注");
    QString BomS01 = QStringLiteral("描述01");
    QString BomS02 = QStringLiteral("描述02");
    QString BomS03 = QStringLiteral("描述03");
};

// Fixed captions of the production order columns; "物料|需求" is a two-level title.
struct RTouchanCaptions
{
    QString Status = QStringLiteral("状态");
    QString TouDate = QStringLiteral("投产日期");
    QString Qty = QStringLiteral("投产数量");
    QString Notes = QStringLiteral("备注");
    QString ComDate = QStringLiteral("完工日期");
    QString ComQty = QStringLiteral("完成数量");
    QString ComNotes = QStringLiteral("完工备注");
    QString MaterialNeed = QStringLiteral("物料|需求");
    QString MaterialStock = QStringLiteral("物料|库存");
    QString MaterialShort = QStringLiteral("物料|短缺");
};

// Fixed captions of document columns: the head, then the line.
struct RBillCaptions
{
    QString Code = QStringLiteral("单号");
    QString BizDate = QStringLiteral("日期");
    QString SignId = QStringLiteral("方向");
    QString Billman = QStringLiteral("制单人");
    QString BillTime = QStringLiteral("制单时间");
    QString Checkman = QStringLiteral("审核人");
    QString CheckTime = QStringLiteral("审核时间");
    QString Notes = QStringLiteral("备注");
    QString Qty = QStringLiteral("数量");
    QString Price = QStringLiteral("单价");
    QString Fund = QStringLiteral("金额");
    QString DlNotes = QStringLiteral("备注");
};

// Menu item captions of the list windows.
struct RMenuCaptions
{
    QString Add = QStringLiteral("添加");
    QString Edit = QStringLiteral("修改");
    QString Delete = QStringLiteral("删除");
};

// The caption table: every list, condition object and editor labels its fields from here.
// The defaults stand until LoadCaptions replaces the keyed entries at start-up.
struct TCaptions
{
    RMaterialCaptions Material;
    RProductCaptions Product;
    RBomCaptions Bom;
    RTouchanCaptions Touchan;
    RBillCaptions Bill;  // heads of materials-in/out and products-in lists; their lines
    RBillCaptions Bill2; // products-in lines and the products-in records of an order
    RMenuCaptions Menu;
    // The two integers of the caption settings (keys 101 and 102), written back at shutdown.
    int Setting101 = 0;
    int Setting102 = 0;
};

extern TCaptions gCaptions;

// The groups of keyed captions.
enum TCaptionGroup { cgMaterial, cgProduct, cgBom };

// One row of a label dialog: the row's title ("字符型3"), its value, the option key it is
// stored under (0: not stored) and whether it can be edited.
struct RLabelRow
{
    QString Title;
    QString Value;
    int Key = 0;
    bool ReadOnly = false;
};

// Reads the keyed captions of the three groups (in table order) and keys 101 and 102 from
// the option store. A stored value replaces the default even when empty.
void LoadCaptions();
// Writes keys 101 and 102 back with the values read at start-up (main window's close).
void SaveCaptionSettings();
// The rows of a label dialog with the current captions.
QList<RLabelRow> LabelRows(TCaptionGroup group);
// Stores the rows' values under their keys in one transaction; read-only rows and rows
// without a key are skipped. The caption table itself is not changed.
void SaveLabelRows(const QList<RLabelRow>& rows);
