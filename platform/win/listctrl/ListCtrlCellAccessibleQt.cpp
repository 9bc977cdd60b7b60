#include "platform/win/listctrl/ListCtrlCellAccessibleQt.h"

#include "platform/core/Resource.h"
#include "platform/win/frame/WndQt.h"
#include "platform/win/listctrl/ImageListQt.h"
#include "platform/win/listctrl/ListCtrlAccessibleQt.h"
#include "platform/win/listctrl/ListCtrlWidgetQt.h"

#include <QHeaderView>
#include <QWidget>
#include <QWindow>

namespace {

QString ToQString(std::u16string_view s) {
    return QString::fromUtf16(s.data(), qsizetype(s.size()));
}

} // namespace

CListCtrlCellAccessible::CListCtrlCellAccessible(CListCtrlWidget* pWidget, int iRow, int iCol)
    : m_pWidget(pWidget), m_iRow(iRow), m_iCol(iCol) {
    m_bCheckedTold = IsChecked();
}

bool CListCtrlCellAccessible::isValid() const {
    if (!m_pWidget)
        return false;
    const CListCtrlModel& model = m_pWidget->Model();
    return m_iCol >= 0 && m_iCol < model.GetColumnCount() && m_iRow >= -1 &&
           m_iRow < model.GetItemCount();
}

QWindow* CListCtrlCellAccessible::window() const {
    return m_pWidget ? m_pWidget->window()->windowHandle() : nullptr;
}

QAccessibleInterface* CListCtrlCellAccessible::parent() const {
    return m_pWidget ? QAccessible::queryAccessibleInterface(m_pWidget.data()) : nullptr;
}

bool CListCtrlCellAccessible::IsCheckBox() const {
    if (!isValid() || m_iRow < 0 || m_iCol != 0)
        return false;
    const int nImage = m_pWidget->Model().GetStateImage(m_iRow);
    return nImage == 1 || nImage == 2;
}

// State pictures 1 and 2 are the empty and the ticked box, as in check-box lists.
bool CListCtrlCellAccessible::IsChecked() const {
    return IsCheckBox() && m_pWidget->Model().GetStateImage(m_iRow) == 2;
}

QString CListCtrlCellAccessible::text(QAccessible::Text t) const {
    if (!isValid())
        return {};
    const CListCtrlModel& model = m_pWidget->Model();
    const QString title = ToQString(model.GetColumn(m_iCol).strTitle);
    if (m_iRow < 0)
        return t == QAccessible::Name ? title : QString();
    if (IsCheckBox()) {
        if (t == QAccessible::Name) {
            // The pictures' bitmap has a string of the same number that says what a box means.
            TCHAR szName[256] = {};
            const UINT nID = AfxGetImageListBitmapID(model.GetStateImageList());
            if (nID != 0 && LoadString(AfxGetResourceHandle(), nID, szName, 256) > 0)
                return AfxToQString(szName);
            return title;
        }
        return t == QAccessible::Description ? title : QString();
    }
    if (t == QAccessible::Name || t == QAccessible::Value)
        return ToQString(model.GetCellText(m_iRow, m_iCol));
    return {};
}

QRect CListCtrlCellAccessible::rect() const {
    if (!isValid())
        return {};
    if (m_iRow < 0) {
        QHeaderView* pHeader = m_pWidget->horizontalHeader();
        const QRect section(pHeader->sectionViewportPosition(m_iCol), 0,
                            pHeader->sectionSize(m_iCol), pHeader->height());
        return QRect(pHeader->viewport()->mapToGlobal(section.topLeft()), section.size());
    }
    const QRect cell = m_pWidget->visualRect(m_pWidget->model()->index(m_iRow, m_iCol));
    return QRect(m_pWidget->viewport()->mapToGlobal(cell.topLeft()), cell.size());
}

QAccessible::Role CListCtrlCellAccessible::role() const {
    if (m_iRow < 0)
        return QAccessible::ColumnHeader;
    return IsCheckBox() ? QAccessible::CheckBox : QAccessible::Cell;
}

QAccessible::State CListCtrlCellAccessible::state() const {
    QAccessible::State st;
    if (!isValid()) {
        st.invalid = true;
        return st;
    }
    if (m_iRow < 0)
        return st;
    const UINT rowState = m_pWidget->Model().GetRow(m_iRow).state;
    st.selectable = true;
    st.focusable = true;
    st.selected = isSelected();
    st.focused = (rowState & LVIS_FOCUSED) != 0 && m_pWidget->hasFocus();
    if (IsCheckBox()) {
        st.checkable = true;
        st.checked = IsChecked();
    }
    const QRect shown(m_pWidget->viewport()->mapToGlobal(QPoint(0, 0)),
                      m_pWidget->viewport()->size());
    st.invisible = !shown.intersects(rect());
    st.offscreen = st.invisible;
    return st;
}

void* CListCtrlCellAccessible::interface_cast(QAccessible::InterfaceType t) {
    if (t == QAccessible::TableCellInterface)
        return static_cast<QAccessibleTableCellInterface*>(this);
    if (t == QAccessible::ActionInterface)
        return static_cast<QAccessibleActionInterface*>(this);
    return nullptr;
}

QList<QAccessibleInterface*> CListCtrlCellAccessible::columnHeaderCells() const {
    auto* pTable =
        static_cast<CListCtrlAccessible*>(parent() ? parent()->tableInterface() : nullptr);
    if (!pTable || m_iRow < 0)
        return {};
    return {pTable->HeaderCell(m_iCol)};
}

bool CListCtrlCellAccessible::isSelected() const {
    if (!isValid() || m_iRow < 0)
        return false;
    const CListCtrlModel& model = m_pWidget->Model();
    return (model.GetRow(m_iRow).state & LVIS_SELECTED) != 0 &&
           (m_iCol == 0 || (model.GetExtendedStyle() & LVS_EX_FULLROWSELECT) != 0);
}

QStringList CListCtrlCellAccessible::actionNames() const {
    return IsCheckBox() ? QStringList{toggleAction()} : QStringList();
}

void CListCtrlCellAccessible::doAction(const QString& actionName) {
    if (actionName == toggleAction() && IsCheckBox())
        m_pWidget->TapCheckBox(m_iRow);
}
