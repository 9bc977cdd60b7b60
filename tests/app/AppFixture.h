// Runs the real program's start-up on a prepared list file in a temporary device root.
#pragma once

#include "app/VestoryListApp.h"
#include "tests/support/DeviceRoot.h"
#include "tests/support/ListFile.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

class CFrameWnd;
class CVestoryListDoc;
class CVestoryListView;
class CWnd;

class AppFixture : public ::testing::Test {
protected:
    void TearDown() override;

    // Writes the list file, then starts the program as its main routine does; FALSE when the
    // start-up routine failed.
    BOOL Start(const std::vector<Garment>& garments, HINSTANCE hResources = nullptr);
    // Ends the program if it runs and starts it again on the list file as it stands.
    BOOL Restart(HINSTANCE hResources = nullptr);

    CFrameWnd* Frame() const;
    CVestoryListView* View() const;
    CVestoryListDoc* Document() const;
    // The command bar's window.
    CWnd* CommandBar() const;

    DeviceRoot m_root;
    std::unique_ptr<CVestoryListApp> m_pApp;
};
