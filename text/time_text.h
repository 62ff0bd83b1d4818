// The one text form of a time, "2021年8月19日13时5分7秒" (trailing zero fields
// dropped), its parser, and the conversion of any value to a time.
#pragma once

#include <optional>

#include "text/text.h"
#include "text/value.h"
#include "time/time.h"

namespace tc {

// The time text of clamp_time(v), fields rounded to the nearest second.
Text format_time_text(TimeValue v);
// The time a text stands for, or nullopt when it is not a valid time text.
std::optional<TimeValue> parse_time_text(TextView text);
// A text through parse_time_text (TIME_MIN when it fails); a time unchanged;
// any other kind TIME_MIN.
TimeValue value_to_time(const Value& value);

}  // namespace tc
