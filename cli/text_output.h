// text_output.h: the run of vetrix-check as plain aligned text: the results table, the
// points of every curve (with --points), then the system messages.
#pragma once

#include "calc/messages.h"
#include "calc/run.h"

sys::Text RunToText(const CalculationContext& context, const MessageLog& log, int digits, bool points);
