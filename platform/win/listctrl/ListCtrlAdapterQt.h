// CListCtrlAdapter: shows a list control's model to Qt's item views, read-only.
#pragma once

#include "platform/win/listctrl/ListCtrlModel.h"

#include <QAbstractTableModel>

class CListCtrlAdapter : public QAbstractTableModel {
public:
    // Whether a cell is drawn selected (bool).
    static constexpr int SelectedRole = Qt::UserRole;

    explicit CListCtrlAdapter(const CListCtrlModel& model, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Catches up with the list: a reset when rows or columns came or went, else a repaint.
    void Sync();

private:
    const CListCtrlModel& m_model;
    int m_nRows = 0;
    int m_nColumns = 0;
};
