// The base of a conflict copy's merge, as each of two machines finds it from what it read and
// wrote: the versions written down in short as in the merge cases, each machine's story told
// in order.
#include "data/ListLineage.h"
#include "platform/core/ContentHash.h"
#include "tests/support/DeviceRoot.h"
#include "tests/support/ListFile.h"
#include "tests/support/MergeCases.h"

#include <gtest/gtest.h>

namespace {

struct Event {
    // Wrote a change, took another writer's version in, met a conflict copy, or wrote the
    // merge with one (which both machines make alike).
    enum Kind { wrote, tookIn, copy, merged } kind;
    std::vector<const char*> list;
};

std::uint64_t HashOf(const std::string& bytes) {
    CContentHash hash;
    hash.Add(bytes.data(), bytes.size());
    return hash.GetValue();
}

TEST(ListLineageTest, TheBaseIsTheLastVersionBothMachinesHad) {
    using E = Event;
    const std::vector<const char*> v0 = {"Coat", "Shirt"}, va = {"Coat", "Shirt", "Jacket"},
                                   vb = {"Coat", "Shirt+"}, m1 = {"Coat", "Shirt+", "Jacket"};
    // The other machine's version taken in, then eight of this machine's own on top of it.
    std::vector<Event> eightOwnAfterVb = {{E::tookIn, v0}, {E::wrote, {"Coat"}}, {E::tookIn, vb}};
    for (const char* name : {"A", "B", "C", "D", "E", "F", "G", "H"})
        eightOwnAfterVb.push_back({E::wrote, {"Coat", "Shirt+", name}});
    std::vector<Event> lostToOther = eightOwnAfterVb;
    lostToOther.push_back({E::tookIn, {"Coat+", "Shirt+"}});
    const struct {
        const char* name;
        std::vector<Event> story; // the last one: the list file's version when the copy came
        std::vector<const char*> copy, base;
    } cases[] = {
        {"the copy is this machine's own, the list file the other's",
         {{E::tookIn, v0}, {E::wrote, va}, {E::tookIn, vb}},
         va,
         v0},
        {"the list file is this machine's own, the copy the other's",
         {{E::tookIn, v0}, {E::wrote, vb}},
         va,
         v0},
        {"two partitions: the first merge is the base of the second",
         {{E::tookIn, v0},
          {E::wrote, va},
          {E::tookIn, vb},
          {E::copy, va},
          {E::merged, m1},
          {E::wrote, {"Coat", "Shirt+", "Jacket", "Tie"}}},
         {"Coat+", "Shirt+", "Jacket"},
         m1},
        {"the other machine's new version has bytes this one had before",
         {{E::tookIn, v0},
          {E::wrote, vb},
          {E::tookIn, m1},
          {E::wrote, {"Coat+", "Shirt+", "Jacket"}}},
         vb,
         m1},
        {"nothing ever shared: this machine's oldest version",
         {{E::wrote, v0}, {E::wrote, va}},
         vb,
         v0},
        {"the last shared version lies behind eight of this machine's own", eightOwnAfterVb, va,
         vb},
        {"this machine's eight lost to the other's version",
         lostToOther,
         {"Coat", "Shirt+", "H"},
         vb},
        {"nothing known at all: no base", {}, vb, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DeviceRoot root;
        const auto file = root.Path() / "Vestory.vsl";
        CListLineage lineage(file.string());
        std::uint64_t nList = 0;
        for (const Event& e : c.story) {
            // A new file each time, as every writer of the list puts its version in place.
            WriteListFile(file.string() + ".new", ShortGarments(e.list));
            std::filesystem::rename(file.string() + ".new", file);
            nList = HashOf(FileBytes(file));
            if (e.kind == E::copy)
                lineage.NoteCopy(nList, file.string());
            else
                lineage.Note(nList, e.kind != E::wrote, file.string());
        }
        const std::string copy = ListBytes(ShortGarments(c.copy));
        EXPECT_EQ(ListBytes(lineage.BaseFor(nList, HashOf(copy))),
                  ListBytes(ShortGarments(c.base)));
    }
}

} // namespace
