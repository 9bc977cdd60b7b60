#include "platform/core/CmdTarget.h"
#include "platform/core/CmdUI.h"

#include <gtest/gtest.h>

namespace {
class CBase : public CCmdTarget {
public:
    afx_msg void OnNew() { m_log += "base-new "; }
    afx_msg void OnAbout() { m_log += "base-about "; }
    std::string m_log;
    DECLARE_MESSAGE_MAP()
};

class CDerived : public CBase {
public:
    afx_msg void OnNew() { m_log += "derived-new "; }
    afx_msg void OnSetFocus() { m_log += "focus "; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBase, CCmdTarget)
ON_COMMAND(32774, OnNew)
ON_COMMAND(57664, OnAbout)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CDerived, CBase)
ON_COMMAND(32774, OnNew)
ON_CONTROL(0x0100, 1005, OnSetFocus)
END_MESSAGE_MAP()
} // namespace

TEST(CmdTargetTest, CommandsReachTheMostDerivedHandler) {
    CDerived d;
    EXPECT_TRUE(d.OnCmdMsg(32774, CN_COMMAND, nullptr, nullptr));
    EXPECT_TRUE(d.OnCmdMsg(57664, CN_COMMAND, nullptr, nullptr)); // from the base map
    EXPECT_TRUE(d.OnCmdMsg(1005, 0x0100, nullptr, nullptr));      // control notification
    EXPECT_FALSE(d.OnCmdMsg(32775, CN_COMMAND, nullptr, nullptr));
    EXPECT_FALSE(d.OnCmdMsg(1005, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(d.m_log, "derived-new base-about focus ");

    CBase b;
    EXPECT_TRUE(b.OnCmdMsg(32774, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(b.m_log, "base-new ");
}

TEST(CmdTargetTest, HandlerProbeCallsNothing) {
    CDerived d;
    AFX_CMDHANDLERINFO info{};
    EXPECT_TRUE(d.OnCmdMsg(57664, CN_COMMAND, nullptr, &info));
    EXPECT_EQ(info.pTarget, &d);
    ASSERT_NE(info.pEntry, nullptr);
    EXPECT_EQ(info.pEntry->nID, 57664u);
    EXPECT_EQ(d.m_log, "");
    EXPECT_FALSE(d.OnCmdMsg(1, CN_UPDATE_COMMAND_UI, nullptr, &info));
}

namespace {
class CEditor : public CCmdTarget {
public:
    afx_msg void OnUndo() {}
    afx_msg void OnUpdateUndo(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bCanUndo); }
    afx_msg void OnCopy() {}
    bool m_bCanUndo = false;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CEditor, CCmdTarget)
ON_COMMAND(57643, OnUndo)
ON_UPDATE_COMMAND_UI(57643, OnUpdateUndo)
ON_COMMAND(57634, OnCopy)
END_MESSAGE_MAP()
} // namespace

// The update handler decides; without one, a handler enables its command and none disables it.
TEST(CmdTargetTest, CommandEnablingAsksTheUpdateHandlerFirst) {
    const struct {
        UINT nID;
        bool bCanUndo;
        BOOL bDisableIfNoHandler;
        BOOL expected;
    } cases[] = {
        {57643, false, TRUE, FALSE}, {57643, true, TRUE, TRUE},   {57634, false, TRUE, TRUE},
        {57637, false, TRUE, FALSE}, {57637, false, FALSE, TRUE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nID);
        CEditor editor;
        editor.m_bCanUndo = c.bCanUndo;
        CCmdUI state(c.nID);
        EXPECT_EQ(state.DoUpdate(&editor, c.bDisableIfNoHandler), c.expected);
    }
}
