#pragma once

#include <optional>
#include <string>

#include "arrange/GenerateTab.h"
#include "arrange/SeatCounts.h"
#include "basedata/BaseDataTab.h"
#include "export/ExportTab.h"
#include "rooms/RoomsTab.h"
#include "services/Prompt.h"
#include "services/cipher/NameCipher.h"
#include "store/SeatingDatabase.h"

namespace sedilo::session {

// Everything one run of the program works on: the seating database with its
// shared handles, the name cipher, and what each tab's operations read and
// write. The window owns one; nothing of it is global.
struct Session {
    Session(std::string databasePath, Prompt& prompt)
        : database(std::move(databasePath)), cipher(prompt)
    {
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    store::SeatingDatabase database;
    cipher::NameCipher cipher;
    basedata::BaseDataTab baseData;
    rooms::RoomsTab rooms;
    arrange::GenerateTab generate;
    exporting::ExportTab exporting;
    // The seats of the room list's templates, counted once per file version.
    arrange::SeatCounts seatCounts;
    // The examinees in the base data as last counted (an import, or the tab
    // guard's check); none until then.
    std::optional<long> baseDataExaminees;
};

} // namespace sedilo::session
