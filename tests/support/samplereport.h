#pragma once

#include "reportfile/report.h"

namespace zortest {

// A club's report with every field filled in as a club officer would, ready to
// be saved: members in every age group (a zero and a three-digit count among
// them; 156 men and 39 women, 195 in all), letters beyond ASCII in the street
// and the masters, and three masters in list order: "Abe;Taro;3",
// "Müller;Hans;2" and "Zimmer;Anna;10".
zor::Report sampleReport();

// The same report with `masters` masters instead, for long lists, in list
// (sorted) order: "Müller000001;Jürgen;2", "Müller000002;Jürgen;3", ... the
// grade going round 1 to 10.
zor::Report sampleReport(int masters);

} // namespace zortest
