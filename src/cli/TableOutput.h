#pragma once
// The tables as `list` prints them: an aligned table for people, and JSON and CSV for scripts.
// The JSON shape and the CSV columns are relied on by scripts and stay stable.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/Table.h"

namespace kestrune::cli {

enum class OutputFormat { Text, Json, Csv };

// "text", "json" or "csv", ignoring case.
std::optional<OutputFormat> ParseOutputFormat(std::string_view text);

// {"tables":[{"number":..,"kind":..,"caption":..,"columns":[..],"rows":[{"position":..,
// "ticked":..,"icon":..,"publisher":..,"values":{column:text,..}}]}]}, on one line. Rows of the
// five location tables also carry "publisher", "key" (the mark of the key they live in: "",
// "32-bit", "this user" or "policy") and "disabledInWindows" (Windows' own approval value
// switches the entry off). Rows of the Delayed table end with "impact": {"band": "High",
// "Medium", "Low" or "Not measured", "cpuMs", "bytesRead", "bytesWritten", "seconds"}, the
// figures null when not measured.
std::string TablesToJson(const std::vector<const Table*>& tables);

// A header line "Table,Position,Ticked," and the column names of the listed tables (each
// name once, in the order first met), with "Publisher", "Key" and "Windows" after them when a
// location table is listed (the key's mark, and "disabled in Windows Settings"), and "Impact",
// "CPU ms", "Bytes read", "Bytes written", "Measured seconds" when Delayed is, then one line
// per row; RFC 4180 quoting, CRLF endings.
std::string TablesToCsv(const std::vector<const Table*>& tables);

// Each table under a heading line, its rows aligned in columns.
std::string TablesToText(const std::vector<const Table*>& tables);

std::string FormatTables(OutputFormat format, const std::vector<const Table*>& tables);

// One CSV field: quoted when it holds a comma, a double quote, a line break or leading or
// trailing spaces; double quotes doubled.
std::string CsvField(std::string_view text);

}  // namespace kestrune::cli
