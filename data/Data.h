// CData: one garment of the list, and its serial form in the list file.
#pragma once

#include "platform/core/Archive.h"
#include "platform/core/Object.h"
#include "platform/core/String.h"

class CData : public CObject {
    DECLARE_SERIAL(CData)
public:
    CData();
    CData(const CData& other);
    CData& operator=(const CData& other);
    // Moves let the list grow without copying every text.
    CData(CData&& other) noexcept = default;
    CData& operator=(CData&& other) noexcept = default;
    ~CData() override = default;

    // Storing writes the eight fields; loading overwrites every one of them.
    void Serialize(CArchive& ar) override;

    LONG m_bAtCleaners;
    CString m_strItemName;
    CString m_strQty;
    CString m_strSize;
    CString m_strNote;
    LONG m_nMonth;
    LONG m_nDay;
    LONG m_nYear;

    // A garment is its whole record: the list file has room for nothing that would tell two
    // equal records apart.
    friend bool operator==(const CData& a, const CData& b);
};
