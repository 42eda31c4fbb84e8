#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "export/ExportTab.h"
#include "rooms/ArrangementOptions.h"
#include "rooms/SeatingRule.h"

namespace sedilo::cli {

// Exit code of a run that left examinees without a room.
inline constexpr int kExitUnseated = 3;

enum class QueryExport { None, PerUnit, ForAll };

// A whole arrangement from the command line, through the window's operations:
// import (tab 0), rooms added one by one (tab 1), generation (tab 2), the
// query export and the print-ready sheets (tab 3).
struct ArrangementJob {
    std::string examineeWorkbook;
    std::vector<std::pair<std::string, std::string>> rooms; // name, template path
    std::string outputFolder;
    std::string databaseFile; // empty: a temporary database
    rooms::ExamineeOrdering ordering = rooms::ExamineeOrdering::ScoreDescending;
    rooms::FillDirection fill = rooms::FillDirection::Vertical;
    std::optional<std::uint64_t> seed;
    QueryExport queryExport = QueryExport::None;
    std::optional<exporting::PrintSheetChoice> printSheets; // none: no print-ready sheets
    std::optional<rooms::Neighbourhood> apart; // "同单位不相邻" with its neighbourhood
    std::string apartReport;                  // with apart: file for the pairs still sharing a unit
};

// Runs the job, printing the closing message and a summary on `out` (with
// apart, then "same-unit neighbours: K") and every
// error (with its cause) on `err`. Returns the exit code: 0 all seated,
// kExitUnseated when some examinees got no room, 1 on a failure.
int runArrangement(const ArrangementJob& job, std::ostream& out, std::ostream& err);

// ROOMS.tsv: one room a line, NAME<TAB>TEMPLATE, relative templates taken
// from the file's folder. Throws std::runtime_error naming the line at fault.
std::vector<std::pair<std::string, std::string>> readRoomList(const std::string& path);

// A shipped data file: beside the executable, or in data/ of the source tree
// the executable was built from.
std::string shippedDataFile(const std::string& name);

} // namespace sedilo::cli
