#include "services/text/FileNameRule.h"

namespace sedilo {

std::string unsafeFileNameReason(const std::string& name)
{
    if (name.empty())
        return "the name is empty";
    if (name == "." || name == "..")
        return "the name \"" + name + "\" names a folder";
    for (const unsigned char c : name) {
        if (c == '/' || c == '\\')
            return "the name \"" + name + "\" holds a path separator";
        if (c < 0x20 || c == 0x7F)
            return "the name \"" + name + "\" holds a control character";
    }
    return {};
}

} // namespace sedilo
