// When the update check at start is due, from the schedule the user chose and the
// stamps of the last check kept in the settings document. Plain C++: the calendar
// is handed in, so every rule can be tried on any date.
#pragma once

#include <cstdint>
#include <functional>

namespace settings {
class SettingsWriter;
}

namespace app {

// Today in local time; every field is 0 when the local time cannot be computed.
struct CalendarDay {
    int32_t dayOfMonth = 0;  // 1..31
    int32_t dayOfWeek = 0;   // 1 = Sunday .. 7 = Saturday
    int32_t month = 0;       // 1 = January .. 12
};
using Calendar = std::function<CalendarDay()>;
CalendarDay localCalendarDay();

// The values of GeneralDlg/UpadteCheck; anything else means never.
enum UpdateSchedule : int32_t {
    kUpdateNever = 0,
    kUpdateEveryStart = 1,
    kUpdateDaily = 2,
    kUpdateWeekly = 3,
    kUpdateMonthly = 4,
};

// The stamps of the last scheduled check, as stored.
struct UpdateStamps {
    int32_t day = 0;
    int32_t week = 0;
    int32_t month = 0;
};

// Whether a check at start is due today.
bool updateCheckDue(int32_t schedule, const UpdateStamps& last, const CalendarDay& today);

// Reads the schedule and stamps from the document; when a check is due, writes the
// new stamps and saves before answering true, so a failed download still counts
// as that day's, week's or month's check.
bool takeScheduledCheck(settings::SettingsWriter& document, const CalendarDay& today);

}  // namespace app
