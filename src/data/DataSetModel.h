#pragma once

#include "DataSet.h"

#include <QAbstractTableModel>
#include <QPointer>

// Item model over a data set for the grids: one column per field (or per chosen field),
// one row per row of the set's view. Each cell is answered in constant time.
class TDataSetModel final : public QAbstractTableModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TDataSetModel)

public:
    enum Roles { RawValueRole = Qt::UserRole + 1, FieldIndexRole, IsNullRole };

    explicit TDataSetModel(TDataSet* ds, QObject* parent = nullptr);
    TDataSet* DataSet() const { return m_ds; }
    // The fields shown, by field index; empty means every field in order.
    void SetColumns(const std::vector<int>& fields);
    int FieldOfColumn(int column) const;
    int ColumnOfField(int field) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    bool Editable = false;

private:
    void reset();
    QPointer<TDataSet> m_ds;
    std::vector<int> m_columns;
    int m_rows = 0;
};
