#include "shell/recent_documents.h"

#include <algorithm>

namespace zr {

RecentDocuments::RecentDocuments(const std::vector<std::string>& stored) {
    for (auto it = stored.rbegin(); it != stored.rend(); ++it) add(*it);
}

void RecentDocuments::add(const std::string& path) {
    if (path.empty()) return;
    remove(path);
    paths_.insert(paths_.begin(), path);
    if (paths_.size() > kMax) paths_.resize(kMax);
}

void RecentDocuments::remove(const std::string& path) { std::erase(paths_, path); }

}  // namespace zr
