// The schedule of the update check at start, on an injected calendar, and the
// update description's version.
#include "app/update_schedule.h"

#include <gtest/gtest.h>

#include <climits>

#include "../settings/settings_test_support.h"
#include "app/update_description.h"
#include "settings/settings_writer.h"

namespace {

using app::CalendarDay;
using app::UpdateStamps;

constexpr int32_t kWednesday = 4;

bool due(int32_t schedule, UpdateStamps last, int32_t day, int32_t weekday = 1, int32_t month = 1) {
    return app::updateCheckDue(schedule, last, CalendarDay{day, weekday, month});
}

TEST(UpdateSchedule, DailyComparesOnlyTheDayOfTheMonth) {
    const UpdateStamps fifthOfMarch{5, 0, 3};
    EXPECT_FALSE(due(app::kUpdateDaily, fifthOfMarch, 5, 1, 4));  // 5 April
    EXPECT_TRUE(due(app::kUpdateDaily, fifthOfMarch, 6, 1, 3));
}

TEST(UpdateSchedule, WeeklyWaitsForTheNextWeek) {
    const UpdateStamps wednesday10th{10, kWednesday, 0};
    for (int day = 10; day <= 13; ++day) EXPECT_FALSE(due(app::kUpdateWeekly, wednesday10th, day)) << day;
    for (int day = 14; day <= 31; ++day) EXPECT_TRUE(due(app::kUpdateWeekly, wednesday10th, day)) << day;

    const UpdateStamps wednesday24th{24, kWednesday, 0};
    for (int day = 24; day <= 27; ++day) EXPECT_FALSE(due(app::kUpdateWeekly, wednesday24th, day)) << day;
    EXPECT_TRUE(due(app::kUpdateWeekly, wednesday24th, 28));
}

TEST(UpdateSchedule, WeeklyRunsAgainOnceANewMonthBegins) {
    // After a check late in a month the day count asks for a day above 31; a day
    // of the month below the stamp means a new month has begun.
    const UpdateStamps wednesday28th{28, kWednesday, 0};
    for (int day = 28; day <= 31; ++day) EXPECT_FALSE(due(app::kUpdateWeekly, wednesday28th, day)) << day;
    EXPECT_TRUE(due(app::kUpdateWeekly, wednesday28th, 1));
    EXPECT_TRUE(due(app::kUpdateWeekly, wednesday28th, 27));

    const UpdateStamps saturday31st{31, 7, 0};
    EXPECT_TRUE(due(app::kUpdateWeekly, saturday31st, 1));  // Sunday: a new week, a new month

    // Hand-edited stamps at the ends of the range neither overflow nor stick.
    EXPECT_TRUE(due(app::kUpdateWeekly, UpdateStamps{INT32_MAX, INT32_MIN, 0}, 31));
    EXPECT_TRUE(due(app::kUpdateWeekly, UpdateStamps{INT32_MIN, INT32_MAX, 0}, 1));
}

TEST(UpdateSchedule, MonthlyComparesOnlyTheMonth) {
    const UpdateStamps march{0, 0, 3};
    EXPECT_FALSE(due(app::kUpdateMonthly, march, 20, 1, 3));  // March a year later
    EXPECT_TRUE(due(app::kUpdateMonthly, march, 1, 1, 4));
}

TEST(UpdateSchedule, EveryStartAlwaysAndNeverOrUnknownNever) {
    EXPECT_TRUE(due(app::kUpdateEveryStart, UpdateStamps{7, 7, 7}, 7, 7, 7));
    for (int32_t schedule : {0, -1, 5, INT32_MAX})
        EXPECT_FALSE(due(schedule, UpdateStamps{}, 14)) << schedule;
}

class ScheduledCheckDocument : public SettingsFolder {
  protected:
    void writeGeneral(const std::string& schedule, const std::string& day, const std::string& week,
                      const std::string& month) {
        writeFile(
            "<?xml version=\"1.0\"?>\n<Vantrel>\n\t<Version>1</Version>\n\t<GeneralDlg>\n"
            "\t\t<UpadteCheck>" +
            schedule + "</UpadteCheck>\n\t\t<UpadteDay>" + day + "</UpadteDay>\n\t\t<UpdateWeek>" + week +
            "</UpdateWeek>\n\t\t<UpadteMonth>" + month + "</UpadteMonth>\n\t</GeneralDlg>\n</Vantrel>\n");
    }
    bool take(const CalendarDay& today) {
        settings::SettingsWriter document(path());
        return app::takeScheduledCheck(document, today);
    }
    int32_t stored(settings::IntegerKey key) const { return settings::SettingsReader(path()).read(key); }
};

TEST_F(ScheduledCheckDocument, ADueCheckSavesTodaysStampsFirst) {
    writeGeneral("3", "28", "4", "9");
    EXPECT_TRUE(take(CalendarDay{2, 6, 10}));  // Friday the 2nd of October
    EXPECT_EQ(stored(settings::keys::kUpdateDay), 2);
    EXPECT_EQ(stored(settings::keys::kUpdateWeek), 6);
    EXPECT_EQ(stored(settings::keys::kUpdateMonth), 9);  // the weekly rule keeps the month

    writeGeneral("2", "1", "3", "4");
    EXPECT_TRUE(take(CalendarDay{2, 6, 10}));
    EXPECT_EQ(stored(settings::keys::kUpdateDay), 2);
    EXPECT_EQ(stored(settings::keys::kUpdateWeek), 3);

    writeGeneral("4", "1", "3", "4");
    EXPECT_TRUE(take(CalendarDay{2, 6, 10}));
    EXPECT_EQ(stored(settings::keys::kUpdateMonth), 10);
    EXPECT_EQ(stored(settings::keys::kUpdateDay), 1);
}

TEST_F(ScheduledCheckDocument, NoCheckOrEveryStartWritesNothing) {
    for (const char* schedule : {"1", "2", "0", "-1", "junk"}) {
        writeGeneral(schedule, "14", "3", "5");
        const std::string before = readFile();
        EXPECT_EQ(take(CalendarDay{14, 3, 5}), std::string(schedule) == "1") << schedule;
        EXPECT_EQ(readFile(), before) << schedule;
    }
}

TEST(UpdateDescription, VersionOnlyFromAWellFormedDescription) {
    EXPECT_EQ(app::describedVersion("<VantrelUpdate><Version> 12beta</Version></VantrelUpdate>"), 12);
    EXPECT_EQ(app::describedVersion("<VantrelUpdate><Version/></VantrelUpdate>"), 0);
    EXPECT_EQ(app::describedVersion("<VantrelUpdate><Version>3</Version>"), std::nullopt);
    EXPECT_EQ(app::describedVersion("<VantrelUpdate><Build>3</Build></VantrelUpdate>"), std::nullopt);
    EXPECT_EQ(app::describedVersion("<Vantrel><Version>3</Version></Vantrel>"), std::nullopt);
    EXPECT_EQ(app::describedVersion(""), std::nullopt);

    EXPECT_TRUE(app::offersNewerVersion("<VantrelUpdate><Version>2</Version></VantrelUpdate>", 1));
    EXPECT_FALSE(app::offersNewerVersion("<VantrelUpdate><Version>1</Version></VantrelUpdate>", 1));
    EXPECT_FALSE(app::offersNewerVersion("<VantrelUpdate><Version>-3</Version></VantrelUpdate>", -2));
    EXPECT_FALSE(app::offersNewerVersion("<VantrelUpdate><Version>9", 1));
}

}  // namespace
