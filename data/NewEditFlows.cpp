// The document's two flows through the item dialog: adding a garment and editing one.
#include "data/VestoryListDoc.h"
#include "ui/ItemDialog.h"

#include <utility>

void CVestoryListDoc::OnNewItem() {
    CItemDialog dlg;
    CData data;

    dlg.m_strQty = _T("1");
    if (dlg.DoModal() == IDOK) {
        data.m_bAtCleaners = 0;
        data.m_strItemName = dlg.m_strItemName;
        data.m_strQty = dlg.m_strQty;
        data.m_strSize = dlg.m_strSize;
        data.m_strNote = dlg.m_strNote;
        data.m_nMonth = 0;
        data.m_nDay = 0;
        data.m_nYear = 0;
        AddItem(std::move(data));
    }

    // Saved after a cancel too, so that a list file exists from the first use on.
    RefreshView();
    SaveList();
}

void CVestoryListDoc::EditItem(int index) {
    // The list control's selection mark can be stale; such an index must never touch the list.
    if (index < 0 || index >= GetItemCount())
        return;

    CData data = m_items[std::size_t(index)];
    CItemDialog dlg;
    dlg.m_strItemName = data.m_strItemName;
    dlg.m_strQty = data.m_strQty;
    dlg.m_strSize = data.m_strSize;
    dlg.m_strNote = data.m_strNote;

    if (dlg.DoModal() == IDOK) {
        data.m_strItemName = dlg.m_strItemName;
        data.m_strQty = dlg.m_strQty;
        data.m_strSize = dlg.m_strSize;
        data.m_strNote = dlg.m_strNote;
        // An OK that changed nothing leaves nothing to undo.
        const CData& before = m_items[std::size_t(index)];
        if (before.m_strItemName != data.m_strItemName || before.m_strQty != data.m_strQty ||
            before.m_strSize != data.m_strSize || before.m_strNote != data.m_strNote) {
            UndoStep step;
            step.restore.emplace_back(index, std::move(m_items[std::size_t(index)]));
            m_undo.push_back(std::move(step));
        }
        m_items[std::size_t(index)] = std::move(data);
        SaveList();
    }

    RefreshView();
}
