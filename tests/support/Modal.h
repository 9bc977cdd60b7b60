// ArmModal: what the "user" does with the next modal window (dialog, pop-up menu, message box),
// armed before the action that opens it. A modal window that no armed action waits for fails
// the test and is closed, so that a fault which opens one cannot hang the test.
#pragma once

#include "platform/core/String.h"

#include "tests/support/SourceLine.h"
#include <functional>
#include <string>

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

// Runs action on the next modal window that opens, once it is shown; actions armed one after
// the other answer the windows in that order. Fails the test, naming where it was armed, when
// the window is still open a few seconds after the action ran (and closes it as Escape would),
// or when the test ends with the action still waiting.
void ArmModal(std::function<void(ModalHandle&)> action, SourceLine where = SourceLine::current());
// Whether the last armed action ran.
bool ModalRan();

// Notes the test's latest input (a tap, a key), so that a window nobody armed an action for
// is reported where the test gave the input that opened it.
void NoteInput(const std::string& what, SourceLine where);

// Watches every modal run of the test program (the main of GUI test programs installs it): a
// window with no armed action waiting fails the test and is closed as Escape would close it.
void InstallModalGuard();
