// The program's entry: the static objects in their order, then the framework's main routine.
#include "app/VestoryListApp.h"
#include "data/Data.h"
#include "res/Resources.h"

#include <cstdio>
#include <cstring>
#include <string>

// First: the module is the program itself, built for the framework's version 0x0600.
static const AFX_MODULE_INIT g_moduleInit(FALSE, 0x0600);
// Second, CData's runtime class enters the class list. IMPLEMENT_SERIAL in data/Data.cpp enters
// it too, but objects of different files start in no set order; defined here, ahead of theApp,
// it is in the list before the application object is constructed.
static const AFX_CLASSINIT g_dataClassInit(RUNTIME_CLASS(CData));
// Third, the one application object.
CVestoryListApp theApp;

static const char* const kUsage =
    "Usage: vestorylist            show the garment list in a window\n"
    "       vestorylist FILE       show the list in FILE instead; the next change saves it\n"
    "                              as the list\n"
    "       vestorylist --version  print the version\n"
    "       vestorylist --help     show this text\n"
    "\n"
    "The list is ~/Documents/Personal/Vestory.vsl (the documents folder follows\n"
    "XDG_DOCUMENTS_DIR). When VESTORYLIST_ROOT is set, that folder stands for the\n"
    "handheld's storage and the list is $VESTORYLIST_ROOT/My Documents/Personal/Vestory.vsl.\n"
    "The program needs a display: DISPLAY or WAYLAND_DISPLAY.\n"
    "\n"
    "Exit status: 0 when the window was closed, or when the program already running was\n"
    "brought to the front instead; 1 when it could not start.\n";

int main(int argc, char* argv[]) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    // The framework takes the command line as one string, parameters separated by blanks.
    std::u16string commandLine;
    for (int i = 1; i < argc; ++i) {
        const CString param = CString::FromUtf8(argv[i]);
        if (!commandLine.empty())
            commandLine += u' ';
        const bool bQuote = param.str().find(u' ') != std::u16string::npos;
        if (bQuote)
            commandLine += u'"';
        commandLine += param.str();
        if (bQuote)
            commandLine += u'"';
    }
    return AfxWinMain(VestoryListResources(), nullptr, commandLine.data(), SW_SHOW);
}
