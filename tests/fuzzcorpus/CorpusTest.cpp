// The list files of the fuzzing corpus, each read as the program reads its list at start-up.
// A file's name says what must come of it:
//   whole-N-...           reads whole with N records and is written back byte for byte
//   whole-N-rewritten-... reads whole with N records; written back in today's layout, it
//                         reads back the same (older string layouts are not kept as such)
//   damaged-N-...         keeps the N records before the damage, reports it once and keeps
//                         the file as Vestory.vsl.damaged
//   anything else         (an input the fuzzer crashed on) only has to load without harm
#include "data/VestoryListDoc.h"
#include "platform/core/Afx.h"
#include "platform/core/Resource.h"
#include "res/Resources.h"
#include "tests/support/CaseName.h"
#include "tests/support/DeviceRoot.h"
#include "tests/support/ListFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {
std::vector<std::string> CorpusFiles() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(VL_CORPUS_DIR))
        if (entry.is_regular_file())
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// "whole-3-xyz.vsl" -> 3; -1 where the name holds no count.
int ExpectedCount(const std::string& name) {
    std::size_t dash = name.find('-');
    if (dash == std::string::npos || dash + 1 >= name.size() || !std::isdigit(name[dash + 1]))
        return -1;
    return std::stoi(name.substr(dash + 1));
}

bool StartsWith(const std::string& s, const char* prefix) {
    return s.rfind(prefix, 0) == 0;
}

class CorpusTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        // The document's messages are the program's string resources.
        AfxSetResourceHandle(VestoryListResources());
        m_previous = AfxSetMessageBoxPresenter([this](const CString& text, const CString&, UINT) {
            m_messages.push_back(text.ToUtf8());
            return IDOK;
        });
    }
    void TearDown() override { AfxSetMessageBoxPresenter(m_previous); }

    std::vector<std::string> m_messages;
    AfxMessageBoxPresenter m_previous;
};

TEST_P(CorpusTest, LoadsWithoutHarm) {
    const std::string name = GetParam();
    DeviceRoot root;
    const std::string bytes = FileBytes(fs::path(VL_CORPUS_DIR) / name);
    WriteBytes(root.ListFile(), bytes);

    CVestoryListDoc doc;
    ASSERT_NO_THROW(doc.OnNewDocument());
    ASSERT_LE(m_messages.size(), 1u);
    const bool damaged = m_messages.size() == 1;
    const fs::path kept = root.ListFile().string() + ".damaged";
    if (damaged) {
        EXPECT_EQ(m_messages[0].rfind("The list file is damaged.", 0), 0u) << m_messages[0];
        EXPECT_EQ(FileBytes(kept), bytes);
    }

    const int expected = ExpectedCount(name);
    if (StartsWith(name, "damaged-")) {
        EXPECT_TRUE(damaged);
        EXPECT_EQ(doc.GetItemCount(), expected);
    }
    if (!StartsWith(name, "whole-"))
        return;
    ASSERT_FALSE(damaged) << m_messages[0];
    EXPECT_FALSE(fs::exists(kept));
    EXPECT_EQ(doc.GetItemCount(), expected);

    doc.SaveList();
    ASSERT_TRUE(m_messages.empty());
    if (name.find("-rewritten-") == std::string::npos) {
        EXPECT_EQ(FileBytes(root.ListFile()), bytes) << "not written back as read";
    }
    CVestoryListDoc again;
    again.OnNewDocument();
    EXPECT_TRUE(m_messages.empty());
    ASSERT_EQ(again.GetItemCount(), doc.GetItemCount());
    for (int i = 0; i < doc.GetItemCount(); ++i) {
        EXPECT_TRUE(SameRecord(doc.GetItem(i), again.GetItem(i))) << "record " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusTest, ::testing::ValuesIn(CorpusFiles()), CaseName());
} // namespace
