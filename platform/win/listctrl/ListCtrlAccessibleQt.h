// CListCtrlAccessible: the list control as screen readers see it, a table of its columns'
// headers and its rows' cells; cells come and go with the rows.
#pragma once

#include <QAccessibleWidget>
#include <QPointer>

#include <map>

class CListCtrlWidget;

class CListCtrlAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit CListCtrlAccessible(CListCtrlWidget* pWidget);
    ~CListCtrlAccessible() override;

    // Made for the list control's widgets; installed once with the list control's class.
    static QAccessibleInterface* Factory(const QString& className, QObject* pObject);

    QAccessible::Role role() const override { return QAccessible::Table; }
    int childCount() const override;
    // The column headers come first, then the rows' cells, row by row.
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* pChild) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    void* interface_cast(QAccessible::InterfaceType t) override;

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int columnCount() const override;
    int rowCount() const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int /*row*/) const override { return {}; }
    int selectedCellCount() const override;
    QList<QAccessibleInterface*> selectedCells() const override;
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return int(selectedRows().size()); }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override;
    bool isColumnSelected(int /*column*/) const override { return false; }
    bool isRowSelected(int row) const override;
    // The selection is the user's, made with taps and keys.
    bool selectRow(int /*row*/) override { return false; }
    bool selectColumn(int /*column*/) override { return false; }
    bool unselectRow(int /*row*/) override { return false; }
    bool unselectColumn(int /*column*/) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent* event) override;

    // A column header's cell.
    QAccessibleInterface* HeaderCell(int column) const;

private:
    CListCtrlWidget* Widget() const;
    QAccessibleInterface* Cached(int key, int row, int column) const;
    void Forget();

    // Cells handed out, by child index, so that each keeps its identity for the client.
    mutable std::map<int, QAccessible::Id> m_cells;
};
