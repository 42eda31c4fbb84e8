#include "store/Recordset.h"

#include <algorithm>
#include <map>
#include <optional>

#include <sqlite3.h>

#include "services/workbook/Utf8.h"
#include "store/ColumnAffinity.h"
#include "store/Connection.h"
#include "store/DatabaseError.h"
#include "store/SelectPlan.h"
#include "store/SqliteStatement.h"

namespace sedilo::store {

namespace {

enum class Editing { None, NewRow, CurrentRow };

DatabaseError notOpen()
{
    return DatabaseError("data.mdb", "the result set is not open");
}

} // namespace

struct Recordset::State {
    Connection* connection = nullptr;
    std::size_t attachment = 0;
    std::string file;
    std::string table;
    std::vector<std::string> columns;
    std::vector<Affinity> affinities;
    std::vector<bool> hasDefault;
    std::vector<std::vector<Field>> rows;
    std::vector<std::int64_t> rowIds;
    std::size_t position = 0;
    Editing editing = Editing::None;
    std::vector<std::optional<Field>> pending;
    // Prepared once per set of columns written (and read-back need) and reused.
    std::map<std::vector<bool>, SqliteStatement> inserts;
    std::map<std::vector<bool>, SqliteStatement> updates;

    [[noreturn]] void fail(const std::string& cause) const { throw DatabaseError(file, cause); }

    std::size_t columnIndex(const std::string& column) const
    {
        const auto found = std::find(columns.begin(), columns.end(), column);
        if (found == columns.end())
            fail("the result set has no column " + column);
        return static_cast<std::size_t>(found - columns.begin());
    }

    // The columns written, and last whether the row must be read back because
    // SQLite may store a value with another type than it was given.
    std::vector<bool> writeShape(bool appending) const
    {
        std::vector<bool> shape(pending.size() + 1);
        bool readBack = false;
        for (std::size_t i = 0; i < pending.size(); ++i) {
            shape[i] = pending[i].has_value();
            if (pending[i])
                readBack = readBack || !storedUnchanged(affinities[i], *pending[i]);
            else
                readBack = readBack || (appending && hasDefault[i]);
        }
        shape.back() = readBack;
        return shape;
    }

    SqliteStatement& statementFor(const std::vector<bool>& shape, bool appending)
    {
        auto& cache = appending ? inserts : updates;
        if (auto found = cache.find(shape); found != cache.end())
            return found->second;
        std::string names;
        std::string places;
        std::string assignments;
        for (std::size_t i = 0; i + 1 < shape.size(); ++i) {
            if (!shape[i])
                continue;
            const char* separator = names.empty() ? "" : ", ";
            names += separator + quotedName(columns[i]);
            places += std::string(separator) + "?";
            assignments += separator + quotedName(columns[i]) + " = ?";
        }
        std::string sql;
        if (appending)
            sql = "INSERT INTO " + quotedName(table)
                  + (names.empty() ? " DEFAULT VALUES" : " (" + names + ") VALUES (" + places + ")");
        else
            sql = "UPDATE " + quotedName(table) + " SET " + assignments + " WHERE _rowid_ = ?";
        if (shape.back())
            sql += " RETURNING _rowid_, *";
        return cache.emplace(shape, SqliteStatement(connection->handle(), sql, file)).first->second;
    }

    // Writes the pending values as a new row or into the current row, and keeps
    // the materialised copy equal to what was stored.
    void writeRow(bool appending)
    {
        const std::vector<bool> shape = writeShape(appending);
        SqliteStatement& statement = statementFor(shape, appending);
        int index = 1;
        for (const auto& value : pending) {
            if (value)
                statement.bind(index++, *value);
        }
        if (!appending)
            statement.bind(index, rowIds[position]);
        connection->beginWriteBatch();
        try {
            std::vector<Field> stored;
            std::int64_t storedId = 0;
            if (shape.back()) {
                if (!statement.step())
                    fail("the row to write back no longer exists");
                stored.resize(columns.size());
                const auto count = std::min<std::size_t>(columns.size(), static_cast<std::size_t>(statement.columnCount() - 1));
                for (std::size_t i = 0; i < count; ++i) {
                    stored[i] = statement.column(static_cast<int>(i + 1));
                    // RETURNING shows a whole REAL as SQLite keeps it on disk; a select reads it as a real.
                    if (const auto* whole = std::get_if<std::int64_t>(&stored[i]); whole && affinities[i] == Affinity::Real)
                        stored[i] = static_cast<double>(*whole);
                }
                storedId = std::get<std::int64_t>(statement.column(0));
                while (statement.step()) {
                }
            } else {
                statement.step();
                if (!appending && sqlite3_changes(connection->handle()) == 0)
                    fail("the row to write back no longer exists");
                statement.reset();
                // An updated row takes the written values in place; copying
                // the whole row for each seat was most of the write-back.
                std::vector<Field>& target = appending ? stored : rows[position];
                if (appending)
                    stored.resize(columns.size());
                for (std::size_t i = 0; i < pending.size(); ++i) {
                    if (pending[i])
                        target[i] = std::move(*pending[i]);
                }
                if (!appending)
                    return;
                storedId = sqlite3_last_insert_rowid(connection->handle());
            }
            statement.reset();
            if (appending) {
                rows.push_back(std::move(stored));
                rowIds.push_back(storedId);
                position = rows.size() - 1;
            } else {
                rows[position] = std::move(stored);
            }
        } catch (...) {
            statement.reset();
            throw;
        }
    }

    // Declared types and defaults of the table's columns, for writeShape().
    void readColumnTypes()
    {
        affinities.assign(columns.size(), Affinity::None);
        hasDefault.assign(columns.size(), false);
        if (table.empty())
            return;
        SqliteStatement info(connection->handle(), "PRAGMA table_info(" + quotedName(table) + ")", file);
        while (info.step()) {
            const auto found = std::find(columns.begin(), columns.end(), fieldText(info.column(1)));
            if (found == columns.end())
                continue;
            const auto at = static_cast<std::size_t>(found - columns.begin());
            affinities[at] = affinityOf(fieldText(info.column(2)));
            hasDefault[at] = !std::holds_alternative<std::monostate>(info.column(4));
        }
    }
};

Recordset::Recordset() = default;

Recordset::~Recordset()
{
    try {
        close();
    } catch (...) {
        // Nothing can be reported from a destructor.
    }
}

void Recordset::open(const std::string& sql, Connection& connection)
{
    close();
    if (!connection.isOpen())
        throw DatabaseError(connection.filePath(), "the connection is not open");
    connection.logStatement(sql);
    connection.commitWriteBatch();

    auto state = std::make_unique<State>();
    state->connection = &connection;
    state->file = connection.filePath();
    const SelectPlan plan = planSelect(sql);
    state->table = plan.table;
    SqliteStatement select(connection.handle(), plan.sql, state->file);
    const int first = plan.table.empty() ? 0 : 1;
    for (int i = first; i < select.columnCount(); ++i)
        state->columns.push_back(select.columnName(i));
    while (select.step()) {
        std::vector<Field> row(state->columns.size());
        for (std::size_t i = 0; i < row.size(); ++i)
            row[i] = select.column(static_cast<int>(i) + first);
        state->rows.push_back(std::move(row));
        state->rowIds.push_back(first ? std::get<std::int64_t>(select.column(0)) : 0);
    }
    state->readColumnTypes();
    State* raw = state.get();
    state->attachment = connection.attachResultSet([this, raw] {
        if (m_state.get() == raw) {
            raw->connection = nullptr;
            m_state.reset();
        }
    });
    m_state = std::move(state);
}

bool Recordset::isOpen() const
{
    return m_state != nullptr;
}

void Recordset::close()
{
    if (!m_state)
        return;
    std::unique_ptr<State> state = std::move(m_state);
    if (!state->connection)
        return;
    // Statements are finalized before the batch they wrote is committed.
    state->inserts.clear();
    state->updates.clear();
    Connection& connection = *state->connection;
    connection.detachResultSet(state->attachment);
    state.reset();
    connection.commitWriteBatch();
}

long Recordset::rowCount() const
{
    if (!m_state)
        throw notOpen();
    return static_cast<long>(m_state->rows.size());
}

bool Recordset::atEnd() const
{
    return !m_state || m_state->position >= m_state->rows.size();
}

void Recordset::moveFirst()
{
    if (!m_state)
        throw notOpen();
    if (m_state->editing != Editing::None)
        update();
    m_state->position = 0;
}

void Recordset::moveNext()
{
    if (!m_state)
        throw notOpen();
    if (m_state->editing != Editing::None)
        update();
    if (m_state->position >= m_state->rows.size())
        m_state->fail("there is no current row to move from");
    ++m_state->position;
}

Field Recordset::value(const std::string& column) const
{
    if (!m_state)
        throw notOpen();
    const std::size_t index = m_state->columnIndex(column);
    if (m_state->editing != Editing::None && m_state->pending[index])
        return *m_state->pending[index];
    if (m_state->editing == Editing::NewRow)
        return std::monostate{};
    if (m_state->position >= m_state->rows.size())
        m_state->fail("there is no current row");
    return m_state->rows[m_state->position][index];
}

std::string Recordset::text(const std::string& column) const
{
    return fieldText(value(column));
}

void Recordset::addNew()
{
    if (!m_state)
        throw notOpen();
    if (m_state->editing != Editing::None)
        update();
    if (m_state->table.empty())
        m_state->fail("rows cannot be added through this statement");
    m_state->editing = Editing::NewRow;
    m_state->pending.assign(m_state->columns.size(), std::nullopt);
}

void Recordset::setValue(const std::string& column, Field value)
{
    if (!m_state)
        throw notOpen();
    const std::size_t index = m_state->columnIndex(column);
    if (m_state->editing == Editing::None) {
        if (m_state->position >= m_state->rows.size())
            m_state->fail("there is no current row to change");
        if (m_state->table.empty())
            m_state->fail("rows cannot be changed through this statement");
        m_state->editing = Editing::CurrentRow;
        m_state->pending.assign(m_state->columns.size(), std::nullopt);
    }
    // A workbook's text may hold bytes that are no UTF-8; the database and
    // the file names made from it only ever get U+FFFD in their place.
    if (auto* text = std::get_if<std::string>(&value); text && !workbook::isValidUtf8(*text))
        *text = workbook::validUtf8(*text);
    m_state->pending[index] = std::move(value);
}

void Recordset::update()
{
    if (!m_state)
        throw notOpen();
    State& state = *m_state;
    if (state.editing == Editing::None)
        return;
    if (!state.connection || !state.connection->isOpen())
        state.fail("the connection is closed");
    const Editing editing = state.editing;
    // The edit ends whether or not the write succeeds: one attempt per row.
    state.editing = Editing::None;
    try {
        if (editing == Editing::NewRow)
            state.writeRow(true);
        else if (std::any_of(state.pending.begin(), state.pending.end(), [](const auto& value) { return value.has_value(); }))
            state.writeRow(false);
    } catch (...) {
        state.pending.clear();
        throw;
    }
    state.pending.clear();
}

} // namespace sedilo::store
