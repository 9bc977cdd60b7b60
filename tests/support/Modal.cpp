#include "tests/support/Modal.h"

#include "platform/win/frame/ModalRunQt.h"
#include "platform/win/frame/WndQt.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

namespace {

// A menu item's or button's text as read out: without the key after a tab or the '&'.
QString Plain(QString text) {
    return text.left(text.indexOf(QLatin1Char('\t'))).remove(QLatin1Char('&'));
}

QWidget* Control(QWidget* pDialog, int nID) {
    for (QWidget* pChild : pDialog->findChildren<QWidget*>()) {
        CWnd* pWnd = AfxWndFromWidget(pChild);
        if (pWnd && pWnd->GetDlgCtrlID() == nID)
            return pChild;
    }
    return nullptr;
}

} // namespace

CString ModalHandle::Text() const {
    if (auto* pBox = qobject_cast<QMessageBox*>(m_pWidget))
        return AfxFromQString(pBox->text());
    if (auto* pMenu = qobject_cast<QMenu*>(m_pWidget)) {
        QStringList items;
        for (QAction* pAction : pMenu->actions())
            items << (pAction->isSeparator() ? QString() : Plain(pAction->text()));
        return AfxFromQString(items.join(QLatin1Char('\n')));
    }
    return AfxFromQString(m_pWidget->windowTitle());
}

void ModalHandle::TypeText(int nID, const CString& text) {
    QWidget* pControl = Control(m_pWidget, nID);
    if (auto* pCombo = qobject_cast<QComboBox*>(pControl))
        pControl = pCombo->lineEdit();
    if (auto* pEdit = qobject_cast<QLineEdit*>(pControl)) {
        pEdit->setFocus();
        pEdit->selectAll();
        QTest::keyClick(pEdit, Qt::Key_Delete);
        QTest::keyClicks(pEdit, AfxToQString(text));
    } else if (auto* pPlain = qobject_cast<QPlainTextEdit*>(pControl)) {
        pPlain->setPlainText(AfxToQString(text));
    } else if (auto* pText = qobject_cast<QTextEdit*>(pControl)) {
        pText->setPlainText(AfxToQString(text));
    }
}

CString ModalHandle::ControlText(int nID) const {
    QWidget* pControl = Control(m_pWidget, nID);
    if (auto* pCombo = qobject_cast<QComboBox*>(pControl))
        return AfxFromQString(pCombo->currentText());
    if (auto* pEdit = qobject_cast<QLineEdit*>(pControl))
        return AfxFromQString(pEdit->text());
    if (auto* pPlain = qobject_cast<QPlainTextEdit*>(pControl))
        return AfxFromQString(pPlain->toPlainText());
    if (auto* pText = qobject_cast<QTextEdit*>(pControl))
        return AfxFromQString(pText->toPlainText());
    CString text;
    if (CWnd* pWnd = AfxWndFromWidget(pControl))
        pWnd->GetWindowText(text);
    return text;
}

void ModalHandle::PickMenuItem(const CString& text) {
    auto* pMenu = qobject_cast<QMenu*>(m_pWidget);
    if (!pMenu)
        return;
    for (QAction* pAction : pMenu->actions()) {
        if (!pAction->isSeparator() && Plain(pAction->text()) == AfxToQString(text)) {
            pMenu->setActiveAction(pAction);
            QTest::keyClick(pMenu, Qt::Key_Return);
            return;
        }
    }
}

void ModalHandle::PressButton(const CString& text) {
    for (QAbstractButton* pButton : m_pWidget->findChildren<QAbstractButton*>()) {
        if (Plain(pButton->text()) == AfxToQString(text)) {
            pButton->click();
            return;
        }
    }
}

void ModalHandle::PressButton(int nResult) {
    if (auto* pBox = qobject_cast<QMessageBox*>(m_pWidget)) {
        const QMessageBox::StandardButton which = nResult == IDYES  ? QMessageBox::Yes
                                                  : nResult == IDNO ? QMessageBox::No
                                                  : nResult == IDOK ? QMessageBox::Ok
                                                                    : QMessageBox::Cancel;
        if (QAbstractButton* pButton = pBox->button(which))
            pButton->click();
        return;
    }
    if (auto* pButton = qobject_cast<QAbstractButton*>(Control(m_pWidget, nResult))) {
        pButton->click();
        return;
    }
    // A dialog without a button of that number (an OK in the caption): the keyboard's way.
    QTest::keyClick(m_pWidget, nResult == IDOK ? Qt::Key_Return : Qt::Key_Escape);
}

void ModalHandle::ChooseFile(const CString& path) {
    if (auto* pDialog = qobject_cast<QFileDialog*>(m_pWidget)) {
        // Typed into the name field, as a user would: selectFile leaves the field alone once it
        // has the focus.
        if (auto* pName = pDialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            pName->setText(AfxToQString(path));
        else
            pDialog->selectFile(AfxToQString(path));
        QMetaObject::invokeMethod(pDialog, "accept");
    }
}

void ModalHandle::PressEscape() {
    QTest::keyClick(m_pWidget, Qt::Key_Escape);
}

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// How long a modal window may take to show, may stay open once its armed action has run, and
// may take to close on Escape. Far more than any of them takes; a fault takes for ever.
constexpr auto kShowLimit = 2s;
constexpr auto kAnswerLimit = 5s;
constexpr auto kEscapeLimit = 2s;
constexpr std::chrono::milliseconds kPoll(5);

struct ArmedAction {
    std::function<void(ModalHandle&)> action;
    SourceLine where;
    std::shared_ptr<bool> pRan;
    // Armed by another action, for a window that what that action does opens.
    bool bNested = false;
};

// A modal run under way: waiting for its window to show, answered by an armed action, or
// being closed because nobody answered it in time.
struct ModalRun {
    enum Stage { Showing, Answered, Closing };
    QPointer<QWidget> pWindow;
    std::string description;
    bool bEnded = false;
    Stage stage = Showing;
    Clock::duration limit = kShowLimit;
    Clock::time_point deadline = Clock::now() + kShowLimit;
    SourceLine armedAt;
};

std::deque<ArmedAction> g_armed;
int g_nAnswering = 0;
std::shared_ptr<bool> g_pLastRan = std::make_shared<bool>(false);
// Runs under way, the innermost last.
std::vector<std::shared_ptr<ModalRun>> g_runs;
// For the report of a window that nobody expected: the test's latest input and latest answer.
std::string g_lastInput;
std::optional<SourceLine> g_inputAt;
std::string g_lastAnswer;

std::string FileAndLine(const SourceLine& where) {
    return std::filesystem::path(where.file_name()).filename().string() + ":" +
           std::to_string(where.line());
}

std::string Describe(QWidget* pWindow) {
    QString text;
    if (auto* pMenu = qobject_cast<QMenu*>(pWindow)) {
        QString first;
        for (QAction* pAction : pMenu->actions()) {
            if (!pAction->isSeparator()) {
                first = Plain(pAction->text());
                break;
            }
        }
        text = QStringLiteral("pop-up menu (first item \"%1\")").arg(first);
    } else if (auto* pBox = qobject_cast<QMessageBox*>(pWindow)) {
        text = QStringLiteral("message box \"%1\" saying \"%2\"")
                   .arg(pBox->windowTitle(), pBox->text());
    } else if (qobject_cast<QFileDialog*>(pWindow)) {
        text = QStringLiteral("file dialog \"%1\"").arg(pWindow->windowTitle());
    } else {
        text = QStringLiteral("dialog \"%1\"").arg(pWindow->windowTitle());
    }
    return text.toStdString();
}

// A user acts on a window once it is shown and has the keyboard (a pop-up menu has it while it
// is shown).
bool Ready(QWidget* pWindow) {
    return pWindow->isVisible() && (qobject_cast<QMenu*>(pWindow) || pWindow->isActiveWindow());
}

void Fail(const char* file, int line, const std::string& message) {
    ADD_FAILURE_AT(file, line) << message;
}

// At the test's own line, for a failure that no line within the test stands for.
void FailAtTest(const std::string& message) {
    if (const auto* pTest = testing::UnitTest::GetInstance()->current_test_info())
        Fail(pTest->file(), pTest->line(), message);
    else
        ADD_FAILURE() << message;
}

// Reported at the input that opened the window when the test gave one, else at the test.
void ReportUnexpected(const ModalRun& run) {
    std::string message = "Unexpected " + run.description +
                          ": it opened with no armed action waiting for it; closing it as Escape "
                          "would.";
    if (g_inputAt)
        message += " The test's latest input was " + g_lastInput + ".";
    if (!g_lastAnswer.empty())
        message += " Before it, " + g_lastAnswer + ".";
    if (g_inputAt)
        Fail(g_inputAt->file_name(), int(g_inputAt->line()), message);
    else
        FailAtTest(message);
}

void Escape(QTimer* pTimer, ModalRun& run) {
    run.stage = ModalRun::Closing;
    run.limit = kEscapeLimit;
    pTimer->stop();
    ModalHandle(run.pWindow).PressEscape();
    run.deadline = Clock::now() + run.limit;
    pTimer->start();
}

void Answer(QTimer* pTimer, ModalRun& run) {
    ArmedAction armed = std::move(g_armed.front());
    g_armed.pop_front();
    *armed.pRan = true;
    run.stage = ModalRun::Answered;
    run.limit = kAnswerLimit;
    run.armedAt = armed.where;
    g_lastAnswer =
        "the action armed at " + FileAndLine(armed.where) + " answered a " + run.description;
    // The action may open further windows, each with a watch of its own.
    pTimer->stop();
    ModalHandle handle(run.pWindow);
    ++g_nAnswering;
    armed.action(handle);
    --g_nAnswering;
    run.deadline = Clock::now() + run.limit;
    pTimer->start();
}

void Step(QTimer* pTimer, ModalRun& run) {
    if (run.bEnded || !run.pWindow) {
        pTimer->stop();
        pTimer->deleteLater();
        return;
    }
    const auto now = Clock::now();
    // Only the innermost run takes input; an outer one waits, its time running afresh.
    if (g_runs.empty() || g_runs.back().get() != &run) {
        run.deadline = now + run.limit;
        return;
    }
    switch (run.stage) {
    case ModalRun::Showing:
        if (!Ready(run.pWindow) && now < run.deadline)
            return;
        if (g_armed.empty()) {
            ReportUnexpected(run);
            Escape(pTimer, run);
        } else {
            Answer(pTimer, run);
        }
        return;
    case ModalRun::Answered:
        if (now < run.deadline)
            return;
        Fail(run.armedAt.file_name(), int(run.armedAt.line()),
             "The " + run.description + " was still open " +
                 std::to_string(
                     std::chrono::duration_cast<std::chrono::seconds>(run.limit).count()) +
                 " s after the action armed here had answered it; closing it as Escape would.");
        Escape(pTimer, run);
        return;
    case ModalRun::Closing:
        if (now < run.deadline)
            return;
        // Nothing else ends a nested run: end the program, failed, rather than hang.
        FailAtTest("The " + run.description + " did not close on Escape; ending the test program.");
        std::fflush(stdout);
        std::fflush(stderr);
        std::_Exit(1);
    }
}

void Watch(QWidget* pWindow, bool bStarting) {
    if (!bStarting) {
        for (auto it = g_runs.rbegin(); it != g_runs.rend(); ++it) {
            if ((*it)->pWindow == pWindow) {
                (*it)->bEnded = true;
                g_runs.erase(std::next(it).base());
                break;
            }
        }
        return;
    }
    auto pRun = std::make_shared<ModalRun>();
    pRun->pWindow = pWindow;
    pRun->description = Describe(pWindow);
    g_runs.push_back(pRun);
    auto* pTimer = new QTimer(qApp);
    pTimer->setInterval(kPoll);
    QObject::connect(pTimer, &QTimer::timeout, [pTimer, pRun] { Step(pTimer, *pRun); });
    pTimer->start();
}

// Each test starts afresh; an action still armed at its end never found its window.
class ModalGuard : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override {
        g_inputAt.reset();
        g_lastInput.clear();
        g_lastAnswer.clear();
    }
    void OnTestEnd(const testing::TestInfo&) override {
        for (const ArmedAction& armed : g_armed) {
            Fail(armed.where.file_name(), int(armed.where.line()),
                 "The action armed here was still waiting at the end of the test: the modal "
                 "window it was armed for never opened.");
        }
        g_armed.clear();
    }
};

} // namespace

void ArmModal(std::function<void(ModalHandle&)> action, SourceLine where) {
    // Once the test arms anew, whatever an earlier action set off has run: an action that one
    // armed and that still waits will not see its window, and must not answer another one.
    if (g_nAnswering == 0) {
        std::erase_if(g_armed, [](const ArmedAction& armed) {
            if (armed.bNested) {
                Fail(armed.where.file_name(), int(armed.where.line()),
                     "The action armed here was still waiting when the test armed the next one: "
                     "the modal window it was armed for never opened.");
            }
            return armed.bNested;
        });
    }
    g_pLastRan = std::make_shared<bool>(false);
    g_armed.push_back(ArmedAction{std::move(action), where, g_pLastRan, g_nAnswering > 0});
}

bool ModalRan() {
    return *g_pLastRan;
}

void NoteInput(const std::string& what, SourceLine where) {
    g_lastInput = what;
    g_inputAt = where;
}

void InstallModalGuard() {
    AfxSetModalRunWatcher(&Watch);
    // Appended after the result printer, so that it hears of a test's end first and its
    // failures are printed with the test.
    testing::UnitTest::GetInstance()->listeners().Append(new ModalGuard);
}
