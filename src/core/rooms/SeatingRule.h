#pragma once

namespace sedilo::rooms {

// Which seats count as neighbours: "前后左右" the four beside a seat, or
// "周围八格" those and the four diagonals.
enum class Neighbourhood { Side, Around };

// The frame "座位规则": "同单位不相邻" keeps examinees of one unit off
// neighbouring seats. Unticked, generation seats strictly in the ordering.
struct SeatingRule {
    bool apart = false;
    Neighbourhood neighbourhood = Neighbourhood::Side;
};

} // namespace sedilo::rooms
