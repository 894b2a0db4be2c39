// The shared corpus of real-world pages, beside the source tree: tests that
// read it skip when the folder is missing.
#pragma once

#include <algorithm>
#include <filesystem>
#include <vector>

inline const std::filesystem::path& CorpusFolder()
{
    static const std::filesystem::path folder =
        std::filesystem::path(QUORREL_SOURCE_DIR).parent_path() / "shared" / "corpus";
    return folder;
}

// Every page of the corpus, in name order.
inline std::vector<std::filesystem::path> CorpusPages()
{
    std::vector<std::filesystem::path> pages;
    for (const auto& entry : std::filesystem::directory_iterator(CorpusFolder()))
        if (entry.path().extension() == ".html") pages.push_back(entry.path());
    std::sort(pages.begin(), pages.end());
    return pages;
}
