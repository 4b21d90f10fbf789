#include "menu/window_table.h"

#include "fake_error_box.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<int> g_freed;

struct FakeWindow {
    explicit FakeWindow(int id_, int handle = 0) : id(id_), hWnd(handle) {}
    ~FakeWindow() { g_freed.push_back(id); }
    int id;
    int hWnd;
    int bDestroyed = 0;
    int nInUse = 0;
};

class WindowTableTest : public testing::Test {
  protected:
    void SetUp() override {
        g_freed.clear();
        g_shownErrors.clear();
    }
    std::vector<int> Ids() const {
        std::vector<int> ids;
        for (int i = 0; i < table.Count(); ++i)
            ids.push_back(table.At(i)->id);
        return ids;
    }
    CWindowTable<FakeWindow> table;
};

} // namespace

TEST_F(WindowTableTest, TwentyFitTheTwentyFirstIsRefused) {
    for (int i = 0; i < MAX_WINDOWS; ++i)
        ASSERT_EQ(table.AddWindow(new FakeWindow(i)), 1);
    EXPECT_TRUE(g_shownErrors.empty());
    FakeWindow* extra = new FakeWindow(99);
    EXPECT_EQ(table.AddWindow(extra), 0);
    ASSERT_EQ(g_shownErrors.size(), 1u);
    EXPECT_EQ(g_shownErrors[0], "Too many Window windows already open");
    EXPECT_EQ(table.Count(), MAX_WINDOWS);
    EXPECT_EQ(table.FindWindowObject(0), table.At(0)); // handle 0 finds the first
    delete extra;

    // Once one window is gone, the next registration frees it and fits.
    table.At(5)->bDestroyed = 1;
    EXPECT_EQ(table.AddWindow(new FakeWindow(20)), 1);
    EXPECT_EQ(g_freed, (std::vector<int>{99, 5}));
    EXPECT_EQ(table.Count(), MAX_WINDOWS);
}

TEST_F(WindowTableTest, PruneKeepsTheOrder) {
    for (int i = 0; i < 6; ++i)
        table.AddWindow(new FakeWindow(i));
    table.At(0)->bDestroyed = 1;
    table.At(2)->bDestroyed = 1;
    table.At(3)->bDestroyed = 1;
    table.At(5)->bDestroyed = 1;
    table.PruneWindows();
    EXPECT_EQ(Ids(), (std::vector<int>{1, 4}));
    EXPECT_EQ(g_freed, (std::vector<int>{0, 2, 3, 5}));
    table.PruneWindows();
    EXPECT_EQ(g_freed.size(), 4u);
}

TEST_F(WindowTableTest, AnObjectWhoseHandlerRunsIsFreedLater) {
    table.AddWindow(new FakeWindow(1));
    table.At(0)->bDestroyed = 1;
    table.At(0)->nInUse = 1;
    EXPECT_EQ(table.AddWindow(new FakeWindow(2)), 1);
    EXPECT_TRUE(g_freed.empty());
    EXPECT_EQ(Ids(), (std::vector<int>{1, 2}));
    table.At(0)->nInUse = 0;
    table.PruneWindows();
    EXPECT_EQ(g_freed, (std::vector<int>{1}));
}

TEST_F(WindowTableTest, FindGivesTheFirstOfAHandle) {
    table.AddWindow(new FakeWindow(1, 100));
    table.AddWindow(new FakeWindow(2, 200));
    table.AddWindow(new FakeWindow(3, 200));
    EXPECT_EQ(table.FindWindowObject(200)->id, 2);
    EXPECT_EQ(table.FindWindowObject(100)->id, 1);
    EXPECT_EQ(table.FindWindowObject(300), nullptr);
    // A destroyed object is still found until it is pruned.
    table.At(1)->bDestroyed = 1;
    EXPECT_EQ(table.FindWindowObject(200)->id, 2);
}

TEST_F(WindowTableTest, RemoveOneAndRemoveAll) {
    for (int i = 0; i < 4; ++i)
        table.AddWindow(new FakeWindow(i));
    FakeWindow outsider(50);
    table.RemoveWindow(&outsider); // not in the table: left alone
    table.RemoveWindow(table.At(1));
    EXPECT_EQ(Ids(), (std::vector<int>{0, 2, 3}));
    table.RemoveAllWindows();
    EXPECT_EQ(table.Count(), 0);
    EXPECT_EQ(g_freed, (std::vector<int>{1, 3, 2, 0})); // the last first
    table.RemoveAllWindows();
    EXPECT_EQ(g_freed.size(), 4u);
}

TEST_F(WindowTableTest, DestructorFreesWhatIsLeft) {
    {
        CWindowTable<FakeWindow> local;
        local.AddWindow(new FakeWindow(7));
        local.AddWindow(new FakeWindow(8));
    }
    EXPECT_EQ(g_freed, (std::vector<int>{8, 7}));
}
