#include "platform/win/listctrl/ImageList.h"

#include "platform/core/Resource.h"
#include "platform/win/frame/XpmQt.h"
#include "platform/win/listctrl/ImageListQt.h"

#include <QBitmap>
#include <QColor>
#include <QImage>

#include <set>
#include <vector>

struct HIMAGELIST__ {
    UINT nBitmapID;
    QSize size;
    std::vector<QPixmap> pictures;
};

namespace {

// Handles of the lists alive now, so that a window still holding a released list's handle
// draws nothing instead of reading freed memory.
std::set<HIMAGELIST>& LiveLists() {
    static std::set<HIMAGELIST> lists;
    return lists;
}

HIMAGELIST Live(HIMAGELIST hImageList) {
    return LiveLists().count(hImageList) != 0 ? hImageList : nullptr;
}

} // namespace

CImageList::~CImageList() {
    DeleteImageList();
}

BOOL CImageList::Create(UINT nBitmapID, int cx, int /*nGrow*/, COLORREF crMask) {
    DeleteImageList();
    const AFX_RESOURCE* pRes = AfxFindResource(AfxGetResourceHandle(), nBitmapID, RT_BITMAP);
    if (!pRes || !pRes->pData || cx <= 0)
        return FALSE;
    // A display of device pixel ratio 2 gets the pictures drawn at twice the size, where the
    // bitmap has them.
    int nScale = AfxPictureScale();
    QImage bitmap = AfxBitmapImage(*pRes, nScale);
    if (bitmap.isNull())
        bitmap = AfxBitmapImage(*pRes, nScale = 1);
    const int cxPicture = cx * nScale;
    if (bitmap.isNull() || bitmap.width() < cxPicture)
        return FALSE;
    const QColor mask(GetRValue(crMask), GetGValue(crMask), GetBValue(crMask));
    auto* pList = new HIMAGELIST__{nBitmapID, QSize(cx, bitmap.height() / nScale), {}};
    for (int x = 0; x + cxPicture <= bitmap.width(); x += cxPicture) {
        QPixmap picture = QPixmap::fromImage(bitmap.copy(x, 0, cxPicture, bitmap.height()));
        picture.setMask(picture.createMaskFromColor(mask, Qt::MaskInColor));
        picture.setDevicePixelRatio(nScale);
        pList->pictures.push_back(std::move(picture));
    }
    m_hImageList = pList;
    LiveLists().insert(pList);
    return TRUE;
}

BOOL CImageList::DeleteImageList() {
    if (!m_hImageList)
        return FALSE;
    LiveLists().erase(m_hImageList);
    delete m_hImageList;
    m_hImageList = nullptr;
    return TRUE;
}

int CImageList::GetImageCount() const {
    return m_hImageList ? int(m_hImageList->pictures.size()) : 0;
}

const QPixmap* AfxGetImageListPicture(HIMAGELIST hImageList, int nImage) {
    HIMAGELIST pList = Live(hImageList);
    if (!pList || nImage < 0 || nImage >= int(pList->pictures.size()))
        return nullptr;
    return &pList->pictures[std::size_t(nImage)];
}

QSize AfxGetImageListSize(HIMAGELIST hImageList) {
    HIMAGELIST pList = Live(hImageList);
    return pList ? pList->size : QSize();
}

UINT AfxGetImageListBitmapID(HIMAGELIST hImageList) {
    HIMAGELIST pList = Live(hImageList);
    return pList ? pList->nBitmapID : 0;
}
