#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "basedata/BaseDataImport.h"
#include "basedata/BaseDataTab.h"
#include "services/cipher/NameCipher.h"
#include "store/SeatingDatabase.h"
#include "support/ScriptedPrompt.h"
#include "support/TempDir.h"

namespace sedilo::test {

// One row of jcdata as read back, the name decrypted.
struct StoredExaminee {
    std::string name;
    std::string number;
    std::string unit;
    std::string score;
    double randomNumber = 0;
};

// A fresh database, prompt, cipher and import tab for each test.
class BaseDataTestBed : public ::testing::Test {
protected:
    BaseDataTestBed();

    // A workbook written with the engine's new-workbook writer; returns its path.
    std::string makeWorkbook(const std::string& stem, const std::vector<std::vector<std::string>>& rows) const;
    // A header row and `count` examinees "考生1", "考生2", …
    std::string makeExaminees(const std::string& stem, int count) const;

    basedata::ImportOutcome importFrom(const std::string& path, const basedata::ImportSettings& settings = {});
    std::vector<StoredExaminee> storedExaminees();
    std::vector<basedata::ExamineeGrid::Row> gridRows() const;

    TempDir m_dir;
    store::SeatingDatabase m_database;
    ScriptedPrompt m_prompt;
    cipher::NameCipher m_cipher;
    basedata::BaseDataTab m_tab;
};

} // namespace sedilo::test
