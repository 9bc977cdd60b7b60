// Reading the list control back as a Win32 test would: through its own messages.
#pragma once

#include "platform/core/String.h"

class CWnd;

int ListItemCount(CWnd* pList);
CString ListItemText(CWnd* pList, int iItem, int iSubItem);
UINT ListItemState(CWnd* pList, int iItem, UINT mask);
// The 1-based state picture of a row (bits 12 to 15 of its state).
int ListStateImage(CWnd* pList, int iItem);
int ListColumnCount(CWnd* pList);
CString ListColumnTitle(CWnd* pList, int iCol);
int ListColumnWidth(CWnd* pList, int iCol);
