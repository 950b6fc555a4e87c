#include "platform/clock.h"

#include <chrono>
#include <ctime>

namespace morvath {
namespace {

std::optional<CalendarDay>& Pinned() {
    static std::optional<CalendarDay> day;
    return day;
}

bool LeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && LeapYear(year) ? 29 : kDays[month - 1];
}

}  // namespace

int Weekday(int year, int month, int day) {
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) return 0;
    // Counted from a March year, so that the leap day falls at the end of it.
    static constexpr int kMonthShift[12] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    const int y = month < 3 ? year - 1 : year;
    return (y + y / 4 - y / 100 + y / 400 + kMonthShift[month - 1] + day) % 7 + 1;
}

CalendarDay Today() {
    if (Pinned()) return *Pinned();
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_wday + 1};
}

std::uint64_t ClockTicks() {
    if (const auto& d = Pinned()) return (static_cast<std::uint64_t>(d->year) * 12 + d->month) * 31 + d->day;
    return static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
           static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

std::int64_t MonotonicMilliseconds() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool PinClock(int year, int month, int day) {
    const int weekday = Weekday(year, month, day);
    if (weekday == 0) return false;
    Pinned() = CalendarDay{year, month, day, weekday};
    return true;
}

void UnpinClock() { Pinned().reset(); }

PinnedDay::PinnedDay(int year, int month, int day) : before_(Pinned()) { PinClock(year, month, day); }

PinnedDay::~PinnedDay() { Pinned() = before_; }

}  // namespace morvath
