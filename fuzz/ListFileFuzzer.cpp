// Feeds arbitrary bytes to the list file reader: the archive's string extraction on its own,
// and the document's start-up read of the list file. Beyond crashes, leaks and hangs (the
// sanitizers and libFuzzer see those) it checks what a user relies on: a damaged file is
// reported once and kept byte for byte, a file that reads whole is written back and reads
// back the same, and no single allocation is larger than the file's size can justify.
#include "data/VestoryListDoc.h"
#include "platform/core/Afx.h"
#include "platform/core/Archive.h"
#include "platform/core/Exception.h"
#include "platform/core/File.h"

#include <sanitizer/allocator_interface.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
fs::path g_root;
int g_messages = 0;

// A record costs at least 20 bytes of file and a few hundred bytes in memory, vectors grow
// by doubling and an 8-bit string doubles in UTF-16: a small multiple of the input covers
// every honest allocation, a length field believed blindly does not.
std::size_t g_allocationLimit = 0; // 0 while the reader is not running
constexpr std::size_t kFixedAllowance = 64 * 1024;
constexpr std::size_t kPerInputByte = 32;

void OnMalloc(const volatile void*, std::size_t size) {
    if (g_allocationLimit != 0 && size > g_allocationLimit) {
        static const char kMessage[] = "list file reader: allocation beyond the input's size\n";
        ssize_t ignored = ::write(2, kMessage, sizeof kMessage - 1);
        (void)ignored;
        std::abort();
    }
}
void OnFree(const volatile void*) {}

class AllocationWatch {
public:
    explicit AllocationWatch(std::size_t inputSize) {
        g_allocationLimit = kFixedAllowance + kPerInputByte * inputSize;
    }
    ~AllocationWatch() { g_allocationLimit = 0; }
    AllocationWatch(const AllocationWatch&) = delete;
    AllocationWatch& operator=(const AllocationWatch&) = delete;
};

fs::path Personal() {
    return g_root / "My Documents" / "Personal";
}
fs::path ListFile() {
    return Personal() / "Vestory.vsl";
}

CString HostPath(const fs::path& p) {
    return CString::FromUtf8(p.string());
}

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "list file reader: %s\n", what);
    std::abort();
}

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Reads the input as nothing but archive strings, back to back, until it ends or breaks.
void ExtractStrings() {
    CFile file;
    if (!file.Open(HostPath(ListFile()), CFile::modeRead))
        Fail("cannot open the input");
    CArchive ar(&file, CArchive::load);
    try {
        while (!ar.IsAtEnd()) {
            CString s;
            ar >> s;
        }
    } catch (const CArchiveException&) {
    }
}

bool SameRecord(const CData& a, const CData& b) {
    return a.m_bAtCleaners == b.m_bAtCleaners && a.m_strItemName == b.m_strItemName &&
           a.m_strQty == b.m_strQty && a.m_strSize == b.m_strSize && a.m_strNote == b.m_strNote &&
           a.m_nMonth == b.m_nMonth && a.m_nDay == b.m_nDay && a.m_nYear == b.m_nYear;
}

void CheckRoundTrip(CVestoryListDoc& doc) {
    doc.SaveList();
    CVestoryListDoc again;
    g_messages = 0;
    again.OnNewDocument();
    if (g_messages != 0)
        Fail("a list written back does not read whole");
    if (again.GetItemCount() != doc.GetItemCount())
        Fail("a list written back reads back with another count");
    for (int i = 0; i < doc.GetItemCount(); ++i)
        if (!SameRecord(doc.GetItem(i), again.GetItem(i)))
            Fail("a list written back reads back with another record");
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // A memory-backed folder keeps a million small files from reaching a disk.
    fs::path base =
        ::access("/dev/shm", W_OK) == 0 ? fs::path("/dev/shm") : fs::temp_directory_path();
    std::string tmpl = (base / "vl-fuzz-XXXXXX").string();
    if (!::mkdtemp(tmpl.data()))
        Fail("cannot create a temporary device root");
    g_root = tmpl;
    ::setenv("VESTORYLIST_ROOT", g_root.c_str(), 1);
    std::atexit([] {
        std::error_code ec;
        fs::remove_all(g_root, ec);
    });
    AfxSetMessageBoxPresenter([](const CString&, const CString&, UINT) {
        ++g_messages;
        return IDOK;
    });
    __sanitizer_install_malloc_and_free_hooks(OnMalloc, OnFree);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::error_code ec;
    fs::remove_all(g_root / "My Documents", ec);
    fs::create_directories(Personal());
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::ofstream(ListFile(), std::ios::binary) << input;

    AllocationWatch watch(size);
    ExtractStrings();

    CVestoryListDoc doc;
    g_messages = 0;
    doc.OnNewDocument();
    if (g_messages > 1)
        Fail("the damage was reported more than once");
    if (g_messages == 1) {
        if (ReadAll(Personal() / "Vestory.vsl.damaged") != input)
            Fail("the damaged file was not kept byte for byte");
    } else {
        CheckRoundTrip(doc);
    }
    return 0;
}
