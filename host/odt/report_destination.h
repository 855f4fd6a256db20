// report_destination.h: where a finished report may go. Only a regular file is ever
// replaced: an existing device, FIFO, socket or folder under the chosen name is refused
// and left as it is (a rename over /dev/null would put the report in place of the
// device), and a symbolic link is followed, so the report replaces the file it points to
// and the link stays. Costs: one lstat per link followed.
#pragma once

#include <filesystem>
#include <string>

namespace odt {

// The path the report is to be written to for the chosen `destination`: the destination
// itself, or the end of its chain of symbolic links. Empty, with one line in `error`
// ("... is a FIFO, not a regular file; it was left untouched"), when what is there is
// not a regular file, or the links loop.
std::filesystem::path ReportTarget(const std::filesystem::path& destination, std::string& error);

}  // namespace odt
