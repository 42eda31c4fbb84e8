#pragma once

namespace sedilo::session {

// With TZ unset the C library looks at /etc/localtime again on every local
// time conversion, and the zip writer converts one for each part of each
// workbook: tens of thousands of file lookups in a city-wide generation.
// Naming the same zone file once keeps the zone and drops the lookups.
// Call at start-up, before any thread starts.
void pinLocalTimeZone();

} // namespace sedilo::session
