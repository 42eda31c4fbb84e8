#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "arrange/ExamineeSource.h"
#include "arrange/GenerateArrangement.h"
#include "services/cipher/NameCipher.h"
#include "store/SeatingDatabase.h"
#include "support/ScriptedPrompt.h"
#include "support/TempDir.h"

namespace sedilo::test {

// Cell texts by (row, column).
using Cells = std::map<std::pair<int, int>, std::string>;

// Writes `cells` as worksheet 1 of a new .xlsx; returns the saved path.
std::string makeTemplate(const std::string& pathWithoutExtension, const Cells& cells);
// "考室名称" in A1 and `text` in every cell of the rectangle.
Cells seatBlock(int firstRow, int lastRow, int firstColumn, int lastColumn, const std::string& text);
// Worksheet 1 of a saved workbook, read back through the engine.
Cells readCells(const std::string& path);

struct Examinee {
    std::string name;
    std::string number;
    std::string unit;
};

// Examinees from a list; records every seat given.
class ListSource : public arrange::ExamineeSource {
public:
    explicit ListSource(std::vector<Examinee> examinees) : m_examinees(std::move(examinees)) {}

    bool exhausted() const override { return m_next >= m_examinees.size(); }
    std::string name() const override { return m_examinees.at(m_next).name; }
    std::string number() const override { return m_examinees.at(m_next).number; }
    std::string unit() const override { return m_examinees.at(m_next).unit; }
    bool AssignSeat(const std::string& room, int seat) override;

    std::vector<std::pair<std::string, int>> seats; // (room, seat) per examinee given one

private:
    std::vector<Examinee> m_examinees;
    std::size_t m_next = 0;
};

// "A1", "A2", … as examinees of unit "一班".
std::vector<Examinee> namedExaminees(const std::string& prefix, int count);

// One row of jcdatatp as generation left it.
struct Placement {
    std::string name;
    std::string room;
    std::string seat;
    bool operator==(const Placement&) const = default;
};

// A database with base data, a room list and an output folder per test.
class GenerationBed : public ::testing::Test {
protected:
    GenerationBed();

    // Stores examinees in jcdata; the i-th (from 0) gets score 1000 - i and
    // random number count - i, so score-descending order is list order and
    // random order its reverse.
    void storeExaminees(const std::vector<Examinee>& examinees);
    void storeExaminees(int count) { storeExaminees(namedExaminees("考生", count)); }
    void addRoom(const std::string& name, const std::string& templatePath);
    arrange::GenerationResult generate(unsigned workers = 0);

    // jcdatatp in score-descending order (the default ordering).
    std::vector<Placement> placements();
    // Names of the files in the output folder, sorted.
    std::vector<std::string> outputFiles() const;
    std::string ksmb() const;

    TempDir m_dir;
    std::string m_out; // the output folder, with its trailing separator
    store::SeatingDatabase m_database;
    ScriptedPrompt m_prompt;
    cipher::NameCipher m_cipher;
    arrange::GenerateTab m_tab;
    rooms::RoomsTab m_rooms;
    std::vector<ProgressState> m_progress; // every state the progress control went through
};

} // namespace sedilo::test
