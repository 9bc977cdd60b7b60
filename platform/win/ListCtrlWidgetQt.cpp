#include "platform/win/ListCtrlWidgetQt.h"

#include "platform/win/ImageListQt.h"
#include "platform/win/ListCtrlAdapterQt.h"
#include "platform/win/ListCtrlDelegateQt.h"

#include <QHeaderView>
#include <QMouseEvent>
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
    connect(pHeader, &QHeaderView::sectionClicked, this,
            [this](int iCol) { m_model.TapHeader(iCol); });
    connect(pHeader, &QHeaderView::sectionResized, this, [this](int iCol, int, int cx) {
        if (!m_bSyncingWidths)
            m_model.ResizeColumn(iCol, cx);
    });

    m_model.SetChangeObserver([this] { ScheduleSync(); });
    SyncNow();
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
    m_pAdapter->Sync();

    m_bSyncingWidths = true;
    QHeaderView* pHeader = horizontalHeader();
    for (int i = 0; i < m_model.GetColumnCount(); ++i) {
        if (pHeader->sectionSize(i) != m_model.GetColumn(i).cx)
            pHeader->resizeSection(i, m_model.GetColumn(i).cx);
    }
    m_bSyncingWidths = false;
    pHeader->setVisible((m_model.GetStyle() & LVS_NOCOLUMNHEADER) == 0);

    // Rows are as high as the text or the state picture needs, whichever is taller.
    const int cyPicture = AfxGetImageListSize(m_model.GetStateImageList()).height();
    const int cyRow = std::max(fontMetrics().height(), cyPicture) + 2;
    if (verticalHeader()->defaultSectionSize() != cyRow)
        verticalHeader()->setDefaultSectionSize(cyRow);
    setShowGrid((m_model.GetExtendedStyle() & LVS_EX_GRIDLINES) != 0);
    viewport()->update();
    ReportLayout();
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
}

int CListCtrlWidget::HitRow(const QPoint& ptViewport, POINT* pClient) {
    ReportLayout();
    const QPoint pt = viewport()->mapTo(this, ptViewport);
    LVHITTESTINFO info{};
    info.pt = {pt.x(), pt.y()};
    *pClient = info.pt;
    return int(m_model.OnHitTest(&info));
}

void CListCtrlWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    setFocus(Qt::MouseFocusReason);
    POINT pt;
    m_iPressedRow = HitRow(event->position().toPoint(), &pt);
    m_bPressed = true;
}

void CListCtrlWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_bPressed)
        return;
    m_bPressed = false;
    POINT pt;
    const int iRow = HitRow(event->position().toPoint(), &pt);
    if (iRow != m_iPressedRow)
        return;
    const BOOL bControl = (event->modifiers() & Qt::ControlModifier) != 0;
    // The model's receivers may run a modal loop or rebuild the list: nothing follows.
    if (iRow >= 0)
        m_model.TapRow(iRow, pt, bControl);
    else
        m_model.TapEmpty(pt);
}

// Dragging over rows neither selects nor scrolls; a tap is press and release on one row.
void CListCtrlWidget::mouseMoveEvent(QMouseEvent*) {}

// The second press of a double tap is a tap of its own.
void CListCtrlWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
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
