#include "DataSet.h"

#include "Collation.h"
#include "Exceptions.h"
#include "FilterExpr.h"

#include <QLocale>
#include <QRegularExpression>

#include <sys/mman.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

constexpr quint64 kBlobFlag = quint64(1) << 63;
constexpr int kLenShift = 40;
constexpr quint64 kOffsetMask = (quint64(1) << kLenShift) - 1;
constexpr int kMaxInlineLen = TDataSet::Column::kMaxInlineText;
constexpr qint64 kMsPerDay = 86400000;

QString closedError()
{
    return QStringLiteral("数据集未打开,不能进行此操作");
}

} // namespace

void* GrowPodMemory(void* p, size_t used, size_t oldBytes, size_t newBytes, bool& mapped)
{
    constexpr size_t kMapFrom = size_t(1) << 20;
    void* out;
    if (mapped) {
        out = mremap(p, oldBytes, newBytes, MREMAP_MAYMOVE);
    } else if (newBytes >= kMapFrom) {
        out = mmap(nullptr, newBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (out != MAP_FAILED) {
            if (used)
                std::memcpy(out, p, used);
            std::free(p);
            mapped = true;
        }
    } else {
        out = std::realloc(p, newBytes);
        if (!out)
            throw std::bad_alloc();
        return out;
    }
    if (out == MAP_FAILED)
        throw std::bad_alloc();
    return out;
}

void ReleasePodMemory(void* p, size_t bytes, bool mapped)
{
    if (mapped)
        munmap(p, bytes);
    else
        std::free(p);
}

qint64 EncodeDateTime(const QDateTime& dt)
{
    return dt.date().toJulianDay() * kMsPerDay + dt.time().msecsSinceStartOfDay();
}

QDateTime DecodeDateTime(qint64 v)
{
    return QDateTime(QDate::fromJulianDay(v / kMsPerDay),
                     QTime::fromMSecsSinceStartOfDay(int(v % kMsPerDay)));
}

QDateTime ParseDateTimeText(const QString& text)
{
    const QString s = text.trimmed();
    if (s.size() < 8)
        return {};
    static const QRegularExpression re(QStringLiteral(
        "^(\\d{4})-(\\d{1,2})-(\\d{1,2})(?:[ T](\\d{1,2}):(\\d{1,2})(?::(\\d{1,2})(?:\\.(\\d{1,6}))?)?)?"));
    const auto m = re.match(s);
    if (!m.hasMatch())
        return {};
    const QDate d(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (!d.isValid())
        return {};
    QTime t(0, 0);
    if (m.capturedLength(4) > 0) {
        int ms = 0;
        if (m.capturedLength(7) > 0)
            ms = QString(m.captured(7) + QStringLiteral("000")).left(3).toInt();
        t = QTime(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt(), ms);
        if (!t.isValid())
            return {};
    }
    return QDateTime(d, t);
}

// ---- Column -------------------------------------------------------------------------------

double TDataSet::Column::doubleAt(int r) const
{
    double d;
    std::memcpy(&d, &cells[size_t(r)], sizeof d);
    return d;
}

const char* TDataSet::Column::textAt(int r, int& len) const
{
    const quint64 c = cells[size_t(r)];
    if (c & kBlobFlag) {
        const QByteArray& b = blobs[size_t(c & ~kBlobFlag)];
        len = int(b.size());
        return b.constData();
    }
    len = int(c >> kLenShift);
    return text.data() + (c & kOffsetMask);
}

QVariant TDataSet::Column::get(int r) const
{
    if (nulls[size_t(r)])
        return {};
    if (IsTextType(type)) {
        int len;
        const char* p = textAt(r, len);
        return QString::fromUtf8(p, len);
    }
    if (IsIntegerType(type))
        return type == ftLargeint ? QVariant(intAt(r)) : QVariant(int(intAt(r)));
    if (IsFloatType(type))
        return doubleAt(r);
    if (type == ftBoolean)
        return intAt(r) != 0;
    if (type == ftDate)
        return DecodeDateTime(intAt(r)).date();
    if (type == ftTime)
        return DecodeDateTime(intAt(r)).time();
    if (type == ftDateTime)
        return DecodeDateTime(intAt(r));
    if (IsBlobType(type))
        return blobs[size_t(cells[size_t(r)])];
    return {};
}

static bool variantToInt(const QVariant& v, qint64& out)
{
    bool ok = true;
    if (v.typeId() == QMetaType::QString) {
        const QString s = v.toString().trimmed();
        if (s.isEmpty()) {
            out = 0;
            return true;
        }
        out = s.toLongLong(&ok);
        if (!ok) {
            const double d = s.toDouble(&ok);
            out = qint64(d);
        }
        return ok;
    }
    if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float) {
        out = qint64(std::llround(v.toDouble()));
        return true;
    }
    out = v.toLongLong(&ok);
    return ok;
}

static bool variantToDouble(const QVariant& v, double& out)
{
    bool ok = true;
    if (v.typeId() == QMetaType::QString) {
        const QString s = v.toString().trimmed();
        if (s.isEmpty()) {
            out = 0;
            return true;
        }
        out = s.toDouble(&ok);
        return ok;
    }
    out = v.toDouble(&ok);
    return ok;
}

static bool variantToDateTime(const QVariant& v, QDateTime& out)
{
    switch (v.typeId()) {
    case QMetaType::QDateTime:
        out = v.toDateTime();
        return out.isValid();
    case QMetaType::QDate:
        out = v.toDate().startOfDay();
        return out.isValid();
    case QMetaType::QTime:
        out = QDateTime(QDate(1899, 12, 30), v.toTime());
        return true;
    case QMetaType::QString:
    case QMetaType::QByteArray:
        out = ParseDateTimeText(v.toString());
        return out.isValid();
    default:
        return false;
    }
}

void TDataSet::Column::set(int r, const QVariant& v)
{
    const bool isNull = !v.isValid() || v.isNull();
    if (isNull) {
        nulls[size_t(r)] = 1;
        cells[size_t(r)] = 0;
        return;
    }
    nulls[size_t(r)] = 0;
    if (IsTextType(type)) {
        const QByteArray b = v.toString().toUtf8();
        if (b.size() > kMaxInlineLen) {
            blobs.push_back(b);
            cells[size_t(r)] = kBlobFlag | quint64(blobs.size() - 1);
        } else {
            const quint64 off = text.size();
            text.append(b.constData(), size_t(b.size()));
            cells[size_t(r)] = off | (quint64(b.size()) << kLenShift);
        }
    } else if (IsIntegerType(type) || type == ftBoolean) {
        qint64 i = 0;
        if (type == ftBoolean && v.typeId() == QMetaType::QString) {
            const QString s = v.toString().trimmed().toLower();
            i = (s == QLatin1String("true") || s == QLatin1String("1") || s == QLatin1String("t")) ? 1 : 0;
        } else if (!variantToInt(v, i)) {
            throw EConvertError(QStringLiteral("'%1' 不是有效的整数").arg(v.toString()));
        }
        cells[size_t(r)] = quint64(type == ftBoolean ? (i != 0) : i);
    } else if (IsFloatType(type)) {
        double d = 0;
        if (!variantToDouble(v, d))
            throw EConvertError(QStringLiteral("'%1' 不是有效的数值").arg(v.toString()));
        std::memcpy(&cells[size_t(r)], &d, sizeof d);
    } else if (IsDateType(type)) {
        QDateTime dt;
        if (!variantToDateTime(v, dt)) {
            if (v.typeId() == QMetaType::QString && v.toString().trimmed().isEmpty()) {
                nulls[size_t(r)] = 1;
                cells[size_t(r)] = 0;
                return;
            }
            throw EConvertError(QStringLiteral("'%1' 不是有效的日期").arg(v.toString()));
        }
        if (type == ftDate)
            dt.setTime(QTime(0, 0));
        cells[size_t(r)] = quint64(EncodeDateTime(dt));
    } else if (IsBlobType(type)) {
        blobs.push_back(v.toByteArray());
        cells[size_t(r)] = quint64(blobs.size() - 1);
    }
}

void TDataSet::Column::appendLongText(const char* s, int len)
{
    blobs.emplace_back(s, len);
    cells.push_back(kBlobFlag | quint64(blobs.size() - 1));
    nulls.push_back(0);
}

void TDataSet::Column::append(const QVariant& v)
{
    cells.push_back(0);
    nulls.push_back(1);
    set(int(cells.size()) - 1, v);
}

// ---- TField -------------------------------------------------------------------------------

bool TField::IsNull() const
{
    const int phys = m_dataSet->currentPhys();
    return phys < 0 || m_dataSet->m_columns[size_t(m_index)]->isNull(phys);
}

QVariant TField::Value() const
{
    const int phys = m_dataSet->currentPhys();
    if (phys < 0)
        return {};
    return m_dataSet->m_columns[size_t(m_index)]->get(phys);
}

QString TField::AsString() const
{
    const int phys = m_dataSet->currentPhys();
    if (phys < 0)
        return {};
    const auto& c = *m_dataSet->m_columns[size_t(m_index)];
    if (c.isNull(phys))
        return {};
    if (IsTextType(DataType)) {
        int len;
        const char* p = c.textAt(phys, len);
        return QString::fromUtf8(p, len);
    }
    if (DataType == ftBoolean)
        return c.intAt(phys) ? QStringLiteral("True") : QStringLiteral("False");
    return FormatFieldValue(c.get(phys), DataType, QString());
}

int TField::AsInteger() const
{
    return int(AsLargeInt());
}

qint64 TField::AsLargeInt() const
{
    const QVariant v = Value();
    if (v.isNull())
        return 0;
    qint64 i = 0;
    if (!variantToInt(v, i))
        throw EConvertError(QStringLiteral("'%1' 不是有效的整数").arg(v.toString()));
    return i;
}

double TField::AsFloat() const
{
    const QVariant v = Value();
    if (v.isNull())
        return 0;
    double d = 0;
    if (!variantToDouble(v, d))
        throw EConvertError(QStringLiteral("'%1' 不是有效的数值").arg(v.toString()));
    return d;
}

bool TField::AsBoolean() const
{
    const QVariant v = Value();
    if (v.isNull())
        return false;
    if (v.typeId() == QMetaType::QString) {
        const QString s = v.toString().trimmed().toLower();
        return s == QLatin1String("true") || s == QLatin1String("1");
    }
    return v.toBool();
}

QDate TField::AsDate() const
{
    return AsDateTime().date();
}

QDateTime TField::AsDateTime() const
{
    const QVariant v = Value();
    QDateTime dt;
    if (v.isNull())
        return dt;
    if (!variantToDateTime(v, dt))
        throw EConvertError(QStringLiteral("'%1' 不是有效的日期").arg(v.toString()));
    return dt;
}

QByteArray TField::AsBytes() const
{
    const QVariant v = Value();
    return v.typeId() == QMetaType::QString ? v.toString().toUtf8() : v.toByteArray();
}

QString TField::DisplayText() const
{
    return FormatFieldValue(Value(), DataType, DisplayFormat);
}

void TField::SetValue(const QVariant& v)
{
    TDataSet* ds = m_dataSet;
    ds->checkFieldWritable(this);
    const int phys = ds->m_state == dsCalcFields ? ds->m_calcPhys : ds->currentPhys();
    ds->writeCell(phys, m_index, v);
    if (ds->m_state != dsCalcFields) {
        if (ds->m_hasCalc && FieldKind == fkData)
            ds->calcRow(phys);
        if (!ds->ControlsDisabled())
            emit ds->RowChanged(ds->m_recNo);
    }
}

static QString formatNumber(double d, const QString& fmt)
{
    if (fmt.isEmpty()) {
        QString s = QString::number(d, 'f', 10);
        if (s.contains(QLatin1Char('.'))) {
            while (s.endsWith(QLatin1Char('0')))
                s.chop(1);
            if (s.endsWith(QLatin1Char('.')))
                s.chop(1);
        }
        if (s == QLatin1String("-0"))
            s = QStringLiteral("0");
        return s;
    }
    // Delphi-style masks: '0' digits always shown, '#' optional, ',' thousands.
    const int dot = fmt.indexOf(QLatin1Char('.'));
    const QString frac = dot >= 0 ? fmt.mid(dot + 1) : QString();
    const int minDec = int(frac.count(QLatin1Char('0')));
    const int maxDec = minDec + int(frac.count(QLatin1Char('#')));
    QString s = QString::number(d, 'f', maxDec);
    if (maxDec > minDec && s.contains(QLatin1Char('.'))) {
        int keep = int(s.size());
        const int point = int(s.indexOf(QLatin1Char('.')));
        while (keep - point - 1 > minDec && s[keep - 1] == QLatin1Char('0'))
            --keep;
        s.truncate(keep);
        if (s.endsWith(QLatin1Char('.')))
            s.chop(1);
    }
    if (fmt.contains(QLatin1Char(','))) {
        const int point = s.contains(QLatin1Char('.')) ? int(s.indexOf(QLatin1Char('.'))) : int(s.size());
        const int start = s.startsWith(QLatin1Char('-')) ? 1 : 0;
        for (int i = point - 3; i > start; i -= 3)
            s.insert(i, QLatin1Char(','));
    }
    return s;
}

QString FormatFieldValue(const QVariant& v, TFieldType type, const QString& displayFormat)
{
    if (!v.isValid() || v.isNull())
        return {};
    if (IsFloatType(type))
        return formatNumber(v.toDouble(), displayFormat);
    if (IsIntegerType(type))
        return displayFormat.isEmpty() ? QString::number(v.toLongLong())
                                       : formatNumber(double(v.toLongLong()), displayFormat);
    if (type == ftBoolean)
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    if (type == ftDate) {
        const QDate d = v.typeId() == QMetaType::QDateTime ? v.toDateTime().date() : v.toDate();
        return d.toString(displayFormat.isEmpty() ? QStringLiteral("yyyy-MM-dd") : displayFormat);
    }
    if (type == ftTime)
        return v.toTime().toString(displayFormat.isEmpty() ? QStringLiteral("hh:mm:ss") : displayFormat);
    if (type == ftDateTime) {
        const QDateTime dt = v.toDateTime();
        if (!displayFormat.isEmpty())
            return dt.toString(displayFormat);
        return dt.time() == QTime(0, 0) ? dt.date().toString(QStringLiteral("yyyy-MM-dd"))
                                        : dt.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    }
    if (IsBlobType(type))
        return QStringLiteral("(BLOB)");
    return v.toString();
}

// ---- TDataSet -----------------------------------------------------------------------------

TDataSet::TDataSet(QObject* parent) : QObject(parent) {}

TDataSet::~TDataSet() = default;

TField* TDataSet::AddField(TFieldType type, const QString& name, int size, bool visible, const QString& label,
                           TFieldKind kind)
{
    if (Active())
        throw EDataSetError(QStringLiteral("数据集已打开,不能添加字段 '%1'").arg(name));
    if (FindField(name))
        throw EDataSetError(QStringLiteral("字段 '%1' 重复").arg(name));
    auto f = std::make_unique<TField>();
    f->FieldName = name;
    f->DataType = type;
    f->FieldKind = kind;
    if (size >= 0)
        f->Size = size;
    else if (IsTextType(type))
        f->Size = 20;
    f->Visible = visible;
    f->DisplayLabel = label;
    f->m_dataSet = this;
    f->m_index = int(m_fields.size());
    if (kind != fkData)
        m_hasCalc = true;
    m_fields.push_back(std::move(f));
    m_persistent = true;
    return m_fields.back().get();
}

TField* TDataSet::FindField(const QString& name) const
{
    for (const auto& f : m_fields)
        if (f->FieldName.compare(name, Qt::CaseInsensitive) == 0)
            return f.get();
    return nullptr;
}

TField* TDataSet::FieldByName(const QString& name) const
{
    TField* f = FindField(name);
    if (!f)
        throw EDataSetError(QStringLiteral("%1: 找不到字段 '%2'")
                                .arg(Name.isEmpty() ? QStringLiteral("数据集") : Name, name));
    return f;
}

QStringList TDataSet::FieldNames() const
{
    QStringList out;
    for (const auto& f : m_fields)
        out << f->FieldName;
    return out;
}

void TDataSet::ClearFields()
{
    Close();
    m_fields.clear();
    m_persistent = false;
    m_hasCalc = false;
}

void TDataSet::resetLayout()
{
    if (!ControlsDisabled())
        emit LayoutReset();
}

void TDataSet::CreateDataSet()
{
    Close();
    m_columns.clear();
    for (const auto& f : m_fields) {
        auto c = std::make_unique<Column>();
        c->type = f->DataType;
        m_columns.push_back(std::move(c));
    }
    m_state = dsBrowse;
    rebuildView();
    setCurrent(m_view.empty() ? -1 : 0, false);
    resetLayout();
    emit StateChanged();
}

void TDataSet::Close()
{
    if (m_state == dsInactive)
        return;
    m_state = dsInactive;
    m_columns.clear();
    m_deleted.clear();
    m_view.clear();
    m_editBackup.clear();
    m_physCount = 0;
    m_recNo = -1;
    m_eof = m_bof = true;
    m_insertPhys = -1;
    if (!m_persistent)
        m_fields.clear();
    resetLayout();
    emit StateChanged();
}

void TDataSet::checkActive() const
{
    if (m_state == dsInactive)
        throw EDataSetError(closedError());
}

int TDataSet::currentPhys() const
{
    if (m_state == dsCalcFields)
        return m_calcPhys;
    if (m_state == dsInactive || m_recNo < 0 || m_recNo >= int(m_view.size()))
        return -1;
    return m_view[size_t(m_recNo)];
}

int TDataSet::RecordCount() const
{
    checkActive();
    return int(m_view.size());
}

void TDataSet::setCurrent(int viewRow, bool notify)
{
    m_recNo = viewRow;
    m_bof = m_eof = false;
    if (m_view.empty()) {
        m_recNo = -1;
        m_bof = m_eof = true;
    }
    if (notify && !ControlsDisabled()) {
        emit CurrentChanged(m_recNo);
        if (AfterScroll)
            AfterScroll(*this);
    }
}

void TDataSet::SetRecNo(int recNo)
{
    checkActive();
    CheckBrowseMode();
    if (m_view.empty())
        return;
    setCurrent(std::clamp(recNo - 1, 0, int(m_view.size()) - 1));
}

void TDataSet::First()
{
    checkActive();
    CheckBrowseMode();
    setCurrent(m_view.empty() ? -1 : 0);
}

void TDataSet::Last()
{
    checkActive();
    CheckBrowseMode();
    setCurrent(int(m_view.size()) - 1);
}

void TDataSet::Next()
{
    checkActive();
    CheckBrowseMode();
    if (m_view.empty() || m_recNo >= int(m_view.size()) - 1) {
        m_eof = true;
        m_bof = m_view.empty();
        return;
    }
    setCurrent(m_recNo + 1);
}

void TDataSet::Prior()
{
    checkActive();
    CheckBrowseMode();
    if (m_view.empty() || m_recNo <= 0) {
        m_bof = true;
        m_eof = m_view.empty();
        return;
    }
    setCurrent(m_recNo - 1);
}

void TDataSet::MoveBy(int distance)
{
    checkActive();
    CheckBrowseMode();
    if (m_view.empty())
        return;
    const int target = m_recNo + distance;
    setCurrent(std::clamp(target, 0, int(m_view.size()) - 1));
    if (target >= int(m_view.size()))
        m_eof = true;
    if (target < 0)
        m_bof = true;
}

void TDataSet::appendPhysicalRow()
{
    for (auto& c : m_columns)
        c->appendNull();
    m_deleted.push_back(0);
    ++m_physCount;
}

void TDataSet::Append()
{
    checkActive();
    CheckBrowseMode();
    if (BeforeInsert)
        BeforeInsert(*this);
    appendPhysicalRow();
    m_insertPhys = m_physCount - 1;
    m_view.push_back(m_insertPhys);
    m_state = dsInsert;
    const int row = int(m_view.size()) - 1;
    if (!ControlsDisabled())
        emit RowInserted(row);
    setCurrent(row);
    if (OnNewRecord)
        OnNewRecord(*this);
    emit StateChanged();
}

void TDataSet::Insert()
{
    checkActive();
    CheckBrowseMode();
    if (BeforeInsert)
        BeforeInsert(*this);
    const int at = m_recNo < 0 ? 0 : m_recNo;
    appendPhysicalRow();
    m_insertPhys = m_physCount - 1;
    m_view.insert(m_view.begin() + at, m_insertPhys);
    m_state = dsInsert;
    if (!ControlsDisabled())
        emit RowInserted(at);
    setCurrent(at);
    if (OnNewRecord)
        OnNewRecord(*this);
    emit StateChanged();
}

void TDataSet::Edit()
{
    checkActive();
    if (m_state == dsEdit || m_state == dsInsert)
        return;
    if (m_view.empty()) {
        Append();
        return;
    }
    const int phys = currentPhys();
    m_editBackup.clear();
    for (const auto& c : m_columns)
        m_editBackup.push_back(c->get(phys));
    m_state = dsEdit;
    emit StateChanged();
}

void TDataSet::Post()
{
    checkActive();
    if (m_state != dsEdit && m_state != dsInsert)
        return;
    if (BeforePost)
        BeforePost(*this); // may throw: the record stays in edit mode
    calcRow(currentPhys());
    m_state = dsBrowse;
    m_insertPhys = -1;
    m_editBackup.clear();
    emit StateChanged();
    if (!ControlsDisabled())
        emit RowChanged(m_recNo);
    if (AfterPost)
        AfterPost(*this);
}

void TDataSet::Cancel()
{
    if (m_state == dsInsert) {
        const int row = m_recNo;
        m_deleted[size_t(m_insertPhys)] = 1;
        m_view.erase(m_view.begin() + row);
        m_insertPhys = -1;
        m_state = dsBrowse;
        if (!ControlsDisabled())
            emit RowRemoved(row);
        setCurrent(std::min(row, int(m_view.size()) - 1));
        emit StateChanged();
    } else if (m_state == dsEdit) {
        const int phys = currentPhys();
        for (size_t i = 0; i < m_columns.size(); ++i)
            m_columns[i]->set(phys, m_editBackup[i]);
        m_editBackup.clear();
        m_state = dsBrowse;
        if (!ControlsDisabled())
            emit RowChanged(m_recNo);
        emit StateChanged();
    }
}

void TDataSet::CheckBrowseMode()
{
    if (m_state == dsEdit || m_state == dsInsert)
        Post();
}

void TDataSet::Delete()
{
    checkActive();
    if (m_view.empty())
        return;
    if (m_state == dsInsert) {
        Cancel();
        return;
    }
    if (m_state == dsEdit)
        Cancel();
    if (BeforeDelete)
        BeforeDelete(*this);
    const int row = m_recNo;
    m_deleted[size_t(m_view[size_t(row)])] = 1;
    m_view.erase(m_view.begin() + row);
    if (!ControlsDisabled())
        emit RowRemoved(row);
    setCurrent(std::min(row, int(m_view.size()) - 1));
    if (AfterDelete)
        AfterDelete(*this);
}

void TDataSet::checkFieldWritable(const TField* f) const
{
    checkActive();
    if (m_state == dsCalcFields) {
        if (f->FieldKind == fkData)
            throw EDataSetError(QStringLiteral("计算字段事件中不能修改数据字段 '%1'").arg(f->FieldName));
        return;
    }
    if (m_state != dsEdit && m_state != dsInsert)
        throw EDataSetError(QStringLiteral("数据集不在编辑状态,不能修改字段 '%1'").arg(f->FieldName));
}

void TDataSet::writeCell(int phys, int field, const QVariant& v)
{
    m_columns[size_t(field)]->set(phys, v);
}

void TDataSet::calcRow(int phys)
{
    if (!m_hasCalc || !OnCalcFields || phys < 0)
        return;
    // While computing, the fields read and write the row being computed.
    m_stateBeforeCalc = m_state;
    m_state = dsCalcFields;
    m_calcPhys = phys;
    struct Restore
    {
        TDataSet* ds;
        ~Restore()
        {
            ds->m_state = ds->m_stateBeforeCalc;
            ds->m_calcPhys = -1;
        }
    } restore{this};
    OnCalcFields(*this);
}

bool TDataSet::Locate(const QString& keyFields, const QVariantList& values, int options)
{
    checkActive();
    CheckBrowseMode();
    const QStringList names = keyFields.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    if (names.size() != values.size())
        throw EDataSetError(QStringLiteral("定位字段与值的个数不一致"));
    std::vector<TField*> fields;
    for (const QString& n : names)
        fields.push_back(FieldByName(n.trimmed()));
    const Qt::CaseSensitivity cs = (options & loCaseInsensitive) ? Qt::CaseInsensitive : Qt::CaseSensitive;
    for (int row = 0; row < int(m_view.size()); ++row) {
        const int phys = m_view[size_t(row)];
        bool all = true;
        for (size_t k = 0; k < fields.size() && all; ++k) {
            const Column& c = *m_columns[size_t(fields[k]->m_index)];
            const QVariant& want = values[int(k)];
            if (c.isNull(phys)) {
                all = want.isNull() || (want.typeId() == QMetaType::QString && want.toString().isEmpty());
                continue;
            }
            if (want.isNull()) {
                all = false;
                continue;
            }
            if (IsTextType(c.type)) {
                int len;
                const char* p = c.textAt(phys, len);
                const QString have = QString::fromUtf8(p, len);
                const QString w = want.toString();
                all = (options & loPartialKey) ? have.startsWith(w, cs) : have.compare(w, cs) == 0;
            } else if (IsIntegerType(c.type) || c.type == ftBoolean) {
                qint64 i;
                all = variantToInt(want, i) && i == c.intAt(phys);
            } else if (IsFloatType(c.type)) {
                double d;
                all = variantToDouble(want, d) && d == c.doubleAt(phys);
            } else if (IsDateType(c.type)) {
                QDateTime dt;
                all = variantToDateTime(want, dt) && EncodeDateTime(dt) == c.intAt(phys);
            } else {
                all = c.get(phys) == want;
            }
        }
        if (all) {
            setCurrent(row);
            return true;
        }
    }
    return false;
}

QVariant TDataSet::Lookup(const QString& keyFields, const QVariantList& values, const QString& resultField)
{
    const TBookmark b = GetBookmark();
    QVariant result;
    DisableControls();
    if (Locate(keyFields, values))
        result = FieldByName(resultField)->Value();
    if (BookmarkValid(b))
        GotoBookmark(b);
    m_disableCount--;
    return result;
}

TDataSet::TBookmark TDataSet::GetBookmark() const
{
    return currentPhys();
}

bool TDataSet::BookmarkValid(TBookmark b) const
{
    return Active() && b >= 0 && b < m_physCount && !m_deleted[size_t(b)] &&
           std::find(m_view.begin(), m_view.end(), b) != m_view.end();
}

void TDataSet::GotoBookmark(TBookmark b)
{
    checkActive();
    CheckBrowseMode();
    const auto it = std::find(m_view.begin(), m_view.end(), b);
    if (it == m_view.end())
        throw EDataSetError(QStringLiteral("记录已不存在"));
    setCurrent(int(it - m_view.begin()));
}

void TDataSet::DisableControls()
{
    ++m_disableCount;
}

void TDataSet::EnableControls()
{
    if (m_disableCount > 0 && --m_disableCount == 0) {
        emit LayoutReset();
        emit CurrentChanged(m_recNo);
    }
}

void TDataSet::SetFilter(const QString& text)
{
    std::unique_ptr<TFilterExpr> expr;
    if (!text.trimmed().isEmpty())
        expr = TFilterExpr::Parse(text, *this); // throws on a malformed text or unknown field
    m_filterText = text;
    m_filter = std::move(expr);
    if (m_filtered && Active()) {
        CheckBrowseMode();
        rebuildView();
        setCurrent(m_view.empty() ? -1 : 0, false);
        resetLayout();
        setCurrent(m_recNo);
    }
}

void TDataSet::SetFiltered(bool on)
{
    if (on == m_filtered)
        return;
    m_filtered = on;
    if (Active()) {
        CheckBrowseMode();
        rebuildView();
        setCurrent(m_view.empty() ? -1 : 0, false);
        resetLayout();
        setCurrent(m_recNo);
    }
}

void TDataSet::SetSort(const QString& text)
{
    std::vector<std::pair<int, bool>> keys;
    for (const QString& termRaw : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList words = termRaw.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.isEmpty())
            continue;
        bool desc = false;
        if (words.size() > 1) {
            const QString dir = words[1].toUpper();
            if (dir == QLatin1String("DESC"))
                desc = true;
            else if (dir != QLatin1String("ASC") || words.size() > 2)
                throw EDataSetError(QStringLiteral("排序条件 '%1' 无效").arg(termRaw.trimmed()));
        }
        QString name = words[0];
        if (name.startsWith(QLatin1Char('[')) && name.endsWith(QLatin1Char(']')))
            name = name.mid(1, name.size() - 2);
        keys.emplace_back(FieldByName(name)->m_index, desc);
    }
    m_sortText = text;
    m_sortKeys = std::move(keys);
    if (Active()) {
        CheckBrowseMode();
        const int phys = currentPhys();
        rebuildView();
        const auto it = std::find(m_view.begin(), m_view.end(), phys);
        setCurrent(it == m_view.end() ? (m_view.empty() ? -1 : 0) : int(it - m_view.begin()), false);
        resetLayout();
        setCurrent(m_recNo);
    }
}

void TDataSet::rebuildView()
{
    m_view.clear();
    m_view.reserve(size_t(m_physCount));
    const bool filter = m_filtered && m_filter;
    for (int r = 0; r < m_physCount; ++r) {
        if (m_deleted[size_t(r)])
            continue;
        if (filter && !m_filter->Match(*this, r))
            continue;
        m_view.push_back(r);
    }
    if (!m_sortKeys.empty())
        SortRows(*this, m_view, m_sortKeys);
}

QVariant TDataSet::StoredValue(int physRow, int field) const
{
    return m_columns[size_t(field)]->get(physRow);
}

QVariant TDataSet::CellValue(int viewRow, int field) const
{
    return m_columns[size_t(field)]->get(m_view[size_t(viewRow)]);
}

bool TDataSet::CellIsNull(int viewRow, int field) const
{
    return m_columns[size_t(field)]->isNull(m_view[size_t(viewRow)]);
}

QString TDataSet::CellText(int viewRow, int field) const
{
    const Column& c = *m_columns[size_t(field)];
    const int phys = m_view[size_t(viewRow)];
    if (c.isNull(phys))
        return {};
    if (IsTextType(c.type)) {
        int len;
        const char* p = c.textAt(phys, len);
        return QString::fromUtf8(p, len);
    }
    const TField* f = m_fields[size_t(field)].get();
    return FormatFieldValue(c.get(phys), f->DataType, f->DisplayFormat);
}

// ---- loading ------------------------------------------------------------------------------

void TDataSet::BeginLoad()
{
    Close();
    m_loadMap.clear();
}

void TDataSet::BindLoadColumns(const QStringList& names, const std::vector<TFieldType>& types,
                               const std::vector<int>& sizes)
{
    m_loadMap.assign(size_t(names.size()), -1);
    if (!m_persistent) {
        m_fields.clear();
        for (int i = 0; i < names.size(); ++i) {
            // A result may name a column twice (select m.*, ...); the first one wins.
            bool dup = false;
            for (const auto& f : m_fields)
                dup = dup || f->FieldName.compare(names[i], Qt::CaseInsensitive) == 0;
            if (dup)
                continue;
            auto f = std::make_unique<TField>();
            f->FieldName = names[i];
            f->DataType = types[size_t(i)];
            f->Size = sizes[size_t(i)] > 0 ? sizes[size_t(i)] : (IsTextType(f->DataType) ? 20 : 0);
            f->m_dataSet = this;
            f->m_index = int(m_fields.size());
            m_loadMap[size_t(i)] = f->m_index;
            m_fields.push_back(std::move(f));
        }
    } else {
        for (const auto& f : m_fields) {
            if (f->FieldKind != fkData)
                continue;
            int found = -1;
            for (int i = 0; i < names.size() && found < 0; ++i)
                if (names[i].compare(f->FieldName, Qt::CaseInsensitive) == 0)
                    found = i;
            if (found < 0)
                throw EDataSetError(QStringLiteral("%1: 找不到字段 '%2'")
                                        .arg(Name.isEmpty() ? QStringLiteral("查询") : Name, f->FieldName));
            m_loadMap[size_t(found)] = f->m_index;
        }
    }
    m_columns.clear();
    for (const auto& f : m_fields) {
        auto c = std::make_unique<Column>();
        c->type = f->DataType;
        m_columns.push_back(std::move(c));
    }
    int kept = 0;
    for (int f : m_loadMap)
        kept += f >= 0;
    m_loadFillsAll = kept == int(m_fields.size());
}

int TDataSet::LoadFieldIndex(int resultColumn) const
{
    return m_loadMap[size_t(resultColumn)];
}

void TDataSet::LoadVariant(int field, const QVariant& v)
{
    m_columns[size_t(field)]->append(v);
}

void TDataSet::LoadEndRow()
{
    m_deleted.push_back(0);
    ++m_physCount;
    // Columns not in the result (calculated fields) get a null cell.
    if (!m_loadFillsAll)
        for (auto& c : m_columns)
            if (int(c->size()) < m_physCount)
                c->appendNull();
}

void TDataSet::EndLoad()
{
    m_state = dsBrowse;
    rebuildView();
    if (m_hasCalc && OnCalcFields)
        for (int r = 0; r < m_physCount; ++r)
            calcRow(r);
    setCurrent(m_view.empty() ? -1 : 0, false);
    resetLayout();
    emit StateChanged();
    if (AfterOpen)
        AfterOpen(*this);
}
