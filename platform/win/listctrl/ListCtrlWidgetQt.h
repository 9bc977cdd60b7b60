// CListCtrlWidget: the list control on screen. It draws a CListCtrlModel and turns taps on
// rows and headers and divider drags into the model's input calls; it decides nothing itself.
#pragma once

#include "platform/win/listctrl/ListCtrlModel.h"

#include <QTableView>

class CListCtrlAdapter;
class CListCtrlDelegate;

class CListCtrlWidget : public QTableView {
public:
    // The model must outlive the widget.
    CListCtrlWidget(CListCtrlModel& model, QWidget* parent);
    ~CListCtrlWidget() override;

    // Brings the screen up to date with the model now instead of on the next turn of the
    // event loop (changes come in bursts, a rebuild is thousands of messages).
    void SyncNow();
    // A tap in the check box of a row, brought into view first: what a screen reader's
    // toggle does.
    void TapCheckBox(int iRow);
    const CListCtrlModel& Model() const { return m_model; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void ScheduleSync();
    void ShowColumnWidths();
    void ReportLayout();
    int HitRow(const QPoint& ptViewport, POINT* pClient);

    CListCtrlModel& m_model;
    CListCtrlAdapter* m_pAdapter;
    CListCtrlDelegate* m_pDelegate;
    bool m_bSyncPending = false;
    bool m_bSyncingWidths = false;
    bool m_bPressed = false;
    bool m_bDoubleClick = false;
    int m_iPressedRow = -1;
};
