// CImageList: a row of equally wide pictures cut from a bitmap resource, with a mask colour.
#pragma once

#include "platform/core/Object.h"
#include "platform/core/WinTypes.h"

class CImageList : public CObject {
public:
    CImageList() = default;
    ~CImageList() override;
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    // Cuts bitmap nBitmapID of the resource module into pictures cx pixels wide; pixels of
    // crMask become transparent. A column narrower than cx at the right edge is dropped.
    // nGrow is accepted for the framework's signature; the list never grows here.
    BOOL Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask);
    BOOL DeleteImageList();

    HIMAGELIST GetSafeHandle() const { return m_hImageList; }
    operator HIMAGELIST() const { return m_hImageList; } // NOLINT: as in the framework
    int GetImageCount() const;

private:
    HIMAGELIST m_hImageList = nullptr;
};
