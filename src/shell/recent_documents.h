#pragma once
// The list of recently used documents behind File > Recent documents: the
// last 8 distinct paths, the latest first. The windows keep it in the
// user's settings as a plain list of paths.

#include <string>
#include <vector>

namespace zr {

class RecentDocuments {
public:
    static constexpr std::size_t kMax = 8;

    RecentDocuments() = default;
    // From a stored list: empty entries and repeats dropped, cut to kMax.
    explicit RecentDocuments(const std::vector<std::string>& stored);

    // An opened or saved document goes to the front (once).
    void add(const std::string& path);
    // A document that could not be opened leaves the list.
    void remove(const std::string& path);

    const std::vector<std::string>& paths() const { return paths_; }

private:
    std::vector<std::string> paths_;
};

}  // namespace zr
