#pragma once
// The game's one wall clock. Whatever the time of day decides (the calendar's luck of a new
// hero, the first seed of the random sources) is read here and nowhere else, so that a test
// or a recorded game can stand the clock on a day of its choosing and play the same on every
// day of the year.
#include <cstdint>
#include <optional>

namespace morvath {

// A day of the Gregorian calendar: month 1..12, weekday Sunday = 1 .. Saturday = 7.
struct CalendarDay {
    int year = 0;
    int month = 0;
    int day = 0;
    int weekday = 0;
};

// Today in the local calendar, or the day the clock stands on.
CalendarDay Today();
// A number that differs from start to start: the random sources' first seed. While the
// clock stands on a day it is that day's own number, so nothing then depends on the time.
std::uint64_t ClockTicks();
// Milliseconds on a clock that only runs forward, for pacing what the player watches (a
// spell's flight, the pause after a failed flight); it decides no rule, so it is never pinned.
std::int64_t MonotonicMilliseconds();

// The weekday of a date (Sunday = 1 .. Saturday = 7); 0 for a date the calendar lacks
// (31 April, 29 February 2027).
int Weekday(int year, int month, int day);

// Stands the clock on a day until UnpinClock. A date the calendar lacks changes nothing
// and answers false.
bool PinClock(int year, int month, int day);
void UnpinClock();

// Stands the clock on a day for the lifetime of the object; then it goes back to how it was
// (running, or standing on the day it stood on before).
class PinnedDay {
public:
    PinnedDay(int year, int month, int day);
    ~PinnedDay();
    PinnedDay(const PinnedDay&) = delete;
    PinnedDay& operator=(const PinnedDay&) = delete;

private:
    std::optional<CalendarDay> before_;
};

}  // namespace morvath
