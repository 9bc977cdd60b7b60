// Every language the program speaks: each resource with texts is there in it, shaped as the
// English one, and every text fits the control that shows it, measured with the dialog's font;
// Qt's own buttons speak the same language.
#include "platform/core/Afx.h"
#include "platform/core/Resource.h"
#include "platform/core/StdIds.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/frame/FrameWnd.h"
#include "platform/win/frame/WndQt.h"
#include "res/Resources.h"
#include "res/resource.h"
#include "tests/app/AppFixture.h"
#include "tests/support/CaseName.h"
#include "tests/support/Modal.h"
#include "tests/support/ScopedLanguage.h"
#include "ui/VestoryListView.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTableView>

#include <span>
#include <string>
#include <vector>

namespace {

constexpr LANGID kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT);

struct Language {
    const char* name;
    LANGID wLanguage;
    const char16_t* yes; // Qt's Yes button
    const char16_t* deleteQuestion;
};

const AFX_RESOURCE* Find(UINT nType, UINT nID, LANGID wLanguage) {
    for (const AFX_RESOURCE& r : VestoryListResources()->resources)
        if (r.nType == nType && r.nID == nID && r.wLanguage == wLanguage)
            return &r;
    return nullptr;
}

std::span<const AFX_STRING_ENTRY> Strings(LANGID wLanguage) {
    const AFX_RESOURCE* r = Find(RT_STRING, 0, wLanguage);
    return r ? std::span(static_cast<const AFX_STRING_ENTRY*>(r->pData), r->nSize)
             : std::span<const AFX_STRING_ENTRY>();
}

// The conversions of a format ("%s", "%d"), which the translation must take in the same order.
std::u16string Conversions(std::u16string_view text) {
    std::u16string out;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'%')
            continue;
        std::size_t j = i + 1;
        while (j < text.size() && (text[j] == u'-' || (text[j] >= u'0' && text[j] <= u'9')))
            ++j;
        if (j < text.size())
            out += text[j];
        i = j;
    }
    return out;
}

void ExpectSameMenu(const AFX_MENU_ITEM& english, const AFX_MENU_ITEM& other) {
    ASSERT_EQ(english.items.size(), other.items.size());
    for (std::size_t i = 0; i < english.items.size(); ++i) {
        const AFX_MENU_ITEM& e = english.items[i];
        const AFX_MENU_ITEM& o = other.items[i];
        SCOPED_TRACE(CString(e.lpszText).ToUtf8());
        EXPECT_EQ(e.nFlags, o.nFlags);
        EXPECT_EQ(e.nID, o.nID);
        EXPECT_EQ(e.lpszText == nullptr, o.lpszText == nullptr);
        if (e.lpszText && o.lpszText) {
            const std::u16string_view et = e.lpszText, ot = o.lpszText;
            EXPECT_FALSE(ot.empty());
            // A key in English is a key in every language.
            EXPECT_EQ(et.find(u'\t') == et.npos, ot.find(u'\t') == ot.npos);
        }
        ExpectSameMenu(e, o);
    }
}

void ExpectSameDialog(const AFX_DLGTEMPLATE& english, const AFX_DLGTEMPLATE& other) {
    EXPECT_EQ(english.style, other.style);
    EXPECT_EQ(english.dwExtendedStyle, other.dwExtendedStyle);
    EXPECT_EQ(english.wPointSize, other.wPointSize);
    ASSERT_EQ(english.items.size(), other.items.size());
    for (std::size_t i = 0; i < english.items.size(); ++i) {
        const AFX_DLGITEM& e = english.items[i];
        const AFX_DLGITEM& o = other.items[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(e.id, o.id);
        EXPECT_EQ(std::u16string_view(e.lpszClass), o.lpszClass);
        EXPECT_EQ(e.style, o.style);
        EXPECT_EQ(e.nIconID, o.nIconID);
        ASSERT_EQ(e.lpszText == nullptr, o.lpszText == nullptr);
        if (e.lpszText && *e.lpszText) {
            EXPECT_NE(*o.lpszText, 0);
        }
    }
}

// What does not fit its control, measured with the control's font (the dialog's).
std::vector<std::string> CutTexts(QWidget* pWindow) {
    std::vector<std::string> cut;
    const auto check = [&](const QString& text, int cxNeeded, int cyNeeded, const QRect& room) {
        if (cxNeeded > room.width() || cyNeeded > room.height())
            cut.push_back(text.toStdString() + ": " + std::to_string(cxNeeded) + "x" +
                          std::to_string(cyNeeded) + " in " + std::to_string(room.width()) + "x" +
                          std::to_string(room.height()));
    };
    for (auto* pLabel : pWindow->findChildren<QLabel*>()) {
        if (pLabel->text().isEmpty() || !pLabel->isVisible())
            continue;
        const QRect needed = pLabel->fontMetrics().boundingRect(
            pLabel->contentsRect(), int(pLabel->alignment()) | Qt::TextWordWrap, pLabel->text());
        check(pLabel->text(), needed.width(), needed.height(), pLabel->contentsRect());
    }
    for (auto* pButton : pWindow->findChildren<QPushButton*>()) {
        const int margin = pButton->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, pButton);
        const QString text = QString(pButton->text()).remove(QLatin1Char('&'));
        check(text, pButton->fontMetrics().horizontalAdvance(text) + 2 * margin,
              pButton->fontMetrics().height(), pButton->rect());
    }
    for (auto* pBox : pWindow->findChildren<QGroupBox*>()) {
        // The title sits inside the frame, a few pixels in from each side.
        check(pBox->title(), pBox->fontMetrics().horizontalAdvance(pBox->title()) + 16,
              pBox->fontMetrics().height(), pBox->rect());
    }
    return cut;
}

class Languages : public AppFixture, public testing::WithParamInterface<Language> {};

TEST_P(Languages, EveryResourceIsThereAndEveryTextFits) {
    const Language& lang = GetParam();
    if (lang.wLanguage != kEnglish) {
        const auto english = Strings(kEnglish);
        const auto strings = Strings(lang.wLanguage);
        ASSERT_EQ(strings.size(), english.size()) << "the same strings as in English";
        for (std::size_t i = 0; i < english.size(); ++i) {
            SCOPED_TRACE(english[i].nID);
            EXPECT_EQ(strings[i].nID, english[i].nID);
            EXPECT_NE(*strings[i].lpszText, 0);
            EXPECT_EQ(Conversions(strings[i].lpszText), Conversions(english[i].lpszText));
        }
        for (UINT nID : {UINT(IDR_MAINFRAME), UINT(IDR_POPUP_MENU)}) {
            const AFX_RESOURCE* pEnglish = Find(RT_MENU, nID, kEnglish);
            const AFX_RESOURCE* pOther = Find(RT_MENU, nID, lang.wLanguage);
            ASSERT_NE(pOther, nullptr) << "menu " << nID;
            ExpectSameMenu(*static_cast<const AFX_MENU_ITEM*>(pEnglish->pData),
                           *static_cast<const AFX_MENU_ITEM*>(pOther->pData));
        }
        for (UINT nID : {UINT(IDD_ABOUTBOX), UINT(IDD_ITEM_DIALOG)}) {
            const AFX_RESOURCE* pEnglish = Find(RT_DIALOG, nID, kEnglish);
            const AFX_RESOURCE* pOther = Find(RT_DIALOG, nID, lang.wLanguage);
            ASSERT_NE(pOther, nullptr) << "dialog " << nID;
            ExpectSameDialog(*static_cast<const AFX_DLGTEMPLATE*>(pEnglish->pData),
                             *static_cast<const AFX_DLGTEMPLATE*>(pOther->pData));
        }
    }

    const ScopedLanguage inForce(lang.wLanguage);
    ASSERT_EQ(inForce.InForce(), lang.wLanguage);
    ASSERT_TRUE(Start({{0, u"Shirt", u"1", u"", u"", 0, 0, 0}}));
    for (UINT nCommand : {UINT(ID_LIST_NEW_ITEM), ID_APP_ABOUT}) {
        std::vector<std::string> cut{"not shown"};
        ArmModal([&](ModalHandle& dialog) {
            cut = CutTexts(dialog.Widget());
            dialog.PressEscape();
        });
        Frame()->SendMessage(WM_COMMAND, nCommand, 0);
        ASSERT_TRUE(ModalRan());
        EXPECT_EQ(cut, std::vector<std::string>()) << "command " << nCommand;
    }
    // The column headers, with the list's own font.
    auto* pTable = qobject_cast<QTableView*>(AfxGetWidget(View()));
    ASSERT_NE(pTable, nullptr);
    const QHeaderView* pHeader = pTable->horizontalHeader();
    const int margin = pHeader->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, pHeader);
    for (int i = 0; i < pHeader->count(); ++i) {
        const QString title = pHeader->model()->headerData(i, Qt::Horizontal).toString();
        EXPECT_LE(pHeader->fontMetrics().horizontalAdvance(title) + 2 * margin,
                  pHeader->sectionSize(i))
            << title.toStdString();
    }

    // Qt's own buttons from Qt's translations, beside the program's text.
    CString text, yes;
    ArmModal([&](ModalHandle& box) {
        text = box.Text();
        for (auto* pButton : box.Widget()->findChildren<QPushButton*>())
            if (pButton->isDefault())
                yes = AfxFromQString(pButton->text());
        box.PressEscape();
    });
    AfxMessageBox(IDP_DELETE_RECORD, MB_YESNO);
    ASSERT_TRUE(ModalRan());
    EXPECT_EQ(text.ToUtf8(), CString(lang.deleteQuestion).ToUtf8());
    EXPECT_EQ(yes.ToUtf8(), CString(lang.yes).ToUtf8());
}

INSTANTIATE_TEST_SUITE_P(
    EachLanguage, Languages,
    testing::Values(Language{"English", kEnglish, u"&Yes",
                             u"Are you sure you want to delete this record?"},
                    Language{"German", MAKELANGID(LANG_GERMAN, SUBLANG_DEFAULT), u"&Ja",
                             u"Möchten Sie diesen Eintrag wirklich löschen?"},
                    Language{"French", MAKELANGID(LANG_FRENCH, SUBLANG_DEFAULT), u"&Oui",
                             u"Voulez-vous vraiment supprimer cet article\u00A0?"}),
    CaseName());

} // namespace
