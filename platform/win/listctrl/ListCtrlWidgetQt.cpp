#include "platform/win/listctrl/ListCtrlWidgetQt.h"

#include "platform/win/WinUser.h"
#include "platform/win/frame/WndQt.h"
#include "platform/win/listctrl/ImageListQt.h"
#include "platform/win/listctrl/ListCtrlAccessibleQt.h"
#include "platform/win/listctrl/ListCtrlAdapterQt.h"
#include "platform/win/listctrl/ListCtrlDelegateQt.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QScrollBar>

#include <algorithm>

CListCtrlWidget::CListCtrlWidget(CListCtrlModel& model, QWidget* parent)
    : QTableView(parent), m_model(model), m_pAdapter(new CListCtrlAdapter(model, this)),
      m_pDelegate(new CListCtrlDelegate(model, this)) {
    // Client coordinates are the widget's own, so the list draws no frame of its own.
    setFrameShape(QFrame::NoFrame);
    setModel(m_pAdapter);
    setItemDelegate(m_pDelegate);
    // Selection lives in the model; Qt's own would only disagree with it.
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setWordWrap(false);
    setCornerButtonEnabled(false);

    QHeaderView* pRows = verticalHeader();
    pRows->hide();
    pRows->setMinimumSectionSize(0);
    pRows->setSectionResizeMode(QHeaderView::Fixed);

    QHeaderView* pHeader = horizontalHeader();
    pHeader->setSectionsClickable(true);
    pHeader->setSectionsMovable(false);
    pHeader->setHighlightSections(false);
    pHeader->setStretchLastSection(false);
    pHeader->setMinimumSectionSize(0);
    pHeader->setSectionResizeMode(QHeaderView::Interactive);
    pHeader->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Qt's table selects a pressed column and scrolls to it; a header tap here only sorts.
    disconnect(pHeader, &QHeaderView::sectionPressed, this, nullptr);
    disconnect(pHeader, &QHeaderView::sectionEntered, this, nullptr);
    connect(pHeader, &QHeaderView::sectionClicked, this,
            [this](int iCol) { m_model.TapHeader(iCol); });
    connect(pHeader, &QHeaderView::sectionResized, this, [this](int iCol, int, int cx) {
        if (!m_bSyncingWidths)
            m_model.ResizeColumn(iCol, cx);
    });

    m_model.SetChangeObserver([this] { ScheduleSync(); });
    SyncNow();

    // With a screen reader about, Qt may have described the widget while it was only a table
    // view under construction; from now on it is the list control's own description.
    if (QAccessible::isActive()) {
        if (QAccessibleInterface* pEarly = QAccessible::queryAccessibleInterface(this);
            pEarly && !dynamic_cast<CListCtrlAccessible*>(pEarly))
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(pEarly));
    }
}

CListCtrlWidget::~CListCtrlWidget() {
    m_model.SetChangeObserver(nullptr);
}

void CListCtrlWidget::ScheduleSync() {
    if (m_bSyncPending)
        return;
    m_bSyncPending = true;
    QMetaObject::invokeMethod(
        this, [this] { SyncNow(); }, Qt::QueuedConnection);
}

void CListCtrlWidget::SyncNow() {
    m_bSyncPending = false;
    m_model.CaughtUp();
    // Rows are as high as the text or the state picture needs, whichever is taller. Set before
    // new rows come, which then take it as they are made instead of each being resized.
    const int cyPicture = AfxGetImageListSize(m_model.GetStateImageList()).height();
    const int cyRow = std::max(fontMetrics().height(), cyPicture) + 2;
    if (verticalHeader()->defaultSectionSize() != cyRow)
        verticalHeader()->setDefaultSectionSize(cyRow);
    m_pAdapter->Sync();
    // Screen readers hear of boxes ticked or cleared since the last look.
    if (QAccessible::isActive()) {
        QAccessibleTableModelChangeEvent changed(this,
                                                 QAccessibleTableModelChangeEvent::DataChanged);
        QAccessible::updateAccessibility(&changed);
    }

    ShowColumnWidths();
    QHeaderView* pHeader = horizontalHeader();
    pHeader->setVisible((m_model.GetStyle() & LVS_NOCOLUMNHEADER) == 0);

    setShowGrid((m_model.GetExtendedStyle() & LVS_EX_GRIDLINES) != 0);
    viewport()->update();
    ReportLayout();
}

void CListCtrlWidget::ShowColumnWidths() {
    m_bSyncingWidths = true;
    QHeaderView* pHeader = horizontalHeader();
    for (int i = 0; i < m_model.GetColumnCount(); ++i) {
        if (pHeader->sectionSize(i) != m_model.GetShownWidth(i))
            pHeader->resizeSection(i, m_model.GetShownWidth(i));
    }
    m_bSyncingWidths = false;
}

void CListCtrlWidget::ReportLayout() {
    const QRect rows = viewport()->geometry();
    LISTCTRLLAYOUT layout;
    layout.xRows = rows.x();
    layout.yRows = rows.y();
    layout.cxRows = rows.width();
    layout.cyRows = rows.height();
    layout.cyRow = verticalHeader()->defaultSectionSize();
    layout.xScroll = horizontalScrollBar()->value();
    layout.yScroll = verticalScrollBar()->value();
    m_model.SetLayout(layout);
    // A filling column follows the width of the rows.
    ShowColumnWidths();
}

int CListCtrlWidget::HitRow(const QPoint& ptViewport, POINT* pClient) {
    ReportLayout();
    const QPoint pt = viewport()->mapTo(this, ptViewport);
    LVHITTESTINFO info{};
    info.pt = {pt.x(), pt.y()};
    *pClient = info.pt;
    return int(m_model.OnHitTest(&info));
}

void CListCtrlWidget::TapCheckBox(int iRow) {
    if (iRow < 0 || iRow >= m_model.GetItemCount())
        return;
    SyncNow();
    horizontalScrollBar()->setValue(0);
    scrollTo(model()->index(iRow, 0));
    // The middle of the state picture, which starts at the row's left edge.
    const QRect cell = visualRect(model()->index(iRow, 0));
    const int cxPicture = AfxGetImageListSize(m_model.GetStateImageList()).width();
    const QPoint ptViewport(cell.left() + std::max(cxPicture, 2) / 2, cell.center().y());
    POINT pt;
    if (HitRow(ptViewport, &pt) != iRow)
        return;
    // The view reads where the tap was from the last input's position, as for a real tap.
    AfxSetMessagePos(AfxGlobalToDevice(viewport()->mapToGlobal(ptViewport)));
    m_model.TapRow(iRow, pt, FALSE);
}

void CListCtrlWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        setFocus(Qt::MouseFocusReason);
        POINT pt;
        const int iRow = HitRow(event->position().toPoint(), &pt);
        m_bPressed = false;
        m_model.RightTapRow(iRow, pt); // may run the pop-up menu: nothing follows
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    setFocus(Qt::MouseFocusReason);
    POINT pt;
    m_iPressedRow = HitRow(event->position().toPoint(), &pt);
    m_bPressed = true;
    m_bDoubleClick = false;
}

void CListCtrlWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_bPressed)
        return;
    m_bPressed = false;
    POINT pt;
    const int iRow = HitRow(event->position().toPoint(), &pt);
    if (iRow != m_iPressedRow)
        return;
    if (m_bDoubleClick) {
        m_bDoubleClick = false;
        m_model.DoubleTapRow(iRow, pt);
        return;
    }
    const BOOL bControl = (event->modifiers() & Qt::ControlModifier) != 0;
    // The model's receivers may run a modal loop or rebuild the list: nothing follows.
    if (iRow >= 0)
        m_model.TapRow(iRow, pt, bControl);
    else
        m_model.TapEmpty(pt);
}

// Dragging over rows neither selects nor scrolls; a tap is press and release on one row.
void CListCtrlWidget::mouseMoveEvent(QMouseEvent*) {}

// The second press of a double click completes the first click; it is no tap of its own.
void CListCtrlWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    mousePressEvent(event);
    m_bDoubleClick = true;
}

void CListCtrlWidget::keyPressEvent(QKeyEvent* event) {
    const bool bShift = (event->modifiers() & Qt::ShiftModifier) != 0;
    WORD vk = 0;
    switch (event->key()) {
    case Qt::Key_Up:
        vk = VK_UP;
        break;
    case Qt::Key_Down:
        vk = VK_DOWN;
        break;
    case Qt::Key_Home:
        vk = VK_HOME;
        break;
    case Qt::Key_End:
        vk = VK_END;
        break;
    case Qt::Key_PageUp:
        vk = VK_PRIOR;
        break;
    case Qt::Key_PageDown:
        vk = VK_NEXT;
        break;
    case Qt::Key_Space:
        vk = VK_SPACE;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        vk = VK_RETURN;
        break;
    case Qt::Key_F2:
        vk = VK_F2;
        break;
    case Qt::Key_Delete:
        vk = VK_DELETE;
        break;
    case Qt::Key_Menu:
        vk = VK_APPS;
        break;
    case Qt::Key_F10:
        // Shift+F10 is the menu key of keyboards without one.
        if (bShift)
            vk = VK_APPS;
        break;
    default:
        break;
    }
    if (vk == 0 || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        event->ignore(); // the window's keys: accelerators, menu bar letters, Tab
        return;
    }
    event->accept();
    ReportLayout();
    const int cyRow = std::max(verticalHeader()->defaultSectionSize(), 1);
    QPointer<CListCtrlWidget> pThis(this);
    // The receivers may run a dialog or a menu, or rebuild the list.
    m_model.KeyDown(vk, bShift, std::max(viewport()->height() / cyRow, 1));
    if (!pThis)
        return;
    SyncNow();
    const int iFocus = m_model.GetFocusedRow();
    if (iFocus >= 0)
        scrollTo(model()->index(iFocus, 0));
}

// The menu key arrives here rather than as a key press on some keyboards.
void CListCtrlWidget::contextMenuEvent(QContextMenuEvent* event) {
    if (event->reason() != QContextMenuEvent::Keyboard) {
        event->accept(); // a right click has been answered by its press
        return;
    }
    event->accept();
    m_model.KeyDown(VK_APPS, FALSE, 1);
}

void CListCtrlWidget::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    viewport()->update();
}

void CListCtrlWidget::focusOutEvent(QFocusEvent* event) {
    QTableView::focusOutEvent(event);
    viewport()->update();
}

void CListCtrlWidget::updateGeometries() {
    QTableView::updateGeometries();
    ReportLayout();
}

void CListCtrlWidget::scrollContentsBy(int dx, int dy) {
    QTableView::scrollContentsBy(dx, dy);
    ReportLayout();
}
