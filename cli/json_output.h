// json_output.h: the run of vetrix-check as one JSON document.
//
// Members in order: assays, mixtures, channels, curves, messages. Doubles are written in
// their shortest round-trip form; kNoValue is null; NaN and infinities are the strings
// "NaN", "Infinity", "-Infinity".
#pragma once

#include <string>

#include "calc/messages.h"
#include "calc/run.h"
#include "data/loaded_lists.h"

std::string RunToJson(const LoadedLists& lists, const CalculationContext& context, const MessageLog& log);
