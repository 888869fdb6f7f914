#include "Captions.h"

#include "services/KeyValue2.h"

#include "data/Database.h"

#include <optional>

TCaptions gCaptions;

namespace {

// One keyed caption: its option key, its label dialog row, and where it lives in the table.
struct RKeyedCaption
{
    int Key;
    const char16_t* Row;
    QString* Entry;
};

QList<RKeyedCaption> keyedCaptions(TCaptionGroup group, TCaptions& c)
{
    switch (group) {
    case cgMaterial: {
        RMaterialCaptions& m = c.Material;
        return {{1016, u"助查码", &m.LookId}, {1018, u"字符型1", &m.Code}, {1019, u"字符型2", &m.Name},
                {1020, u"字符型3", &m.S1},    {1021, u"字符型4", &m.S2},   {1022, u"字符型5", &m.S3},
                {1023, u"字符型6", &m.S4},    {1024, u"字符型7", &m.S5},   {1026, u"数字型2", &m.F2},
                {1027, u"数字型3", &m.F3},    {1028, u"数字型4", &m.F4},   {1029, u"数字型5", &m.F5}};
    }
    case cgProduct: {
        RProductCaptions& p = c.Product;
        return {{1001, u"助查码", &p.LookId}, {1003, u"字符型1", &p.Code}, {1004, u"字符型2", &p.Name},
                {1005, u"字符型3", &p.S1},    {1006, u"字符型4", &p.S2},   {1007, u"字符型5", &p.S3},
                {1008, u"字符型6", &p.S4},    {1009, u"字符型7", &p.S5},   {1010, u"数字型1", &p.F1},
                {1011, u"数字型2", &p.F2},    {1012, u"数字型3", &p.F3},   {1013, u"数字型4", &p.F4},
                {1014, u"数字型5", &p.F5},    {1015, u"备注型", &p.Notes}};
    }
    case cgBom: {
        RBomCaptions& b = c.Bom;
        return {{1031, u"字符型1", &b.BomS01}, {1032, u"字符型2", &b.BomS02}, {1033, u"字符型3", &b.BomS03}};
    }
    }
    return {};
}

} // namespace

void LoadCaptions()
{
    // Read into a copy so that an error leaves the table as it was.
    TCaptions loaded = gCaptions;
    for (const TCaptionGroup group : {cgMaterial, cgProduct, cgBom})
        for (const RKeyedCaption& k : keyedCaptions(group, loaded))
            *k.Entry = gKeyValues->GetStr(k.Key);
    loaded.Setting101 = gKeyValues->GetInt(101);
    loaded.Setting102 = gKeyValues->GetInt(102);
    gCaptions = loaded;
}

void SaveCaptionSettings()
{
    gKeyValues->SetInt(101, gCaptions.Setting101);
    gKeyValues->SetInt(102, gCaptions.Setting102);
}

QList<RLabelRow> LabelRows(TCaptionGroup group)
{
    QList<RLabelRow> rows;
    for (const RKeyedCaption& k : keyedCaptions(group, gCaptions)) {
        rows.append({QString::fromUtf16(k.Row), *k.Entry, k.Key, false});
        // The price row sits between 字符型7 and 数字型2: its title is the price caption,
        // its value a fixed text, and it is never stored.
        if (group == cgMaterial && k.Key == 1024)
            rows.append({gCaptions.Material.Price, QStringLiteral("不可更改"), 0, true});
    }
    return rows;
}

void SaveLabelRows(const QList<RLabelRow>& rows)
{
    std::optional<TTransaction> tr;
    if (!gDatabase->InTransaction())
        tr.emplace(*gDatabase);
    try {
        for (const RLabelRow& row : rows)
            if (row.Key > 0 && !row.ReadOnly)
                gKeyValues->SetStr(row.Key, row.Value);
        if (tr)
            tr->Commit();
    } catch (...) {
        // The in-memory options may hold values that were rolled back.
        tr.reset();
        gKeyValues->Invalidate();
        throw;
    }
}
