// stdout_writer.h: standard output written and checked, for programs whose output a
// script reads.
//
// A full disk, /dev/full or a closed descriptor shows only in the count fwrite returns or
// in the stream's error flag after the flush; a program that ignores both exits 0 with its
// output cut. Costs: one fwrite and one fflush.
//
// Assumes POSIX descriptors (the reservation below).
#pragma once

#include <string>
#include <string_view>

namespace sys {

// Writes `bytes` to standard output and flushes it. False, with one line in `error`
// naming the operating system's reason ("No space left on device", "Bad file
// descriptor"), when not every byte reached the descriptor.
[[nodiscard]] bool WriteStdout(std::string_view bytes, std::string& error);

}  // namespace sys

namespace sys {

// Keeps descriptors 0, 1 and 2 taken when the program was started without them
// (`>&-`): a closed one is given /dev/null opened read-only, so no file the program opens
// later becomes "standard output", and writing there still fails (EBADF). Call first
// thing in main.
void ReserveStandardStreams();

}  // namespace sys
