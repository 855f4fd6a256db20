// csv_export.h: vetrix-check --write-csv DIR — what a check loaded, written as the two
// CSV files that vetrix-import reads (DIR/areas.csv and DIR/certificates.csv).
//
// The files hold the loaded chromatograms (hidden and deleted rows were never loaded)
// and the loaded mixtures, with pressure and temperature as the loader decided them
// (empty where it has none, for example when the chromatogram file was unreadable), the
// mixture named only where the loader found it, every certificate with its mixture_id,
// and the host's name identifiers (nameid) of peaks and certificate components as
// component_id, in the text the loader read. Numbers are written exactly, dates in local time; UTF-8 without a
// byte-order mark, ',' as delimiter, CR LF line ends, quotes where a field needs them.
#pragma once

#include <string>

#include "data/loaded_lists.h"

// One CSV field: quoted (quotes doubled) when it holds the delimiter, a quote, a line
// break or blanks at either end.
std::string CsvField(const std::string& utf8);

// The two files' texts.
std::string AreasCsv(const LoadedLists& lists);
std::string CertificatesCsv(const LoadedLists& lists);

// Writes both files into `dir` (created when missing), each under a temporary name
// renamed when both are complete. Empty on success, else one line with the path and the
// reason.
[[nodiscard]] std::string WriteCheckCsv(const LoadedLists& lists, const std::string& dir);
