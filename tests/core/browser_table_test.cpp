// The game-screen table's rules over a record that notes its construction and destruction.
#include "fake_error_box.h"
#include "screen/browser_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> g_events;
int g_nextId = 0;

struct FakeRecord {
    FakeRecord() : nId(g_nextId++) { g_events.push_back("new " + std::to_string(nId)); }
    ~FakeRecord() { g_events.push_back("delete " + std::to_string(nId)); }
    int nId;
    int bClosed = 0;
};

class BrowserTableTest : public testing::Test {
  protected:
    void SetUp() override {
        g_events.clear();
        g_shownErrors.clear();
        g_nextId = 0;
    }
    CRecordTable<FakeRecord> table;
};

TEST_F(BrowserTableTest, RefusesTheEleventhWithTheBoxAndPrunesClosedRecords) {
    for (int i = 0; i < 10; ++i)
        ASSERT_NE(table.Add(), nullptr);
    EXPECT_TRUE(g_shownErrors.empty());
    g_events.clear();

    EXPECT_EQ(table.Add(), nullptr);
    EXPECT_EQ(g_shownErrors, std::vector<std::string>{"Too many browser windows already open"});
    EXPECT_TRUE(g_events.empty()); // no record made
    EXPECT_EQ(table.Count(), 10);

    // Two closed records (one of them adjacent to the other) are deleted first; order kept.
    table.At(3)->bClosed = 1;
    table.At(4)->bClosed = 1;
    FakeRecord* added = table.Add();
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(g_events, (std::vector<std::string>{"delete 3", "delete 4", "new 10"}));
    EXPECT_EQ(table.Count(), 9);
    std::string ids;
    for (int i = 0; i < table.Count(); ++i)
        ids += std::to_string(table.At(i)->nId) + " ";
    EXPECT_EQ(ids, "0 1 2 5 6 7 8 9 10 ");
}

TEST_F(BrowserTableTest, FindDeleteAndReverseCleanUp) {
    FakeRecord* a = table.Add();
    FakeRecord* b = table.Add();
    FakeRecord* c = table.Add();
    EXPECT_EQ(table.Find([](const FakeRecord& r) { return r.nId == 1; }), b);
    EXPECT_EQ(table.Find([](const FakeRecord& r) { return r.nId == 7; }), nullptr);

    FakeRecord stranger;
    table.Delete(&stranger); // not in the table: nothing happens
    EXPECT_EQ(table.Count(), 3);
    table.Delete(a);
    EXPECT_EQ(table.Count(), 2);
    EXPECT_EQ(table.At(0), b);
    EXPECT_EQ(table.At(1), c);

    g_events.clear();
    table.DeleteAll();
    EXPECT_EQ(g_events, (std::vector<std::string>{"delete 2", "delete 1"}));
    EXPECT_EQ(table.Count(), 0);
}

TEST_F(BrowserTableTest, DestructorDeletesTheLastFirst) {
    {
        CRecordTable<FakeRecord> local;
        local.Add();
        local.Add();
        local.Add();
        g_events.clear();
    }
    EXPECT_EQ(g_events, (std::vector<std::string>{"delete 2", "delete 1", "delete 0"}));
}

} // namespace
