// Conformance: reading .res files and finding resources in them.
#include "kernel/resources.h"

#include "kernel/embedded_resources.h"

#include "support/res_builder.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

ResourceTable ParseOrFail(const std::vector<uint8_t>& bytes) {
    ResourceTable table;
    std::string error;
    EXPECT_TRUE(ResourceTable::Parse(bytes.data(), bytes.size(), &table, &error)) << error;
    return table;
}

TEST(Resources, Find_ByNumberNameAndLanguage) {
    ResBuilder res;
    res.Add(10, 5, 0x0409, {1, 2, 3})
        .Add(10, u"Skin", 0x040C, {4})
        .Add(10, 6, 0x040C, {5})
        .Add(10, 6, 0x0409, {6, 6})
        .Add(2, 5, 0x0409, {7})
        .Add(10, 0, 0x0409, {8})
        .Add(10, 7, 0x040C, {1}) // ranked: neutral, neutral default, US English, first
        .Add(10, 7, 0x0409, {1, 1})
        .Add(10, 7, 0x0400, {1, 1, 1})
        .Add(10, 7, 0x0000, {1, 1, 1, 1})
        .Add(10, 8, 0x040C, {1})
        .Add(10, 8, 0x0409, {1, 1})
        .Add(10, 8, 0x0400, {1, 1, 1})
        .Add(10, 9, 0x0407, {1})
        .Add(10, 9, 0x040C, {1, 1});
    const ResourceTable table = ParseOrFail(res.Bytes());
    EXPECT_EQ(table.Count(), 15u);
    EXPECT_EQ(table.Find(RT_RCDATA, MAKEINTRESOURCEA(7))->language, 0x0000);
    EXPECT_EQ(table.Find(RT_RCDATA, MAKEINTRESOURCEA(8))->language, 0x0400);
    EXPECT_EQ(table.Find(RT_RCDATA, MAKEINTRESOURCEA(9))->language, 0x0407);
    EXPECT_EQ(table.Find(RT_RCDATA, "#"), nullptr) << "a name, not the number 0";
    EXPECT_EQ(table.Find(RT_RCDATA, "#0")->size, 1u);

    const Resource* r = table.Find(RT_RCDATA, MAKEINTRESOURCEA(5));
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->size, 3u);
    EXPECT_EQ(table.Data(*r)[2], 3);
    EXPECT_EQ(table.Find(RT_RCDATA, "#5"), r);
    EXPECT_EQ(table.Find(RT_BITMAP, MAKEINTRESOURCEA(5))->size, 1u);
    EXPECT_EQ(table.Find(RT_RCDATA, "sKIN")->language, 0x040C); // names ignore case
    EXPECT_EQ(table.Find(RT_RCDATA, "#SKIN"), nullptr);
    EXPECT_EQ(table.Find(RT_RCDATA, MAKEINTRESOURCEA(6))->language, 0x0409); // US preferred
    EXPECT_EQ(table.Find(RT_RCDATA, MAKEINTRESOURCEA(6), 0x040C)->size, 1u);
    EXPECT_EQ(table.Find(RT_RCDATA, MAKEINTRESOURCEA(6), 0x0407), nullptr);
    EXPECT_EQ(table.Find(RT_DIALOG, MAKEINTRESOURCEA(5)), nullptr);
}

// Every cut of a good file either ends on an entry boundary (and is a good, shorter file)
// or is refused; none reads outside the bytes (AddressSanitizer watches that).
TEST(Resources, Parse_EveryTruncation_IsRefusedUnlessOnABoundary) {
    ResBuilder res;
    res.Add(10, 5, 0x0409, {1, 2, 3, 4, 5}).Add(10, u"NAME", 0, {9});
    const std::vector<uint8_t>& whole = res.Bytes();
    for (size_t length = 0; length < whole.size(); ++length) {
        std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<long>(length));
        ResourceTable table;
        std::string error;
        const bool ok = ResourceTable::Parse(cut.data(), cut.size(), &table, &error);
        const bool boundary = length == 0 || res.EntryEnds().count(length) != 0;
        EXPECT_EQ(ok, boundary) << "length " << length << ": " << error;
        if (!ok) {
            EXPECT_NE(error.find("malformed .res at byte"), std::string::npos) << error;
            EXPECT_EQ(table.Count(), 0u);
        }
    }
}

TEST(Resources, Parse_MalformedHeaders_AreRefused_ModuleKeepsNone) {
    ResBuilder good;
    good.Add(10, 5, 0x0409, {1, 2, 3, 4});
    const size_t entry = 32; // the second entry, after the empty one
    using Row = std::tuple<const char*, size_t, std::vector<uint8_t>, const char*>;
    const Row rows[] = {
        {"header size too small", entry + 4, {16, 0, 0, 0}, "header size"},
        {"header size past the end", entry + 4, {0xFF, 0xFF, 0, 0}, "header size"},
        {"data size past the end", entry, {0xFF, 0xFF, 0xFF, 0x7F}, "past the end"},
        {"huge data size", entry, {0xFC, 0xFF, 0xFF, 0xFF}, "past the end"},
        {"name runs past the header", entry + 12, std::vector<uint8_t>(20, 'A'), "runs past"},
    };
    for (const auto& [name, at, patch, reason] : rows) {
        SCOPED_TRACE(name);
        std::vector<uint8_t> bytes = good.Bytes();
        std::copy(patch.begin(), patch.end(), bytes.begin() + static_cast<long>(at));
        ResourceTable table;
        std::string error;
        EXPECT_FALSE(ResourceTable::Parse(bytes.data(), bytes.size(), &table, &error));
        EXPECT_NE(error.find(reason), std::string::npos) << error;
    }
    ResBuilder twice;
    twice.Add(10, 5, 0x0409, {1}).Add(10, 5, 0x0409, {2});
    ResourceTable table;
    std::string error;
    EXPECT_FALSE(ResourceTable::Parse(twice.Bytes().data(), twice.Bytes().size(), &table, &error));
    EXPECT_NE(error.find("duplicate"), std::string::npos) << error;
    // The module's resources, replaced by a malformed file, are none at all.
    ASSERT_TRUE(
        KernelSetModuleResources(kEmbeddedModuleResources, kEmbeddedModuleResourcesSize, &error));
    const uint8_t garbage[] = {1, 2, 3};
    EXPECT_FALSE(KernelSetModuleResources(garbage, sizeof garbage, &error));
    EXPECT_EQ(ModuleResources().Count(), 0u);
}

} // namespace
