#include "PrintSheetList.h"

#include <sstream>

namespace sedilo::cli {

std::string parsePrintSheetList(const std::string& text, exporting::PrintSheetChoice& choice)
{
    choice = {false, false, false};
    std::istringstream items(text);
    std::string item;
    while (std::getline(items, item, ',')) {
        if (item == "signin")
            choice.signIn = true;
        else if (item == "door")
            choice.door = true;
        else if (item == "lookup")
            choice.lookup = true;
        else
            return "takes a list of signin, door and lookup, not '" + item + "'";
    }
    if (!choice.signIn && !choice.door && !choice.lookup)
        return "names no sheet";
    return {};
}

} // namespace sedilo::cli
