// CListCtrlModel, texts: the pool that holds every row's texts in one block per row.
//
// A block is a count of sub-items and then, for each sub-item in order, its length and its
// characters. A count or length below 0x8000 takes one unit; a larger one two, the first with
// its top bit set. Sub-items past the count are empty.
#include "platform/win/listctrl/ListCtrlModel.h"

#include <algorithm>
#include <cstring>

namespace {

std::size_t NumberUnits(std::size_t n) {
    return n < 0x8000 ? 1 : 2;
}

const char16_t* ReadNumber(const char16_t* p, std::size_t* pN) {
    if (!(p[0] & 0x8000)) {
        *pN = p[0];
        return p + 1;
    }
    *pN = (std::size_t(p[0] & 0x7FFF) << 16) | p[1];
    return p + 2;
}

char16_t* WriteNumber(char16_t* p, std::size_t n) {
    if (n < 0x8000) {
        *p = char16_t(n);
        return p + 1;
    }
    p[0] = char16_t(0x8000 | (n >> 16));
    p[1] = char16_t(n & 0xFFFF);
    return p + 2;
}

// The characters are copied one by one: a cell's text is a few characters, and the library's
// copy for them made RefreshList twice as slow (measured, bench/app).
char16_t* WriteEntry(char16_t* p, std::u16string_view text) {
    p = WriteNumber(p, text.size());
    for (char16_t c : text)
        *p++ = c;
    return p;
}

// The parts of a block around one sub-item's entry.
struct BlockParts {
    std::size_t nCount = 0;
    const char16_t* pEntries = nullptr; // the first entry, after the count
    const char16_t* pEntry = nullptr;   // the sub-item's entry, or the block's end
    const char16_t* pAfter = nullptr;   // after the sub-item's entry, or the block's end
    const char16_t* pEnd = nullptr;     // after the block
};

BlockParts Split(const char16_t* pBlock, std::size_t iSubItem) {
    BlockParts parts;
    if (!pBlock)
        return parts;
    const char16_t* p = ReadNumber(pBlock, &parts.nCount);
    parts.pEntries = p;
    for (std::size_t i = 0; i < parts.nCount; ++i) {
        if (i == iSubItem)
            parts.pEntry = p;
        std::size_t n = 0;
        p = ReadNumber(p, &n) + n;
        if (i == iSubItem)
            parts.pAfter = p;
    }
    parts.pEnd = p;
    if (!parts.pEntry)
        parts.pEntry = parts.pAfter = p;
    return parts;
}

std::size_t BlockUnits(const char16_t* pBlock) {
    return pBlock ? std::size_t(Split(pBlock, SIZE_MAX).pEnd - pBlock) : 0;
}

} // namespace

std::u16string_view CListCtrlModel::TextPool::Get(const char16_t* pBlock, int iSubItem) {
    if (!pBlock || iSubItem < 0)
        return {};
    std::size_t nCount = 0;
    const char16_t* p = ReadNumber(pBlock, &nCount);
    if (std::size_t(iSubItem) >= nCount)
        return {};
    for (int i = 0;; ++i) {
        std::size_t n = 0;
        p = ReadNumber(p, &n);
        if (i == iSubItem)
            return {p, n};
        p += n;
    }
}

void CListCtrlModel::TextPool::Set(char16_t*& pBlock, int iSubItem, std::u16string_view text) {
    const auto sub = std::size_t(iSubItem);
    if (!pBlock) {
        if (text.empty())
            return; // empty already
        const std::size_t nUnits =
            NumberUnits(sub + 1) + sub + NumberUnits(text.size()) + text.size();
        pBlock = Allocate(nUnits);
        WriteEntry(std::fill_n(WriteNumber(pBlock, sub + 1), sub, u'\0'), text);
        m_nLive += nUnits;
        return;
    }
    // A row filled cell by cell: its block is the last one, which ends where the room begins,
    // and the text goes after the texts it has.
    if (pBlock == m_pTail) {
        std::size_t nCount = 0;
        const char16_t* pEntries = ReadNumber(pBlock, &nCount);
        if (sub >= nCount && NumberUnits(sub + 1) == std::size_t(pEntries - pBlock)) {
            if (text.empty())
                return;
            const std::size_t nAdd = sub - nCount + NumberUnits(text.size()) + text.size();
            if (nAdd <= std::size_t(m_pEnd - m_pFree)) {
                m_pFree = WriteEntry(std::fill_n(m_pFree, sub - nCount, u'\0'), text);
                WriteNumber(pBlock, sub + 1);
                m_nLive += nAdd;
                return;
            }
        }
    }
    Rewrite(pBlock, sub, text);
}

void CListCtrlModel::TextPool::Rewrite(char16_t*& pBlock, std::size_t sub,
                                       std::u16string_view text) {
    const BlockParts old = Split(pBlock, sub);
    if (sub >= old.nCount && text.empty())
        return; // empty already
    const std::size_t nCount = std::max(old.nCount, sub + 1);
    const std::size_t nGap = sub > old.nCount ? sub - old.nCount : 0; // empty entries between
    const std::size_t nOld = pBlock ? std::size_t(old.pEnd - pBlock) : 0;
    const std::size_t nNew = NumberUnits(nCount) + std::size_t(old.pEntry - old.pEntries) + nGap +
                             NumberUnits(text.size()) + text.size() +
                             std::size_t(old.pEnd - old.pAfter);

    // The last block written grows or shrinks where it lies: the entries after the sub-item's
    // move, and its own is written.
    if (pBlock && pBlock == m_pTail && NumberUnits(nCount) == NumberUnits(old.nCount) &&
        nNew <= std::size_t(m_pEnd - pBlock)) {
        auto* pEntry = const_cast<char16_t*>(old.pEntry);
        char16_t* pAfterNew = pEntry + nGap + NumberUnits(text.size()) + text.size();
        std::memmove(pAfterNew, old.pAfter, std::size_t(old.pEnd - old.pAfter) * sizeof(char16_t));
        std::fill_n(pEntry, nGap, u'\0');
        WriteEntry(pEntry + nGap, text);
        WriteNumber(pBlock, nCount);
        m_pFree = pBlock + nNew;
        m_nLive = m_nLive - nOld + nNew;
        return;
    }

    char16_t* pNew = Allocate(nNew);
    char16_t* p = WriteNumber(pNew, nCount);
    p = std::copy(old.pEntries, old.pEntry, p);
    p = std::fill_n(p, nGap, u'\0');
    p = WriteEntry(p, text);
    std::copy(old.pAfter, old.pEnd, p);
    m_nLive += nNew;
    Drop(pBlock);
    pBlock = pNew;
}

void CListCtrlModel::TextPool::Drop(char16_t*& pBlock) {
    if (!pBlock)
        return;
    const std::size_t n = BlockUnits(pBlock);
    m_nLive -= n;
    if (pBlock == m_pTail) { // its room is the page's again
        m_pFree = m_pTail;
        m_pTail = nullptr;
    } else {
        m_nWaste += n;
    }
    pBlock = nullptr;
}

void CListCtrlModel::TextPool::Clear() {
    m_pages.clear();
    m_pTail = m_pFree = m_pEnd = nullptr;
    m_nLive = m_nWaste = 0;
}

char16_t* CListCtrlModel::TextPool::Allocate(std::size_t nUnits) {
    if (nUnits > kPageUnits / 4) {
        // A page of its own, before the current page (always the last), whose room stays in use.
        const auto at = m_pages.end() - (m_pFree ? 1 : 0);
        return m_pages.insert(at, std::make_unique_for_overwrite<char16_t[]>(nUnits))->get();
    }
    if (!m_pFree || nUnits > std::size_t(m_pEnd - m_pFree)) {
        m_nWaste += std::size_t(m_pEnd - m_pFree);
        m_pages.push_back(std::make_unique_for_overwrite<char16_t[]>(kPageUnits));
        m_pFree = m_pages.back().get();
        m_pEnd = m_pFree + kPageUnits;
    }
    m_pTail = m_pFree;
    m_pFree += nUnits;
    return m_pTail;
}

void CListCtrlModel::TextPool::Compact(std::vector<Row>& rows) {
    // Every block is copied before any row moves to its copy: memory running out half way
    // leaves the rows on the pages they had.
    TextPool fresh;
    std::vector<char16_t*> moved;
    moved.reserve(rows.size());
    for (const Row& row : rows) {
        char16_t* pNew = nullptr;
        if (row.pTexts) {
            const std::size_t n = BlockUnits(row.pTexts);
            pNew = fresh.Allocate(n);
            std::copy_n(row.pTexts, n, pNew);
            fresh.m_nLive += n;
        }
        moved.push_back(pNew);
    }
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i].pTexts = moved[i];
    m_pages.swap(fresh.m_pages);
    m_pTail = fresh.m_pTail;
    m_pFree = fresh.m_pFree;
    m_pEnd = fresh.m_pEnd;
    m_nLive = fresh.m_nLive;
    m_nWaste = fresh.m_nWaste;
}
