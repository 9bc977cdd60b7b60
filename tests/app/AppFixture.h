// Runs the real program's start-up on a prepared list file in a temporary device root.
#pragma once

#include "app/VestoryListApp.h"
#include "data/Data.h"
#include "tests/support/DeviceRoot.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

class CFrameWnd;
class CVestoryListDoc;
class CVestoryListView;
class CWnd;

struct Garment {
    LONG bAtCleaners;
    const char16_t* name;
    const char16_t* qty;
    const char16_t* size;
    const char16_t* note;
    LONG month, day, year;
};

// Writes the records as the list file's (or any host file's) contents.
void WriteListFile(const std::filesystem::path& path, const std::vector<Garment>& garments);

class AppFixture : public ::testing::Test {
protected:
    void TearDown() override;

    // Writes the list file, then starts the program as its main routine does; FALSE when the
    // start-up routine failed.
    BOOL Start(const std::vector<Garment>& garments, HINSTANCE hResources = nullptr);

    CFrameWnd* Frame() const;
    CVestoryListView* View() const;
    CVestoryListDoc* Document() const;
    // The command bar's window.
    CWnd* CommandBar() const;

    DeviceRoot m_root;
    std::unique_ptr<CVestoryListApp> m_pApp;
};
