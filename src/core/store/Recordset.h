#pragma once

#include <memory>
#include <string>
#include <vector>

#include "store/Field.h"

namespace sedilo::store {

class Connection;

// A result set over one select statement: exact row count, forward traversal,
// columns read by name, rows appended or the current row updated in place.
class Recordset {
public:
    Recordset();
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    // Opens on a select statement (issued literally) over an open connection.
    void open(const std::string& sql, Connection& connection);
    bool isOpen() const;
    void close();

    long rowCount() const;
    bool atEnd() const;
    void moveFirst();
    void moveNext();

    Field value(const std::string& column) const;
    std::string text(const std::string& column) const; // fieldText(value(column))

    // Appending: addNew(), setValue() for each column, update().
    // Updating the current row: setValue() for each column, update().
    void addNew();
    void setValue(const std::string& column, Field value);
    void update();

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace sedilo::store
