#include "DataSetModel.h"

#include "Exceptions.h"

TDataSetModel::TDataSetModel(TDataSet* ds, QObject* parent) : QAbstractTableModel(parent), m_ds(ds)
{
    m_rows = ds->Active() ? ds->RecordCount() : 0;
    connect(ds, &TDataSet::LayoutReset, this, &TDataSetModel::reset);
    connect(ds, &TDataSet::RowChanged, this, [this](int row) {
        if (row >= 0 && row < m_rows)
            emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    });
    connect(ds, &TDataSet::RowInserted, this, [this](int row) {
        beginInsertRows(QModelIndex(), row, row);
        ++m_rows;
        endInsertRows();
    });
    connect(ds, &TDataSet::RowRemoved, this, [this](int row) {
        beginRemoveRows(QModelIndex(), row, row);
        --m_rows;
        endRemoveRows();
    });
}

void TDataSetModel::reset()
{
    beginResetModel();
    m_rows = m_ds && m_ds->Active() ? m_ds->RecordCount() : 0;
    endResetModel();
}

void TDataSetModel::SetColumns(const std::vector<int>& fields)
{
    beginResetModel();
    m_columns = fields;
    endResetModel();
}

int TDataSetModel::FieldOfColumn(int column) const
{
    if (m_columns.empty())
        return column;
    return column >= 0 && column < int(m_columns.size()) ? m_columns[size_t(column)] : -1;
}

int TDataSetModel::ColumnOfField(int field) const
{
    if (m_columns.empty())
        return field;
    for (size_t i = 0; i < m_columns.size(); ++i)
        if (m_columns[i] == field)
            return int(i);
    return -1;
}

int TDataSetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int TDataSetModel::columnCount(const QModelIndex& parent) const
{
    if (parent.isValid() || !m_ds)
        return 0;
    return m_columns.empty() ? m_ds->FieldCount() : int(m_columns.size());
}

QVariant TDataSetModel::data(const QModelIndex& index, int role) const
{
    if (!m_ds || !m_ds->Active() || !index.isValid() || index.row() >= m_rows)
        return {};
    const int field = FieldOfColumn(index.column());
    if (field < 0 || field >= m_ds->FieldCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return m_ds->CellText(index.row(), field);
    case Qt::EditRole:
    case RawValueRole:
        return m_ds->CellValue(index.row(), field);
    case FieldIndexRole:
        return field;
    case IsNullRole:
        return m_ds->CellIsNull(index.row(), field);
    case Qt::TextAlignmentRole: {
        const TFieldType t = m_ds->Fields(field)->DataType;
        if (IsFloatType(t) || IsIntegerType(t))
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    }
    default:
        return {};
    }
}

QVariant TDataSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (!m_ds)
        return {};
    if (orientation == Qt::Vertical)
        return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
    const int field = FieldOfColumn(section);
    if (field < 0 || field >= m_ds->FieldCount())
        return {};
    if (role == Qt::DisplayRole)
        return m_ds->Fields(field)->Label();
    if (role == FieldIndexRole)
        return field;
    return {};
}

Qt::ItemFlags TDataSetModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (Editable && m_ds && index.isValid()) {
        const int field = FieldOfColumn(index.column());
        if (field >= 0 && !m_ds->Fields(field)->ReadOnly && m_ds->Fields(field)->FieldKind == fkData)
            f |= Qt::ItemIsEditable;
    }
    return f;
}

bool TDataSetModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !m_ds || !index.isValid())
        return false;
    const int field = FieldOfColumn(index.column());
    if (field < 0)
        return false;
    if (m_ds->RecNo() - 1 != index.row())
        m_ds->SetRecNo(index.row() + 1);
    m_ds->Edit();
    m_ds->Fields(field)->SetValue(value);
    return true;
}
