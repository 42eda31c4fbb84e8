#include "app/LocalTimeZone.h"

#include <cstdlib>
#include <ctime>

namespace sedilo::session {

void pinLocalTimeZone()
{
    if (std::getenv("TZ") == nullptr) {
        ::setenv("TZ", ":/etc/localtime", 0);
        ::tzset();
    }
}

} // namespace sedilo::session
