// vsl: the garment list file from the command line (dump as CSV, import from CSV, check).
#include "data/GarmentText.h"
#include "data/ListMerge.h"
#include "platform/core/Afx.h"
#include "platform/core/WriterLock.h"
#include "tools/vsl/ListFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr int kExitDamaged = 1;
constexpr int kExitBothKept = 1;
constexpr int kExitError = 2;

const char* const kUsage =
    "Usage: vsl dump FILE          write the list in FILE to standard output as CSV\n"
    "       vsl import CSV FILE    write FILE as a list file from CSV made by dump\n"
    "       vsl check FILE         tell whether FILE reads whole\n"
    "       vsl merge BASE OURS THEIRS\n"
    "                              merge the changes from BASE to THEIRS into OURS\n"
    "       vsl --version          print the version\n"
    "       vsl --help             show this text\n"
    "\n"
    "The CSV has the header line\n"
    "  AC,Item Name,Qty,Size,Note,Month,Day,Year\n"
    "and one line per garment (UTF-8, CRLF line ends); import reads the columns by\n"
    "these names, in any order.\n"
    "A garment is its whole record: a changed garment is the old one removed and a\n"
    "new one added. merge keeps what either side added, drops what either side\n"
    "removed and the other left alone, and keeps both versions of a garment that\n"
    "both sides changed; it writes OURS only when all three files read whole.\n"
    "As a git merge driver: git config merge.vsl.driver \"vsl merge %O %A %B\"\n"
    "and \"*.vsl merge=vsl\" in .gitattributes.\n"
    "Exit status: 0 success, 1 check found the file damaged, dump wrote a text\n"
    "that UTF-8 cannot carry (named on standard error), or merge kept both versions\n"
    "of a garment that both sides changed, 2 any error.\n";

int Fail(const std::string& where, const std::string& message) {
    std::cerr << "vsl: " << where << ": " << message << '\n';
    return kExitError;
}

// Whether the text holds a surrogate without its partner, which UTF-8 cannot carry.
bool HasLoneSurrogate(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF)
            ++i;
        else if (c >= 0xD800 && c <= 0xDFFF)
            return true;
    }
    return false;
}

// Reads every record of the file, keeping them in *pKeep when given; fails when the file
// cannot be read.
int ReadThrough(const std::string& path, ListReader* pList, std::vector<CData>* pKeep = nullptr) {
    if (!pList->Open(path))
        return Fail(path, "cannot read: " + pList->Error());
    CData data;
    while (pList->Next(&data)) {
        if (pKeep)
            pKeep->push_back(data);
    }
    if (!pList->Error().empty())
        return Fail(path, "cannot read: " + pList->Error());
    return 0;
}

// Reads the whole file, without keeping it unless asked: a damaged file gives no CSV at all
// and no merge.
int CheckReadsWhole(const std::string& path, std::vector<CData>* pKeep = nullptr) {
    ListReader list;
    if (int status = ReadThrough(path, &list, pKeep); status != 0)
        return status;
    if (list.Damaged())
        return Fail(path, "damaged at byte " + std::to_string(list.DamagedAt()) + " after " +
                              std::to_string(list.Count()) + " items");
    return 0;
}

int Dump(const std::string& path) {
    if (int status = CheckReadsWhole(path); status != 0)
        return status;
    ListReader list;
    if (!list.Open(path))
        return Fail(path, "cannot read: " + list.Error());
    static const char* const kTextNames[] = {"Item Name", "Qty", "Size", "Note"};
    int status = 0;
    std::string out = garment_text::Header(',') + "\r\n";
    CData d;
    while (list.Next(&d)) {
        const CString* texts[] = {&d.m_strItemName, &d.m_strQty, &d.m_strSize, &d.m_strNote};
        for (std::size_t i = 0; i < std::size(texts); ++i) {
            if (HasLoneSurrogate(texts[i]->str())) {
                std::cerr << "vsl: " << path << ": record " << list.Count() << ", " << kTextNames[i]
                          << ": text that UTF-8 cannot carry, written with U+FFFD\n";
                status = kExitDamaged;
            }
        }
        garment_text::AppendLine(out, d, ',', "\r\n");
        if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size())
            return Fail("standard output", std::strerror(errno));
        out.clear();
    }
    if (!list.Error().empty())
        return Fail(path, "cannot read: " + list.Error());
    if (list.Damaged()) // changed since it was checked
        return Fail(path, "damaged at byte " + std::to_string(list.DamagedAt()));
    if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size() || std::fflush(stdout) != 0)
        return Fail("standard output", std::strerror(errno));
    return status;
}

// Reads a whole file; a pipe such as <(...) is fine, a folder is not. Returns why it cannot.
std::string ReadWhole(const std::string& path, std::string* pText) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::strerror(errno);
    struct stat st {};
    std::string error;
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode))
        error = std::strerror(EISDIR);
    char buf[65536];
    while (error.empty()) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            error = std::strerror(errno);
        if (n <= 0)
            break;
        pText->append(buf, std::size_t(n));
    }
    ::close(fd);
    return error;
}

// Spreadsheets save "Unicode text" as UTF-16: a byte-order mark, or the header's first letter
// next to a zero byte.
bool IsUtf16(const std::string& text) {
    if (text.compare(0, 2, "\xFF\xFE") == 0 || text.compare(0, 2, "\xFE\xFF") == 0)
        return true;
    return text.size() >= 2 && (text[0] == '\0') != (text[1] == '\0');
}

int Import(const std::string& csvPath, const std::string& listPath) {
    // Held from here to the end, so that the program does not start on the old list meanwhile;
    // other imports may run beside this one.
    CWriterLock lock;
    int nHolder = 0;
    if (!lock.LockWithin(listPath, CWriterLock::kWaitMs, &nHolder, CWriterLock::shared))
        return Fail(listPath, CWriterLock::HeldMessage(nHolder).ToUtf8());
    std::string text;
    std::string readError = ReadWhole(csvPath, &text);
    if (!readError.empty())
        return Fail(csvPath, "cannot read: " + readError);
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) // spreadsheets like to add a byte-order mark
        text.erase(0, 3);
    if (IsUtf16(text))
        return Fail(csvPath, "the file is UTF-16 text; save the CSV as UTF-8");

    std::vector<CData> items;
    std::string error;
    int line = 0;
    if (!garment_text::ReadTable(text, ',', &items, &error, &line))
        return Fail(csvPath + ":" + std::to_string(line), error);
    std::string writeError = WriteListFile(listPath, items);
    if (!writeError.empty())
        return Fail(listPath, "cannot write: " + writeError);
    return 0;
}

int Merge(const std::string& basePath, const std::string& oursPath, const std::string& theirsPath) {
    std::vector<CData> lists[3];
    const std::string* paths[] = {&basePath, &oursPath, &theirsPath};
    for (int i = 0; i < 3; ++i) {
        if (int status = CheckReadsWhole(*paths[i], &lists[i]); status != 0)
            return status;
    }
    list_merge::Result merged = list_merge::Merge(lists[0], lists[1], lists[2]);
    // OURS is git's own temporary file when git runs the merge: nothing is left beside it.
    std::string writeError = WriteListFile(oursPath, merged.items, false);
    if (!writeError.empty())
        return Fail(oursPath, "cannot write: " + writeError);
    return merged.bChangedOnBoth ? kExitBothKept : 0;
}

int Check(const std::string& path) {
    ListReader list;
    if (int status = ReadThrough(path, &list); status != 0)
        return status;
    if (list.Damaged()) {
        std::printf("damaged at byte %llu after %llu items\n",
                    static_cast<unsigned long long>(list.DamagedAt()),
                    static_cast<unsigned long long>(list.Count()));
        return kExitDamaged;
    }
    std::printf("%llu items\n", static_cast<unsigned long long>(list.Count()));
    return 0;
}
} // namespace

int main(int argc, char** argv) {
    // The lists' writer marks are named after the program that shows the lists.
    AfxSetAppName(u"VestoryList");
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (args.size() == 1 && args[0] == "--version") {
        std::puts("vsl " VESTORYLIST_VERSION);
        return 0;
    }
    if (args.size() == 2 && args[0] == "dump")
        return Dump(args[1]);
    if (args.size() == 2 && args[0] == "check")
        return Check(args[1]);
    if (args.size() == 3 && args[0] == "import")
        return Import(args[1], args[2]);
    if (args.size() == 4 && args[0] == "merge")
        return Merge(args[1], args[2], args[3]);
    std::fputs(kUsage, stderr);
    return kExitError;
}
