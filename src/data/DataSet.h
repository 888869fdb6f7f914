#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <vector>

class TDataSet;
class TFilterExpr;

// Memory of TPodArray: small blocks from the heap, large ones mapped and remapped.
// Throws std::bad_alloc when no memory is left.
void* GrowPodMemory(void* p, size_t used, size_t oldBytes, size_t newBytes, bool& mapped);
void ReleasePodMemory(void* p, size_t bytes, bool mapped);

enum TFieldType {
    ftUnknown,
    ftString,
    ftWideString,
    ftSmallint,
    ftInteger,
    ftLargeint,
    ftAutoInc,
    ftBoolean,
    ftFloat,
    ftCurrency,
    ftBCD,
    ftDate,
    ftTime,
    ftDateTime,
    ftMemo,
    ftWideMemo,
    ftBlob,
    ftGraphic,
};

enum TFieldKind { fkData, fkCalculated, fkLookup };
enum TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert, dsCalcFields };
enum TLocateOption { loCaseInsensitive = 1, loPartialKey = 2 };

inline bool IsTextType(TFieldType t)
{
    return t == ftString || t == ftWideString || t == ftMemo || t == ftWideMemo;
}
inline bool IsBlobType(TFieldType t)
{
    return t == ftBlob || t == ftGraphic;
}
inline bool IsIntegerType(TFieldType t)
{
    return t == ftSmallint || t == ftInteger || t == ftLargeint || t == ftAutoInc;
}
inline bool IsFloatType(TFieldType t)
{
    return t == ftFloat || t == ftCurrency || t == ftBCD;
}
inline bool IsDateType(TFieldType t)
{
    return t == ftDate || t == ftTime || t == ftDateTime;
}

// One column of a data set: its description and typed access to the current record.
// A null value reads as empty text, 0, false or an invalid date.
class TField
{
public:
    QString FieldName;
    QString DisplayLabel; // empty: the field name is shown
    TFieldType DataType = ftString;
    TFieldKind FieldKind = fkData;
    int Size = 0;
    bool Visible = true;
    int DisplayWidth = 0;
    bool ReadOnly = false;
    bool Required = false;
    QString DisplayFormat; // numbers: "0.00", "#,##0.##"; dates: Qt date format
    QString KeyFields;     // look-up fields: the key fields, ';'-separated

    TDataSet* DataSet() const { return m_dataSet; }
    int Index() const { return m_index; }
    QString Label() const { return DisplayLabel.isEmpty() ? FieldName : DisplayLabel; }

    bool IsNull() const;
    QVariant Value() const;
    QString AsString() const;
    int AsInteger() const;
    qint64 AsLargeInt() const;
    double AsFloat() const;
    bool AsBoolean() const;
    QDate AsDate() const;
    QDateTime AsDateTime() const;
    QByteArray AsBytes() const;
    // The text a grid shows: formatted numbers, dates as yyyy-MM-dd[ hh:mm:ss].
    QString DisplayText() const;

    void SetValue(const QVariant& v);
    void SetAsString(const QString& v) { SetValue(v); }
    void SetAsInteger(int v) { SetValue(v); }
    void SetAsFloat(double v) { SetValue(v); }
    void SetAsBoolean(bool v) { SetValue(v); }
    void SetAsDateTime(const QDateTime& v) { SetValue(v); }
    void SetAsDate(const QDate& v) { SetValue(v); }
    void Clear() { SetValue(QVariant()); }

private:
    friend class TDataSet;
    TDataSet* m_dataSet = nullptr;
    int m_index = -1;
};

// Formats a value of a field type the way grids and exports show it.
QString FormatFieldValue(const QVariant& v, TFieldType type, const QString& displayFormat);

// An in-memory table: typed columns stored compactly (8 bytes a cell, text as UTF-8 in one
// buffer per column), a current record, append/edit/post/cancel/delete, locate, bookmarks,
// calculated fields, a client-side filter and sort over a view of the stored rows.
// Rows changed here are never written back to the database.
class TDataSet : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TDataSet)

public:
    using TBookmark = int;
    using THook = std::function<void(TDataSet&)>;

    explicit TDataSet(QObject* parent = nullptr);
    ~TDataSet() override;

    // Field definitions. Fields added before opening are persistent: an opened query then
    // keeps exactly these columns, bound by name.
    TField* AddField(TFieldType type, const QString& name, int size = -1, bool visible = true,
                     const QString& label = QString(), TFieldKind kind = fkData);
    int FieldCount() const { return int(m_fields.size()); }
    TField* Fields(int i) const { return m_fields[size_t(i)].get(); }
    TField* FindField(const QString& name) const;
    TField* FieldByName(const QString& name) const; // throws EDataSetError when unknown
    QStringList FieldNames() const;
    bool HasPersistentFields() const { return m_persistent; }
    void ClearFields();

    // Opens an empty set over the defined fields.
    void CreateDataSet();
    void Close();
    bool Active() const { return m_state != dsInactive; }
    TDataSetState State() const { return m_state; }
    QString Name;

    // Navigation over the view (filtered and sorted rows).
    int RecordCount() const; // throws when closed
    bool IsEmpty() const { return !Active() || m_view.empty(); }
    int RecNo() const { return m_recNo + 1; } // 1-based, 0 when empty
    void SetRecNo(int recNo);
    void First();
    void Last();
    void Next();
    void Prior();
    void MoveBy(int distance);
    bool Eof() const { return m_eof; }
    bool Bof() const { return m_bof; }

    void Append();
    void Insert();
    void Edit();
    void Post();
    void Cancel();
    void Delete();
    void CheckBrowseMode(); // posts a pending edit

    bool Locate(const QString& keyFields, const QVariantList& values, int options = 0);
    bool Locate(const QString& keyField, const QVariant& value, int options = 0)
    {
        return Locate(keyField, QVariantList{value}, options);
    }
    QVariant Lookup(const QString& keyFields, const QVariantList& values, const QString& resultField);

    TBookmark GetBookmark() const;
    bool BookmarkValid(TBookmark b) const;
    void GotoBookmark(TBookmark b);

    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const { return m_disableCount > 0; }

    // Client-side filter in the filter language (see FilterExpr.h); throws on a malformed text.
    QString Filter() const { return m_filterText; }
    void SetFilter(const QString& text);
    bool Filtered() const { return m_filtered; }
    void SetFiltered(bool on);
    // Client-side sort: "Code ASC,BizDate DESC" or "Code, BizDate DESC ". Text sorts in pinyin order.
    QString Sort() const { return m_sortText; }
    void SetSort(const QString& text);

    // Direct cell access for models and exports, by view row.
    QVariant CellValue(int viewRow, int field) const;
    QString CellText(int viewRow, int field) const;
    bool CellIsNull(int viewRow, int field) const;
    int CurrentViewRow() const { return m_recNo; }

    THook BeforePost, AfterPost, BeforeDelete, AfterDelete, OnNewRecord, OnCalcFields, AfterScroll,
        BeforeInsert, AfterOpen;

    // Loading, used by the database layer: define columns, then add rows cell by cell.
    void BeginLoad();
    int LoadFieldIndex(int resultColumn) const; // -1: column not kept
    void BindLoadColumns(const QStringList& names, const std::vector<TFieldType>& types,
                         const std::vector<int>& sizes);
    void LoadNull(int field);
    void LoadInt(int field, qint64 v); // for date columns: an encoded date-time
    void LoadDouble(int field, double v);
    void LoadText(int field, const char* utf8, int len);
    void LoadVariant(int field, const QVariant& v);
    void LoadEndRow();
    void EndLoad();

    // Storage internals for the filter and sort code.
    struct Column;
    const Column& column(int field) const { return *m_columns[size_t(field)]; }
    int PhysicalRow(int viewRow) const { return m_view[size_t(viewRow)]; }
    QVariant StoredValue(int physRow, int field) const;

signals:
    void LayoutReset();               // opened, closed, sorted, filtered
    void RowChanged(int viewRow);     // values of one row changed
    void RowInserted(int viewRow);    // a row appeared at that view position
    void RowRemoved(int viewRow);     // a row left that view position
    void CurrentChanged(int viewRow); // the current record moved
    void StateChanged();

private:
    friend class TField;
    int currentPhys() const;
    void checkActive() const;
    void checkFieldWritable(const TField* f) const;
    void setCurrent(int viewRow, bool notify = true);
    void calcRow(int phys);
    void rebuildView();
    void appendPhysicalRow();
    void resetLayout();
    void writeCell(int phys, int field, const QVariant& v);

    std::vector<std::unique_ptr<TField>> m_fields;
    std::vector<std::unique_ptr<Column>> m_columns;
    std::vector<char> m_deleted;
    std::vector<int> m_view;
    std::vector<QVariant> m_editBackup;
    int m_physCount = 0;
    int m_recNo = -1;
    bool m_eof = true;
    bool m_bof = true;
    bool m_persistent = false;
    bool m_hasCalc = false;
    int m_disableCount = 0;
    TDataSetState m_state = dsInactive;
    TDataSetState m_stateBeforeCalc = dsInactive;
    int m_calcPhys = -1;
    int m_insertPhys = -1;
    QString m_filterText;
    bool m_filtered = false;
    std::unique_ptr<TFilterExpr> m_filter;
    QString m_sortText;
    std::vector<std::pair<int, bool>> m_sortKeys; // field, descending
    std::vector<int> m_loadMap;                   // result column -> field
    bool m_loadFillsAll = true;                   // every column comes from the result
};

// A growable array of plain values. Large arrays live in their own memory mapping and grow
// by remapping their pages instead of copying them, which keeps loading a big list close to
// the engine's own speed.
template <class T> class TPodArray
{
public:
    TPodArray() = default;
    ~TPodArray() { ReleasePodMemory(m_data, m_capacity * sizeof(T), m_mapped); }
    TPodArray(const TPodArray&) = delete;
    TPodArray& operator=(const TPodArray&) = delete;

    size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    T* data() { return m_data; }
    const T* data() const { return m_data; }
    T& operator[](size_t i) { return m_data[i]; }
    const T& operator[](size_t i) const { return m_data[i]; }
    void push_back(T v)
    {
        if (m_size == m_capacity)
            grow(m_size + 1);
        m_data[m_size++] = v;
    }
    void append(const T* p, size_t n)
    {
        if (m_size + n > m_capacity)
            grow(m_size + n);
        std::memcpy(m_data + m_size, p, n * sizeof(T));
        m_size += n;
    }

private:
    void grow(size_t need)
    {
        size_t cap = m_capacity ? m_capacity * 2 : 1024;
        while (cap < need)
            cap *= 2;
        m_data = static_cast<T*>(
            GrowPodMemory(m_data, m_size * sizeof(T), m_capacity * sizeof(T), cap * sizeof(T), m_mapped));
        m_capacity = cap;
    }
    T* m_data = nullptr;
    size_t m_size = 0;
    size_t m_capacity = 0;
    bool m_mapped = false;
};

// Typed storage of one column.
struct TDataSet::Column
{
    TFieldType type = ftString;
    TPodArray<quint64> cells; // integers, doubles (bits), dates (ms since 0 jd), text (offset|len<<40)
    TPodArray<char> nulls;
    TPodArray<char> text;          // UTF-8 of every text cell, appended
    std::vector<QByteArray> blobs; // blob cells hold an index here
    size_t size() const { return cells.size(); }
    bool isNull(int r) const { return nulls[size_t(r)] != 0; }
    qint64 intAt(int r) const { return qint64(cells[size_t(r)]); }
    double doubleAt(int r) const;
    const char* textAt(int r, int& len) const;
    QVariant get(int r) const;
    void set(int r, const QVariant& v);
    void appendNull()
    {
        cells.push_back(0);
        nulls.push_back(1);
    }
    void appendInt(qint64 v)
    {
        cells.push_back(quint64(v));
        nulls.push_back(0);
    }
    void appendDouble(double v)
    {
        quint64 c;
        std::memcpy(&c, &v, sizeof c);
        cells.push_back(c);
        nulls.push_back(0);
    }
    void appendText(const char* s, int len)
    {
        if (len > kMaxInlineText) {
            appendLongText(s, len);
            return;
        }
        const quint64 off = text.size();
        text.append(s, size_t(len));
        cells.push_back(off | (quint64(len) << 40));
        nulls.push_back(0);
    }
    void appendLongText(const char* s, int len);
    static constexpr int kMaxInlineText = (1 << 23) - 1;
    void append(const QVariant& v);
};

inline void TDataSet::LoadNull(int field)
{
    m_columns[size_t(field)]->appendNull();
}

inline void TDataSet::LoadInt(int field, qint64 v)
{
    Column& c = *m_columns[size_t(field)];
    if (IsIntegerType(c.type) || IsDateType(c.type))
        c.appendInt(v);
    else if (c.type == ftBoolean)
        c.appendInt(v != 0);
    else if (IsFloatType(c.type))
        c.appendDouble(double(v));
    else
        c.append(QVariant(v));
}

inline void TDataSet::LoadDouble(int field, double v)
{
    Column& c = *m_columns[size_t(field)];
    if (IsFloatType(c.type))
        c.appendDouble(v);
    else
        c.append(QVariant(v));
}

inline void TDataSet::LoadText(int field, const char* utf8, int len)
{
    Column& c = *m_columns[size_t(field)];
    if (IsTextType(c.type))
        c.appendText(utf8, len);
    else if (IsBlobType(c.type))
        c.append(QByteArray(utf8, len));
    else
        c.append(QString::fromUtf8(utf8, len));
}

qint64 EncodeDateTime(const QDateTime& dt);
QDateTime DecodeDateTime(qint64 v);
// Parses 'yyyy-MM-dd[ hh:mm[:ss[.zzz]]]' (also with 'T'); invalid when the text is not a date.
QDateTime ParseDateTimeText(const QString& s);
