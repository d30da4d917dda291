// Date rules of the month-grid control that need no window: the first day the grid shows,
// month steps, week numbers, English names and the cut of a festival text that does not fit.
#pragma once

#include <string>

#include "calendar/engine/LunarEngine.h"
#include "platform/DateTime.h"

// The top-left day of the grid for a month: weeks start on Sunday, or on Monday with
// `iso8601`; a month whose 1st opens a week shows the whole week before it.
TDate FirstShownDate(int year, int month, bool iso8601);

// The same day `months` months later (or earlier), kept where the target month has it, else
// its last day; the time of day is kept.
TDateTime IncMonth(TDateTime date, int months);

// ISO 8601 week number (1 .. 53) and the number of ISO weeks of a year (52 or 53).
int IsoWeekNumber(TDate date);
int IsoWeeksInYear(int year);

// Week of the year as the calendar's hint counts it: the ISO week with `iso8601`, otherwise
// weeks that start on Sunday with the week holding 1 January as week 1.
int CalendarWeekOfYear(TDate date, bool iso8601);

// English day names by index mod 7 (0 = Sunday) and month names 1 .. 12 (empty otherwise);
// kind 0 short ("Sun", "Jan"), 1 long ("Sunday", "January").
std::string EnglishDayName(int index, int kind);
std::string EnglishMonthName(int month, int kind);

// A festival text of more than `limit` bytes cut so that it ends with "…" and no two-byte
// character is split; shorter texts come back unchanged.
std::string CutFestivalText(const std::string& text, int limit);

// Year and month of sexagenary indices as the title and the hint show them: "丙戌(狗)年庚子月".
std::string GanZhiYearMonthText(const TGanZhiIndex& index);
