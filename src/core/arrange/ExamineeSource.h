#pragma once

#include <string>

namespace sedilo::arrange {

// Where a room's examinees come from: the current examinee's values as text,
// and the call that gives the current examinee a seat and moves on. The
// generation run drives it from the ordering cursor; anything offering the
// same serves (the seats check, tests).
class ExamineeSource {
public:
    virtual ~ExamineeSource() = default;

    // True when no examinee is left.
    virtual bool exhausted() const = 0;

    virtual std::string name() const = 0;   // 姓名
    virtual std::string number() const = 0; // 考号
    virtual std::string unit() const = 0;   // 单位

    // Records the seat of the current examinee and advances; false when no
    // examinee remains afterwards.
    virtual bool AssignSeat(const std::string& room, int seat) = 0;
};

} // namespace sedilo::arrange
