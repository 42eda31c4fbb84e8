#include "support/ScriptedDialogs.h"

namespace sedilo::test {

namespace {
std::string takeFront(std::deque<std::string>& queue)
{
    if (queue.empty())
        return {}; // cancelled
    std::string front = std::move(queue.front());
    queue.pop_front();
    return front;
}
} // namespace

std::string ScriptedDialogs::chooseFile(const std::string& title)
{
    titles.push_back(title);
    return takeFront(m_files);
}

std::string ScriptedDialogs::chooseFolder(const std::string& title)
{
    titles.push_back(title);
    return takeFront(m_folders);
}

bool ScriptedDialogs::openFolder(const std::string& path)
{
    if (!m_canOpen)
        return false;
    openedFolders.push_back(path);
    return true;
}

bool ScriptedDialogs::openDocument(const std::string& path)
{
    if (!m_canOpen)
        return false;
    openedDocuments.push_back(path);
    return true;
}

} // namespace sedilo::test
