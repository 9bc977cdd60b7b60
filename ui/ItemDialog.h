// CItemDialog: the form in which a garment's name, quantity, size and note are typed.
#pragma once

#include "platform/win/dialogs/Dialog.h"
#include "res/resource.h"

class CItemDialog : public CDialog {
public:
    explicit CItemDialog(CWnd* pParent = nullptr);
    ~CItemDialog() override;

    enum { IDD = IDD_ITEM_DIALOG };

    CString m_strQty;
    CString m_strItemName;
    CString m_strNote;
    CString m_strSize;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    DECLARE_MESSAGE_MAP()
};
