// ArmModal: what the "user" does with the next modal window (dialog, pop-up menu, message box),
// armed before the action that opens it.
#pragma once

#include "platform/core/String.h"

#include <functional>

class QWidget;

class ModalHandle {
public:
    explicit ModalHandle(QWidget* pWidget) : m_pWidget(pWidget) {}

    // The text the window shows: a message box's message, a menu's items (one a line), a
    // dialog's caption.
    CString Text() const;
    // Replaces the text of control nID of a dialog by typing.
    void TypeText(int nID, const CString& text);
    // The text of control nID of a dialog.
    CString ControlText(int nID) const;
    // Chooses a menu item by its text (without '&').
    void PickMenuItem(const CString& text);
    // Presses a button by its text, or by the result it gives (IDOK, IDCANCEL, IDYES, IDNO).
    void PressButton(const CString& text);
    void PressButton(int nResult);
    void PressEscape();
    // Picks a file in a file dialog and confirms it.
    void ChooseFile(const CString& path);

    QWidget* Widget() const { return m_pWidget; }

private:
    QWidget* m_pWidget;
};

// Runs action on the next modal window or pop-up that appears (polled from the event loop).
// Gives up after a few seconds, so that a window that never appears fails the test instead of
// hanging it; see ModalRan().
void ArmModal(std::function<void(ModalHandle&)> action);
// Whether the last armed action ran.
bool ModalRan();
