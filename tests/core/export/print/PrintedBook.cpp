#include "PrintedBook.h"

#include <fstream>
#include <iterator>
#include <memory>

#include <pugixml.hpp>

#include "services/workbook/CellReference.h"
#include "services/workbook/ZipPackage.h"

namespace sedilo::test {

std::string PrintedSheet::at(int row, int column) const
{
    const auto found = cells.find({row, column});
    return found == cells.end() ? std::string() : found->second;
}

std::vector<std::string> PrintedSheet::row(int row, int columns) const
{
    std::vector<std::string> texts;
    for (int column = 1; column <= columns; ++column)
        texts.push_back(at(row, column));
    return texts;
}

int PrintedSheet::lastRow() const { return cells.empty() ? 0 : cells.rbegin()->first.first; }

namespace {

pugi::xml_document parse(const workbook::ZipPackage& package, const std::string& part)
{
    pugi::xml_document document;
    if (const auto text = package.readIfPresent(part))
        document.load_string(text->c_str());
    return document;
}

std::string textOf(pugi::xml_node node)
{
    std::string text;
    for (const pugi::xpath_node& t : node.select_nodes(".//t"))
        text += t.node().text().get();
    return text;
}

} // namespace

std::vector<PrintedSheet> readPrintedBook(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    auto bytes = std::make_shared<const std::string>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    const workbook::ZipPackage package(path, bytes);

    std::vector<std::string> shared;
    const pugi::xml_document strings = parse(package, "xl/sharedStrings.xml");
    for (pugi::xml_node si : strings.child("sst").children("si"))
        shared.push_back(textOf(si));

    const pugi::xml_document book = parse(package, "xl/workbook.xml");
    std::vector<PrintedSheet> sheets;
    for (pugi::xml_node entry : book.child("workbook").child("sheets").children("sheet"))
        sheets.push_back({entry.attribute("name").value()});
    for (pugi::xml_node name : book.child("workbook").child("definedNames").children("definedName")) {
        const std::string text = name.text().get();
        if (std::string(name.attribute("name").value()) == "_xlnm.Print_Titles")
            sheets.at(name.attribute("localSheetId").as_uint()).printTitles = text.substr(text.rfind('!') + 1);
    }

    for (std::size_t index = 0; index < sheets.size(); ++index) {
        PrintedSheet& sheet = sheets[index];
        const pugi::xml_document xml = parse(package, "xl/worksheets/sheet" + std::to_string(index + 1) + ".xml");
        const pugi::xml_node root = xml.child("worksheet");
        for (pugi::xml_node row : root.child("sheetData").children("row"))
            for (pugi::xml_node cell : row.children("c")) {
                const std::string type = cell.attribute("t").value();
                std::string text;
                if (type == "inlineStr")
                    text = textOf(cell.child("is"));
                else if (type == "s")
                    text = shared.at(cell.child("v").text().as_uint());
                else
                    continue; // numbers never belong in these sheets
                int rowNumber = 0;
                int column = 0;
                if (workbook::parseCellReference(cell.attribute("r").value(), rowNumber, column))
                    sheet.cells[{rowNumber, column}] = text;
            }
        for (pugi::xml_node brk : root.child("rowBreaks").children("brk"))
            sheet.breaksAfterRows.push_back(brk.attribute("id").as_int());
        for (pugi::xml_node range : root.child("mergeCells").children("mergeCell"))
            sheet.merged.push_back(range.attribute("ref").value());
        const pugi::xml_node setup = root.child("pageSetup");
        sheet.paperSize = setup.attribute("paperSize").value();
        sheet.orientation = setup.attribute("orientation").value();
        sheet.fitToWidth = setup.attribute("fitToWidth").as_string("1");
        sheet.fitToHeight = setup.attribute("fitToHeight").as_string("1");
        sheet.fitToPage = root.child("sheetPr").child("pageSetUpPr").attribute("fitToPage").as_bool();
    }
    return sheets;
}

} // namespace sedilo::test
