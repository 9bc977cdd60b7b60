// The program's entry: the static objects in their order, then the framework's main routine.
#include "app/VestoryListApp.h"
#include "data/Data.h"
#include "res/Resources.h"

#include <cstdio>
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
    "Usage: vestorylist               show the garment list in a window\n"
    "       vestorylist [--] FILE     show the list in FILE instead; the next change saves\n"
    "                                 it as the list\n"
    "       vestorylist --version     print the version\n"
    "       vestorylist --help        show this text\n"
    "\n"
    "FILE is one name, taken as given; after -- it may begin with a dash. When the\n"
    "program already runs on this list, FILE goes to its window, which opens it as\n"
    "Ctrl+O does.\n"
    "\n"
    "The list is ~/Documents/Personal/Vestory.vsl (the documents folder follows\n"
    "XDG_DOCUMENTS_DIR). When VESTORYLIST_ROOT is set, that folder stands for the\n"
    "handheld's storage and the list is $VESTORYLIST_ROOT/My Documents/Personal/Vestory.vsl.\n"
    "The program needs a display: DISPLAY or WAYLAND_DISPLAY.\n"
    "\n"
    "Exit status: 0 when the window was closed, or when the program already running was\n"
    "brought to the front (and given FILE) instead; 1 when it could not start; 2 for a\n"
    "command line it does not understand.\n";

// The options this program knows, checked before anything starts: an unknown one, or more
// than one file, is a mistake the user hears about, not a file name to guess at.
static int CheckArguments(int argc, char* argv[]) {
    int nFiles = 0;
    bool bOptions = true;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (bOptions && arg == "--") {
            bOptions = false;
        } else if (bOptions && arg.size() > 1 && arg[0] == '-') {
            if (arg == "--help" || arg == "-h") {
                std::fputs(kUsage, stdout);
                return 0;
            }
            if (arg != "--version") {
                std::fprintf(stderr, "vestorylist: unknown option %s\n\n%s", argv[i], kUsage);
                return 2;
            }
        } else if (++nFiles > 1) {
            std::fprintf(stderr, "vestorylist: one file at most\n\n%s", kUsage);
            return 2;
        }
    }
    return -1;
}

int main(int argc, char* argv[]) {
    if (const int nStatus = CheckArguments(argc, argv); nStatus >= 0)
        return nStatus;
    AfxSetArguments(argc, argv);
    // The framework's main routine is also handed the command line as one string, as the
    // handheld's is; it reads the parameters from the arguments above.
    std::u16string commandLine;
    for (int i = 1; i < argc; ++i) {
        if (!commandLine.empty())
            commandLine += u' ';
        commandLine += CString::FromUtf8(argv[i]).str();
    }
    return AfxWinMain(VestoryListResources(), nullptr, commandLine.data(), SW_SHOW);
}
