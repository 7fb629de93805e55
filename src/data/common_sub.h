// TEMPORARY stand-in until the shared routines are merged; replaced then.
#ifndef QZ_DATA_COMMON_SUB_H_
#define QZ_DATA_COMMON_SUB_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qz {

bool Fnc_SplitDelimited(std::string_view text, std::string_view max_text, std::string_view sep,
                        std::string_view quote, std::vector<std::string>& items,
                        std::int16_t& count, std::string& rest);

}  // namespace qz

#endif  // QZ_DATA_COMMON_SUB_H_
