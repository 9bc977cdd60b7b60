// The document's two flows through the item dialog: adding a garment and editing one.
#include "data/VestoryListDoc.h"
#include "ui/ItemDialog.h"

#include <algorithm>
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

    // Shown and saved after a cancel too, so that a list file exists from the first use on;
    // AddItem has kept the new garment's step.
    EndChange(CListStep::Appended({}));
}

void CVestoryListDoc::EditItem(int index) {
    // The list control's selection mark can be stale; such an index must never touch the list.
    if (index < 0 || index >= GetItemCount())
        return;

    const CData chosen = m_items[std::size_t(index)];
    CItemDialog dlg;
    dlg.m_strItemName = chosen.m_strItemName;
    dlg.m_strQty = chosen.m_strQty;
    dlg.m_strSize = chosen.m_strSize;
    dlg.m_strNote = chosen.m_strNote;

    if (dlg.DoModal() != IDOK) {
        RefreshView();
        return;
    }
    CData data = chosen;
    data.m_strItemName = dlg.m_strItemName;
    data.m_strQty = dlg.m_strQty;
    data.m_strSize = dlg.m_strSize;
    data.m_strNote = dlg.m_strNote;
    // The rows may have moved while the dialog was open: the garment is found by its record.
    const int at = FindGarment(m_items, chosen, index);
    if (data == chosen) {
        // An OK that changed nothing leaves nothing to undo, but is saved as any OK is.
        EndChange(CListStep::Replaced(at, chosen, chosen));
        return;
    }
    if (at >= 0) {
        m_items[std::size_t(at)] = data;
        EndChange(CListStep::Replaced(at, chosen, std::move(data)));
        return;
    }
    // Another writer changed or removed the garment meanwhile: the edit is kept beside it.
    const int row = std::min(index, GetItemCount());
    m_items.insert(m_items.begin() + row, data);
    EndChange(CListStep::Appended({{row, std::move(data)}}));
}
