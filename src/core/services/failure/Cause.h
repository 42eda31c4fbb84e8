#pragma once

#include <string>

namespace sedilo {

// What went wrong, as a kind plus its subject. Operations carry this value
// up to the one that owns the message box; the Chinese sentence is made
// there, from CauseCatalogue, and the technical detail stays in `detail`.
enum class CauseKind {
    Unknown,              // no better kind known; the detail says what happened
    FileMissing,          // file
    NotARegularFile,      // file: a folder, FIFO, device or socket
    FileUnreadable,       // file (permissions, I/O error)
    FolderMissing,        // file: the folder
    FolderNotWritable,    // file: the folder
    FileNotWritable,      // file
    DiskFull,             // file: what was being written
    NotAWorkbook,         // file
    DamagedWorkbook,      // file
    PasswordProtected,    // file
    WorkbookTooLarge,     // file
    EmptySheet,           // file
    ErrorCell,            // file, row, column
    FormulaWithoutResult, // file, row, column
    TextTooLong,          // file, row, column
    NotAFileName,         // name
    DuplicateRoom,        // room
    UnitCollidesWithRoom, // unit, room
    OutputIsTemplate,     // room, file: the template in the way
    DatabaseInUse,        // file: the database
    DatabaseUnusable,     // file: the database
    NoOrderingTicked,
    OutOfMemory,          // file when known
    UnsupportedWorkbookFormat, // file: an Excel 2-5/95 workbook
    UnitsShareFileName,   // unit: two units whose query workbooks get one name
    NameNotStorable,      // file, row, column: a name the cipher refuses
    BadRoomListLine,      // file, row: a line of a command-line room list
    OutputCollidesWithRoom,          // name: the file written; room; file: the room workbook
    OutputCollidesWithQueryWorkbook, // name: the file written; unit; file: the query workbook
    Interrupted,          // the run was stopped by a signal
    RoomListEmpty,        // file: the room list
    NulInRoomList,        // file: the room list, row: its line
    NotAFolder,           // file: what was given as a folder
    NoDesktopHandler,     // file: the file or folder the desktop was to show
    NoHomeFolder,         // file: the database that has no folder to live in
};

struct Cause {
    CauseKind kind = CauseKind::Unknown;
    std::string file;  // a file or folder
    int row = 0;       // 1-based worksheet row; 0 when no cell is meant
    int column = 0;    // 1-based worksheet column
    std::string name;  // a text that cannot be a file name
    std::string room;
    std::string unit;
    std::string detail; // technical (English, errno text, SQL, library message)
};

} // namespace sedilo
