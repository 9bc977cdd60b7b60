#include "platform/core/Afx.h"

#include <cerrno>
#include <cstdio>

namespace {
// Unattended, nothing destructive may happen: a question is answered No.
int PresentOnStderr(const CString& text, const CString& caption, UINT nType) {
    std::fprintf(stderr, "%s: %s\n", caption.ToUtf8().c_str(), text.ToUtf8().c_str());
    return (nType & 0xF) == MB_YESNO ? IDNO : IDOK;
}

AfxMessageBoxPresenter& Presenter() {
    static AfxMessageBoxPresenter presenter = PresentOnStderr;
    return presenter;
}

// Until the application names itself, the name it was started by.
CString& AppName() {
    static CString name(CString::FromUtf8(program_invocation_short_name));
    return name;
}
} // namespace

int AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT) {
    AfxMessageBoxPresenter& presenter = Presenter();
    const CString text(lpszText);
    return presenter ? presenter(text, AppName(), nType) : PresentOnStderr(text, AppName(), nType);
}

AfxMessageBoxPresenter AfxSetMessageBoxPresenter(AfxMessageBoxPresenter presenter) {
    AfxMessageBoxPresenter previous = std::move(Presenter());
    Presenter() = std::move(presenter);
    return previous;
}

const CString& AfxGetAppName() {
    return AppName();
}
void AfxSetAppName(const CString& name) {
    AppName() = name;
}
