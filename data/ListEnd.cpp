// The document's end: a list whose last save failed is saved once more, and what still cannot
// be saved is never lost without the user's word.
#include "data/VestoryListDoc.h"

#include "platform/core/Afx.h"
#include "platform/core/DevicePath.h"
#include "platform/core/Time.h"
#include "platform/core/UserFolders.h"
#include "res/resource.h"

#include <cstdio>
#include <ctime>
#include <sys/stat.h>

BOOL CVestoryListDoc::SaveModified() {
    if (!m_bSaveFailed)
        return TRUE;
    CString reason;
    if (TrySaveList(&reason))
        return TRUE;
    CString text;
    text.Format(IDP_QUIT_UNSAVED, LPCTSTR(reason));
    if (AfxMessageBox(text, MB_YESNO | MB_ICONINFORMATION | MB_DEFBUTTON2) != IDYES)
        return FALSE;
    m_bLoseUnsaved = TRUE;
    return TRUE;
}

namespace {
// "unsaved-YYYY-MM-DD-HHMMSS.vsl" in the data folder, with a number added when a list was
// rescued there in the same second; empty when every such name is taken.
std::string RescueFile(const std::string& folder) {
    std::tm now{};
    CTime::GetCurrentTime().GetLocalTm(&now);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d-%H%M%S", &now);
    std::string path;
    for (int n = 1; n < 100; ++n) {
        // Appended piece by piece: GCC 12 takes a chain of + here for an overlapping copy.
        path = folder;
        path += "/unsaved-";
        path += stamp;
        if (n > 1)
            path += '-' + std::to_string(n);
        path += ".vsl";
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0)
            return path;
    }
    return std::string();
}
} // namespace

void CVestoryListDoc::OnCloseDocument() {
    CString reason;
    if (m_bSaveFailed && !m_bLoseUnsaved && !TrySaveList(&reason)) {
        const std::string folder = AfxGetUserDataFolder();
        const std::string rescue = folder.empty() ? std::string() : RescueFile(folder);
        CString rescueReason;
        if (!rescue.empty() && WriteList(AfxDevicePathFromHostPath(rescue), &rescueReason))
            std::fprintf(stderr, "%s: the list could not be saved (%s); its garments are in %s\n",
                         AfxGetAppName().ToUtf8().c_str(), reason.ToUtf8().c_str(), rescue.c_str());
        else
            std::fprintf(stderr,
                         "%s: the list could not be saved (%s), nor kept in %s; the changes "
                         "since the last save are lost\n",
                         AfxGetAppName().ToUtf8().c_str(), reason.ToUtf8().c_str(),
                         folder.empty() ? "the data folder" : folder.c_str());
    }
    CDocument::OnCloseDocument();
}
