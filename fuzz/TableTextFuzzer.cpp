// Feeds arbitrary bytes to the readers of table text: what Paste takes from the clipboard, and
// what vsl import takes from a CSV file. Beyond crashes, leaks and hangs (the sanitizers and
// libFuzzer see those) it checks what a user relies on: refused text adds nothing and says why,
// and garments read are written back, as Copy and vsl dump write them, and read back the same.
#include "data/GarmentText.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "table text reader: %s\n", what);
    std::abort();
}

std::string Fields(const std::vector<CData>& items) {
    return garment_text::Write(items, '\t', "\n");
}

// What Copy (tabs) and vsl dump (commas) write of the garments reads back as the same garments.
void CheckWrittenBack(const std::vector<CData>& items) {
    for (const char separator : {'\t', ','}) {
        const std::string text =
            garment_text::Write(items, separator, separator == ',' ? "\r\n" : "\n");
        std::vector<CData> again;
        std::string why;
        int line = 0;
        if (!garment_text::ReadTable(text, separator, &again, &why, &line))
            Fail("garments written as table text do not read back");
        if (Fields(again) != Fields(items))
            Fail("garments written as table text read back as others");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    // Paste: onto a list that holds one garment already.
    std::vector<CData> list(1);
    std::string why;
    if (garment_text::ReadPasted(text, &list, &why)) {
        if (list.size() < 2)
            Fail("a paste that succeeds adds nothing");
        list.erase(list.begin());
        CheckWrittenBack(list);
    } else if (list.size() != 1 || why.empty()) {
        Fail("a refused paste adds garments or gives no reason");
    }

    // vsl import.
    std::vector<CData> items;
    int line = 0;
    why.clear();
    if (garment_text::ReadTable(text, ',', &items, &why, &line))
        CheckWrittenBack(items);
    else if (!items.empty() || why.empty() || line < 1)
        Fail("a refused CSV gives garments, or no reason, or no line");
    return 0;
}
