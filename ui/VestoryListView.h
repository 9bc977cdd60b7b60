// CVestoryListView: the four-column list of garments that fills the main frame.
#pragma once

#include "platform/win/frame/ListView.h"
#include "platform/win/listctrl/ImageList.h"

#include <vector>

class CCmdUI;
class CVestoryListDoc;

class CVestoryListView : public CListView {
    DECLARE_DYNCREATE(CVestoryListView)
public:
    CVestoryListView();
    ~CVestoryListView() override;

    CVestoryListDoc* GetDocument() const;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void OnInitialUpdate() override;
    void OnDraw(CDC* pDC) override;

    // Another version of the list took the place of the one shown (CRowsMoved): the rows are
    // rebuilt, the keyboard's row, the selection and the selection mark staying on their
    // garments.
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;

    // Rebuilds every row from the document.
    void RefreshList();
    // Rewrites the state picture and the texts of row index from record index.
    void UpdateRow(int index);

protected:
    afx_msg void OnClick(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnColumnClick(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnListNew();
    afx_msg void OnListEdit();
    afx_msg void OnListDelete();
    afx_msg void OnKeyDown(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnReturn(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnRClick(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnEditCopy();
    afx_msg void OnEditCut();
    afx_msg void OnEditPaste();
    afx_msg void OnEditSelectAll();
    afx_msg void OnUpdateNeedSelection(CCmdUI* pCmdUI);
    afx_msg void OnUpdateEditPaste(CCmdUI* pCmdUI);

    BOOL IsListedItem(int index);
    // The pop-up menu of the rows, at a device-screen point.
    void TrackRowMenu(POINT screen);
    // A tick or a cleared tick on row index, as a tap in its box gives it.
    void ToggleRow(int index);
    int GetFocusedRow();
    std::vector<int> GetSelectedRows();
    // The selected garments on the clipboard; FALSE when none is selected.
    BOOL CopySelection();
    // Deletes the selected garments, after the question when bAsk.
    void DeleteSelection(BOOL bAsk);
    // Keeps the column widths for the next start.
    afx_msg void OnDestroy();

    CImageList m_imageList;

    DECLARE_MESSAGE_MAP()
};
