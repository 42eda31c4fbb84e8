#pragma once

namespace sedilo::store::sql {

// Every statement the system issues, exactly as issued.
inline constexpr const char* kDeleteBaseData = "delete from jcdata";
inline constexpr const char* kInsertBaseData =
    "insert into jcdata (姓名, 考号, 单位, 成绩, 随机号) values (?, ?, ?, ?, ?)";
inline constexpr const char* kDeleteWorkingCopy = "delete from jcdatatp";
inline constexpr const char* kReadBaseData = "select 姓名, 考号, 单位, 成绩, 随机号 from jcdata";
inline constexpr const char* kInsertWorkingCopy =
    "insert into jcdatatp (姓名, 考号, 单位, 成绩, 随机号) values (?, ?, ?, ?, ?)";
inline constexpr const char* kSelectBaseData = "select * from jcdata";
inline constexpr const char* kSelectWorkingCopy = "select * from jcdatatp";
inline constexpr const char* kOrderByName = "select * from jcdatatp order by 姓名";
inline constexpr const char* kOrderByNumber = "select * from jcdatatp order by 考号 asc";
inline constexpr const char* kOrderByScoreDesc = "select * from jcdatatp order by 成绩 desc";
inline constexpr const char* kOrderByScoreAsc = "select * from jcdatatp order by 成绩 asc";
inline constexpr const char* kOrderByRandom = "select * from jcdatatp order by 随机号";
inline constexpr const char* kOrderByRoomDesc = "select * from jcdatatp order by 考室 desc";
inline constexpr const char* kOrderByUnit = "select * from jcdatatp order by 单位";
inline constexpr const char* kDeleteRooms = "delete from ksdata";
inline constexpr const char* kSelectRooms = "select * from ksdata "; // the trailing space is part of it

} // namespace sedilo::store::sql
