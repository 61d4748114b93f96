#include <gtest/gtest.h>

#include "shell/recent_documents.h"

using zr::RecentDocuments;
using V = std::vector<std::string>;

TEST(RecentDocuments, LatestFirstOnceEachAndAtMostEight) {
    RecentDocuments r;
    r.add("/a.dat");
    r.add("/b.dat");
    r.add("/a.dat");
    r.add("");
    EXPECT_EQ(r.paths(), (V{"/a.dat", "/b.dat"}));
    for (int i = 0; i < 10; ++i) r.add("/" + std::to_string(i) + ".dat");
    ASSERT_EQ(r.paths().size(), RecentDocuments::kMax);
    EXPECT_EQ(r.paths().front(), "/9.dat");
    EXPECT_EQ(r.paths().back(), "/2.dat");
    r.remove("/5.dat");
    r.remove("/not-there.dat");
    EXPECT_EQ(r.paths().size(), 7u);
    EXPECT_EQ(r.paths()[4], "/4.dat");
}

TEST(RecentDocuments, StoredListIsCleanedInItsOrder) {
    const RecentDocuments r(V{"/x.dat", "", "/y.dat", "/x.dat", "1", "2", "3", "4", "5", "6", "7"});
    EXPECT_EQ(r.paths(), (V{"/x.dat", "/y.dat", "1", "2", "3", "4", "5", "6"}));
}
