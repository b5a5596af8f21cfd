#include "app/update_schedule.h"

#include <ctime>

#include "settings/settings_writer.h"

namespace app {

CalendarDay localCalendarDay() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (now == std::time_t(-1) || !localtime_r(&now, &local)) return {};
    return {local.tm_mday, local.tm_wday + 1, local.tm_mon + 1};
}

bool updateCheckDue(int32_t schedule, const UpdateStamps& last, const CalendarDay& today) {
    switch (schedule) {
        case kUpdateEveryStart:
            return true;
        case kUpdateDaily:
            return today.dayOfMonth != last.day;
        case kUpdateWeekly:
            // The first later day of the month past the end of the last check's week;
            // a day below the last one means a new month has begun, which the day
            // count alone would miss for checks late in a month. 64-bit sums: the
            // stamps may be hand-edited to anything.
            return int64_t(today.dayOfMonth) > int64_t(last.day) + 7 - int64_t(last.week) ||
                   today.dayOfMonth < last.day;
        case kUpdateMonthly:
            return today.month != last.month;
        default:
            return false;
    }
}

bool takeScheduledCheck(settings::SettingsWriter& document, const CalendarDay& today) {
    const int32_t schedule = document.read(settings::keys::kUpdateCheck);
    const UpdateStamps last{document.read(settings::keys::kUpdateDay),
                            document.read(settings::keys::kUpdateWeek),
                            document.read(settings::keys::kUpdateMonth)};
    if (!updateCheckDue(schedule, last, today)) return false;
    if (schedule == kUpdateEveryStart) return true;

    if (schedule == kUpdateDaily || schedule == kUpdateWeekly)
        document.write(settings::keys::kUpdateDay, today.dayOfMonth);
    if (schedule == kUpdateWeekly) document.write(settings::keys::kUpdateWeek, today.dayOfWeek);
    if (schedule == kUpdateMonthly) document.write(settings::keys::kUpdateMonth, today.month);
    document.save();
    return true;
}

}  // namespace app
