#include "data/Data.h"

IMPLEMENT_SERIAL(CData, CObject, 1)

CData::CData() : m_bAtCleaners(0), m_strQty(u"1"), m_nMonth(0), m_nDay(0), m_nYear(0) {}

CData::CData(const CData& other) = default;
CData& CData::operator=(const CData& other) = default;

void CData::Serialize(CArchive& ar) {
    // The day goes before the month: this is the handheld's file layout.
    if (ar.IsStoring()) {
        ar << m_bAtCleaners;
        ar << m_strItemName << m_strQty << m_strSize << m_strNote;
        ar << m_nDay << m_nMonth << m_nYear;
    } else {
        ar >> m_bAtCleaners;
        ar >> m_strItemName >> m_strQty >> m_strSize >> m_strNote;
        ar >> m_nDay >> m_nMonth >> m_nYear;
    }
}

bool operator==(const CData& a, const CData& b) {
    return a.m_bAtCleaners == b.m_bAtCleaners && a.m_nDay == b.m_nDay && a.m_nMonth == b.m_nMonth &&
           a.m_nYear == b.m_nYear && a.m_strItemName == b.m_strItemName &&
           a.m_strQty == b.m_strQty && a.m_strSize == b.m_strSize && a.m_strNote == b.m_strNote;
}
