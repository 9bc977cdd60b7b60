// Keeps changing and saving the list until it is killed. Started by the crash test in a
// temporary device root. It tells the test on standard output, one line per step, what it
// read at start ("L 1,2,3"), which list it is about to save ("S 1,2,3,4") and that the save
// is done ("D"), so that after a kill the test knows which lists the file may hold.
#include "data/VestoryListDoc.h"
#include "platform/core/Afx.h"
#include "tests/crash/Garments.h"

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>
#include <unistd.h>

namespace {
void Tell(const std::string& line) {
    std::string text = line + "\n";
    // One write per line: the test must never see half of one.
    if (::write(1, text.data(), text.size()) != ssize_t(text.size()))
        std::_Exit(3);
}

std::vector<int> Numbers(const CVestoryListDoc& doc) {
    std::vector<int> ids;
    for (int i = 0; i < doc.GetItemCount(); ++i)
        ids.push_back(NumberOfGarment(doc.GetItem(i)));
    return ids;
}
} // namespace

int main(int argc, char** argv) {
    // Any message (a damaged list, a failed save) is a failure the test must see.
    AfxSetMessageBoxPresenter([](const CString& text, const CString&, UINT) -> int {
        Tell("M " + text.ToUtf8());
        std::_Exit(4);
    });
    CVestoryListDoc doc;
    doc.OnNewDocument();
    std::vector<int> ids = Numbers(doc);
    Tell("L " + ListText(ids));

    std::mt19937 random(argc > 1 ? unsigned(std::atoi(argv[1])) : 1u);
    int next = ids.empty() ? 1 : *std::max_element(ids.begin(), ids.end()) + 1;
    for (;;) {
        const int count = doc.GetItemCount();
        const bool add = count < 4 || (count < 30 && random() % 5 < 3);
        if (add) {
            ids.push_back(next);
            Tell("S " + ListText(ids));
            doc.AddItem(GarmentNumber(next++));
            doc.SaveList();
        } else {
            int index = int(random() % unsigned(count));
            ids.erase(ids.begin() + index);
            Tell("S " + ListText(ids));
            doc.DeleteItem(index); // saves
        }
        Tell("D");
    }
}
