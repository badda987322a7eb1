#pragma once

#include <string>
#include <string_view>

// Every line break of `text` (CR LF, a lone CR or a lone LF) becomes CR LF. The event script
// is stored with CR LF between its lines; a lone CR or LF in the stage record would end the
// record's first line early when it is read back, losing everything after it.
std::string withCrLfLineEnds(std::string_view text);
