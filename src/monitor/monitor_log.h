// The hardware monitoring log: UTF-16LE text without a byte-order mark, CR LF
// line ends, two header lines at the start of a new or empty file, then one row
// per sampling step with each value in its fixed column. Every row opens,
// appends and closes the file, so it is on disk when the step ends.
#pragma once

#include <string>

#include "monitor/sensor_kind.h"

namespace monitor {

// The texts of the lines, without the line end (ASCII).
std::string logTitleLine(const std::string& dateTime);
std::string logHeaderLine(const std::string& dateTime);
// A value of 0 leaves its column blank; a long value pushes the next one right.
std::string logDataRow(const std::string& dateTime, const SensorValues& values);

// Appends one row to the file at path, after the header when the file is new or
// empty. False, with the file as it was, when the row could not be written
// (file not creatable or writable, disk full); nothing is thrown or shown.
bool appendLogRow(const std::string& path, const std::string& dateTime, const SensorValues& values);

}  // namespace monitor
