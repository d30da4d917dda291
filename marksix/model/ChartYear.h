// The lunar year the number windows work in: that of the main window's moment, as its calendar
// labels were last computed.
#pragma once

#include "workbench/model/WorkbenchModel.h"

// The year in the lunar-date text of the labels. A moment before the calendar's first lunar day
// has none: the casts' date error, naming the moment. Labels never computed hold no text at
// all, whose conversion fails.
int ChartLunarYear(const WorkbenchModel& chart);
