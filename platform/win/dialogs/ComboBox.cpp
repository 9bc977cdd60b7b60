// The "combobox" window class: a drop-down combo box (an editable field with a list) over an
// editable QComboBox. Setting its text selects the list entry that equals it, or else puts the
// text into the field.
#include "platform/win/dialogs/ComboBox.h"

#include "platform/win/CommCtrl.h"
#include "platform/win/dialogs/DialogQt.h"
#include "platform/win/dialogs/TextCtrlProcQt.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>

namespace {

class CDropDownCombo : public QComboBox, public CTextCtrlProc {
public:
    CDropDownCombo(DWORD style, int nListHeight, QWidget* pParent) : QComboBox(pParent) {
        setEditable(true);
        // The list holds what the program put there, in its order, and nothing typed.
        setInsertPolicy(NoInsert);
        setCompleter(nullptr);
        AfxLiftLengthLimit(lineEdit());
        if (!(style & CBS_AUTOHSCROLL))
            AfxLimitToWidth(lineEdit());
        const int nItem = std::max(1, fontMetrics().height() + 2);
        setMaxVisibleItems(std::max(1, nListHeight / nItem));
    }

    QString WindowText() const override { return currentText(); }
    void SetWindowText(const QString& text) override {
        const int index = int(FindExact(text));
        setCurrentIndex(index);
        if (index < 0)
            setEditText(text);
    }

protected:
    LRESULT ControlProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case CB_ADDSTRING:
            addItem(AfxToQString(reinterpret_cast<LPCTSTR>(lParam)));
            return count() - 1;
        case CB_GETCOUNT:
            return count();
        case CB_GETCURSEL:
            return currentIndex() >= 0 && itemText(currentIndex()) == currentText() ? currentIndex()
                                                                                    : CB_ERR;
        case CB_SETCURSEL:
            if (int(wParam) < 0 || int(wParam) >= count()) {
                setCurrentIndex(-1);
                return CB_ERR;
            }
            setCurrentIndex(int(wParam));
            return LRESULT(wParam);
        case CB_GETLBTEXT:
            if (int(wParam) < 0 || int(wParam) >= count())
                return CB_ERR;
            return AfxCopyWindowText(itemText(int(wParam)),
                                     WPARAM(itemText(int(wParam)).size() + 1), lParam);
        case CB_FINDSTRINGEXACT:
            return FindExact(AfxToQString(reinterpret_cast<LPCTSTR>(lParam)));
        case CB_SHOWDROPDOWN:
            if (wParam)
                showPopup();
            else
                hidePopup();
            return TRUE;
        default:
            return 0;
        }
    }

private:
    LRESULT FindExact(const QString& text) const {
        for (int i = 0; i < count(); ++i) {
            if (itemText(i) == text)
                return i;
        }
        return CB_ERR;
    }
};

QWidget* CreateComboBox(CWnd* /*pWnd*/, const CREATESTRUCT& cs, QWidget* pParent,
                        CWndClassProc** ppProc) {
    auto* pCombo = new CDropDownCombo(DWORD(cs.style), cs.cy, pParent);
    *ppProc = pCombo;
    return pCombo;
}

} // namespace

void AfxRegisterComboBoxClass() {
    AfxRegisterWndClass(u"combobox", &CreateComboBox);
}
