// Load and save of a 100,000-garment list (about 10 MB) beside plain reads and writes of the
// same bytes. The save's flush to disk is measured apart: Store is the save without it (compare
// with PlainWrite); Save and PlainWriteSync both include it.
#include "data/VestoryListDoc.h"
#include "platform/core/Afx.h"
#include "platform/core/ReplaceFile.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {
constexpr int kItems = 100000;

struct Fixture {
    fs::path root;
    fs::path listFile;
    fs::path plainFile;
    std::string bytes;

    Fixture() {
        std::string tmpl = (fs::temp_directory_path() / "vl-bench-XXXXXX").string();
        root = ::mkdtemp(tmpl.data());
        ::setenv("VESTORYLIST_ROOT", root.c_str(), 1);
        ::setenv("XDG_STATE_HOME", (root / "state").c_str(), 1);
        listFile = root / "My Documents/Personal/Vestory.vsl";
        plainFile = root / "plain.bin";
        AfxSetMessageBoxPresenter([](const CString& text, const CString&, UINT) {
            std::fprintf(stderr, "unexpected message: %s\n", text.ToUtf8().c_str());
            std::abort();
            return IDOK;
        });
        static const char16_t* const kNames[] = {u"Shirt, white oxford", u"Wool coat",
                                                 u"Silk blouse",         u"Trousers grey",
                                                 u"Evening dress",       u"Tie"};
        static const char16_t* const kSizes[] = {u"M", u"42", u"L", u"38/32", u"S", u""};
        CVestoryListDoc doc;
        for (int i = 0; i < kItems; ++i) {
            CData d;
            d.m_bAtCleaners = i % 3 == 0;
            d.m_strItemName = kNames[i % 6];
            d.m_strQty = i % 4 ? u"1" : u"2";
            d.m_strSize = kSizes[i % 6];
            d.m_strNote = i % 2 ? u"Light starch, on hangers\r\nRepair hem" : u"No crease";
            d.m_nDay = d.m_bAtCleaners ? 1 + i % 28 : 0;
            d.m_nMonth = d.m_bAtCleaners ? 1 + i % 12 : 0;
            d.m_nYear = d.m_bAtCleaners ? 2002 : 0;
            doc.AddItem(d);
        }
        doc.SaveList();
        int fd = ::open(listFile.c_str(), O_RDONLY);
        bytes.resize(std::size_t(fs::file_size(listFile)));
        if (::read(fd, bytes.data(), bytes.size()) != ssize_t(bytes.size()))
            std::abort();
        ::close(fd);
    }
    ~Fixture() { fs::remove_all(root); }
};

Fixture& Data() {
    static Fixture fixture;
    return fixture;
}

void PlainRead(benchmark::State& state) {
    Fixture& f = Data();
    std::string buf(f.bytes.size(), '\0');
    for (auto _ : state) {
        int fd = ::open(f.listFile.c_str(), O_RDONLY);
        if (::read(fd, buf.data(), buf.size()) != ssize_t(buf.size()))
            state.SkipWithError("short read");
        ::close(fd);
        benchmark::DoNotOptimize(buf.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(f.bytes.size()));
}

void Load(benchmark::State& state) {
    Fixture& f = Data();
    // A start-up: the document is new and empty; freeing the records is not part of it.
    for (auto _ : state) {
        auto* doc = new CVestoryListDoc;
        doc->OnNewDocument();
        state.PauseTiming();
        if (doc->GetItemCount() != kItems)
            state.SkipWithError("wrong count");
        delete doc;
        state.ResumeTiming();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(f.bytes.size()));
}

void WritePlain(const Fixture& f, bool sync) {
    int fd = ::open(f.plainFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (::write(fd, f.bytes.data(), f.bytes.size()) != ssize_t(f.bytes.size()))
        std::abort();
    if (sync)
        ::fsync(fd);
    ::close(fd);
}

void PlainWrite(benchmark::State& state) {
    Fixture& f = Data();
    for (auto _ : state)
        WritePlain(f, false);
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(f.bytes.size()));
}

void PlainWriteSync(benchmark::State& state) {
    Fixture& f = Data();
    for (auto _ : state)
        WritePlain(f, true);
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(f.bytes.size()));
}

// The save up to the flush to disk: every record through the archive into the new file,
// which is then dropped instead of flushed and renamed.
void Store(benchmark::State& state) {
    Fixture& f = Data();
    CVestoryListDoc doc;
    doc.OnNewDocument();
    for (auto _ : state) {
        CReplaceFile file;
        file.Open(CVestoryListDoc::kListFile);
        CArchive ar(&file, CArchive::store);
        doc.Serialize(ar);
        ar.Close();
        file.Abandon();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(f.bytes.size()));
}

// The whole save: new file, flush to disk, rename over the list file.
void Save(benchmark::State& state) {
    Fixture& f = Data();
    CVestoryListDoc doc;
    doc.OnNewDocument();
    for (auto _ : state)
        doc.SaveList();
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(f.bytes.size()));
}
} // namespace

BENCHMARK(PlainRead)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Load)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(PlainWrite)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Store)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(PlainWriteSync)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Save)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
