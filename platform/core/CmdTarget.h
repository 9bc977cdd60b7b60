// CCmdTarget: an object that takes commands and messages through its message map.
#pragma once

#include "platform/core/Object.h"

class CCmdTarget;
class CCmdUI;

// Marks message-map handlers, as in the framework.
#define afx_msg

// Messages and notification codes that message maps dispatch on.
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_NOTIFY = 0x004E;
constexpr int CN_COMMAND = 0;
constexpr int CN_UPDATE_COMMAND_UI = -1;
// Reflected notifications come back to the control with this offset added to the message.
constexpr UINT WM_REFLECT_BASE = 0xBC00;

struct NMHDR {
    HWND hwndFrom;
    UINT_PTR idFrom;
    UINT code;
};
using LPNMHDR = NMHDR*;

// One message-map thunk: calls the handler on the target with the message's parameters and
// stores the handler's result. The template on the member pointer keeps it type-safe.
using AFX_PMSG_THUNK = void (*)(CCmdTarget* pTarget, WPARAM wParam, LPARAM lParam,
                                LRESULT* pResult);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage; // WM_COMMAND, WM_NOTIFY (+ WM_REFLECT_BASE when reflected), WM_CREATE ...
    UINT nCode;    // control or notification code
    UINT nID;      // first control identifier
    UINT nLastID;  // last control identifier
    AFX_PMSG_THUNK pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Filled by OnCmdMsg when it is only asked whether a handler exists.
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget;
    const AFX_MSGMAP_ENTRY* pEntry;
};

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    // Looks nCode/nID up in this object's maps. With pHandlerInfo it only reports the handler.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    // Finds the entry for a message in this object's chain of maps, or null.
    static const AFX_MSGMAP_ENTRY* FindMessageEntry(const AFX_MSGMAP* pMap, UINT nMessage,
                                                    UINT nCode, UINT nID);

    virtual const AFX_MSGMAP* GetMessageMap() const;
    static const AFX_MSGMAP* GetThisMessageMap();
};

namespace afx_thunk {
template <class T, auto Pmf> void Command(CCmdTarget* p, WPARAM, LPARAM, LRESULT*) {
    (static_cast<T*>(p)->*Pmf)();
}
template <class T, auto Pmf> void Notify(CCmdTarget* p, WPARAM, LPARAM lParam, LRESULT* pResult) {
    (static_cast<T*>(p)->*Pmf)(reinterpret_cast<NMHDR*>(lParam), pResult);
}
template <class T, auto Pmf> void UpdateUI(CCmdTarget* p, WPARAM, LPARAM lParam, LRESULT*) {
    (static_cast<T*>(p)->*Pmf)(reinterpret_cast<CCmdUI*>(lParam));
}
template <class T, auto Pmf> void Create(CCmdTarget* p, WPARAM, LPARAM lParam, LRESULT* pResult) {
    *pResult = (static_cast<T*>(p)->*Pmf)(reinterpret_cast<CREATESTRUCT*>(lParam));
}
} // namespace afx_thunk

#define DECLARE_MESSAGE_MAP()                                                                      \
protected:                                                                                         \
    static const AFX_MSGMAP* GetThisMessageMap();                                                  \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const {                                            \
        return GetThisMessageMap();                                                                \
    }                                                                                              \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                              \
        using ThisClass [[maybe_unused]] = theClass;                                               \
        using TheBaseClass = baseClass;                                                            \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                          \
    { 0, 0, 0, 0, nullptr }                                                                        \
    }                                                                                              \
    ;                                                                                              \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]};  \
    return &messageMap;                                                                            \
    }

#define ON_COMMAND(id, memberFxn)                                                                  \
    {WM_COMMAND, UINT(CN_COMMAND), UINT(id), UINT(id),                                             \
     &afx_thunk::Command<ThisClass, &ThisClass::memberFxn>},

// The handler decides whether command id is enabled (menus, tool bar buttons, accelerators).
#define ON_UPDATE_COMMAND_UI(id, memberFxn)                                                        \
    {WM_COMMAND, UINT(CN_UPDATE_COMMAND_UI), UINT(id), UINT(id),                                   \
     &afx_thunk::UpdateUI<ThisClass, &ThisClass::memberFxn>},

#define ON_CONTROL(wNotifyCode, id, memberFxn)                                                     \
    {WM_COMMAND, UINT(wNotifyCode), UINT(id), UINT(id),                                            \
     &afx_thunk::Command<ThisClass, &ThisClass::memberFxn>},

#define ON_NOTIFY_REFLECT(wNotifyCode, memberFxn)                                                  \
    {WM_REFLECT_BASE + WM_NOTIFY, UINT(wNotifyCode), 0, 0,                                         \
     &afx_thunk::Notify<ThisClass, &ThisClass::memberFxn>},

#define ON_WM_CREATE() {WM_CREATE, 0, 0, 0, &afx_thunk::Create<ThisClass, &ThisClass::OnCreate>},
#define ON_WM_DESTROY()                                                                            \
    {WM_DESTROY, 0, 0, 0, &afx_thunk::Command<ThisClass, &ThisClass::OnDestroy>},
