#include "marksix/model/ChartYear.h"

#include "marksix/logic/NumberRules.h"

int ChartLunarYear(const WorkbenchModel& chart) {
  const CalendarLabels& labels = chart.Labels();
  if (!labels.LunarDateText.empty() && labels.Lunar.Year == 0) chart.RaiseMomentOutOfCalendar();
  return LunarYearOf(labels.LunarDateText);
}
