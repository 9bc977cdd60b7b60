// CVestoryListView: the four-column list of garments that fills the main frame.
#pragma once

#include "platform/win/ImageList.h"
#include "platform/win/ListView.h"

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

    CImageList m_imageList;

    DECLARE_MESSAGE_MAP()
};
