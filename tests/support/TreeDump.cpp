#include "support/TreeDump.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <pthread.h>
#endif

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "library/Exports.h"
#include "markup/Xmlnode.h"

std::string DumpTree(const CXmlNode* root)
{
    return DumpTree(root, [](const CXmlNode* node) {
        return std::string(node->GetText() ? node->GetText() : "(null)");
    });
}

std::string DumpTree(const CXmlNode* root, const std::function<std::string(const CXmlNode*)>& line)
{
    std::string out;
    std::vector<std::pair<const CXmlNode*, int>> due;
    for (const CXmlNode* child = root->GetLastChild(); child; child = child->GetPreviousSibling())
        due.emplace_back(child, 0);
    while (!due.empty()) {
        auto [node, depth] = due.back();
        due.pop_back();
        out.append(static_cast<size_t>(depth) * 2, ' ');
        out += line(node);
        out += '\n';
        for (const CXmlNode* child = node->GetLastChild(); child;
             child = child->GetPreviousSibling())
            due.emplace_back(child, depth + 1);
    }
    return out;
}

std::string DumpParsed(const std::string& page)
{
    CXmlNode root;
    root.Parse(page.data(), static_cast<int>(page.size()));
    return DumpTree(&root);
}

std::string ConvertPage(const std::string& page, const char* userAgent)
{
    // A deck can be far longer than its page: grow the buffer while it is refused.
    for (size_t size = page.size() * 4 + 65536;; size *= 2) {
        std::vector<char> output(size);
        int capacity = static_cast<int>(std::min<size_t>(size, 0x7fffffff));
        if (::ConvertPage(userAgent, page.data(), static_cast<int>(page.size()), output.data(),
                          capacity) > 0 ||
            size >= 0x7fffffff)
            return std::string(output.data(), static_cast<size_t>(capacity));
    }
}

namespace {

#ifdef _WIN32
DWORD WINAPI RunWork(void* work)
{
    (*static_cast<const std::function<void()>*>(work))();
    return 0;
}
#else
void* RunWork(void* work)
{
    (*static_cast<const std::function<void()>*>(work))();
    return nullptr;
}
#endif

}  // namespace

#ifdef _WIN32
// The stack size is the thread's reserve, not only its first commit.
void RunOnSmallStack(const std::function<void()>& work)
{
    HANDLE thread = CreateThread(nullptr, 256 * 1024, RunWork,
                                 const_cast<std::function<void()>*>(&work),
                                 STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (thread == nullptr) throw std::runtime_error("cannot start a thread");
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
}
#else
void RunOnSmallStack(const std::function<void()>& work)
{
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, 256 * 1024);
    pthread_t thread;
    if (pthread_create(&thread, &attributes, RunWork,
                       const_cast<std::function<void()>*>(&work)) != 0)
        throw std::runtime_error("cannot start a thread");
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
}
#endif

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
