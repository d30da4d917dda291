// What the number tools read of the moment chosen in the main window: the lunar-date and
// four-pillars texts of its model, as the calendar labels last computed them (empty before).
#pragma once

#include <string>

std::string ChartLunarDateText();
std::string ChartFourPillarsText();
