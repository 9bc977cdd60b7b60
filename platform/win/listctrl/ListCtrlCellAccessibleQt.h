// CListCtrlCellAccessible: one cell of the list control, or a column's header (row -1). The
// first cell of a row that shows a state picture is its check box, which a screen reader can
// toggle as a tap in the box does.
#pragma once

#include <QAccessible>
#include <QPointer>

class CListCtrlWidget;

class CListCtrlCellAccessible : public QAccessibleInterface,
                                public QAccessibleTableCellInterface,
                                public QAccessibleActionInterface {
public:
    CListCtrlCellAccessible(CListCtrlWidget* pWidget, int iRow, int iCol);

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int /*index*/) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface* /*child*/) const override { return -1; }
    QAccessibleInterface* childAt(int /*x*/, int /*y*/) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text /*t*/, const QString& /*text*/) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType t) override;

    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QList<QAccessibleInterface*> columnHeaderCells() const override;
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return m_iCol; }
    int rowIndex() const override { return m_iRow; }
    bool isSelected() const override;
    QAccessibleInterface* table() const override { return parent(); }

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& /*actionName*/) const override { return {}; }

    bool IsCheckBox() const;
    bool IsChecked() const;
    // The ticked state a screen reader was last told of, to tell it of changes.
    bool m_bCheckedTold = false;

private:
    QPointer<CListCtrlWidget> m_pWidget;
    int m_iRow;
    int m_iCol;
};
