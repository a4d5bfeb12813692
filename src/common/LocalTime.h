#pragma once

// With TZ unset, the C library looks at /etc/localtime again (a stat) on every conversion of a
// local date and time, and an import or a batch converts several per row. Pointing TZ at that same
// file keeps the zone the system uses and reads it once. Call at start-up, before any thread.
void pinLocalTimeZone();
