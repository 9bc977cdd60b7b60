// CRowsMoved: the hint with which the document tells its view that another version of the list
// took the place of the one shown, and where each row's garment went.
#pragma once

#include "platform/core/Object.h"
#include "platform/core/WinTypes.h"

#include <vector>

class CRowsMoved : public CObject {
public:
    // The lHint of CDocument::UpdateAllViews that comes with this object.
    static constexpr LPARAM kHint = 1;
    // m_newRow[i]: the row that shows what row i showed, or -1 where that garment is gone.
    std::vector<int> m_newRow;
};
