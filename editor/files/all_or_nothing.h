#pragma once
// The one way every reader changes what it fills: it decodes into copies, and the copies replace
// the caller's map, tables and counts only when the whole input was read. A refused input leaves
// them exactly as they were, however far the decoding got.

#include "files/text_file.h"

#include <QString>

#include <memory>
#include <tuple>

namespace vantor {

inline bool Succeeded(bool complete) { return complete; }
inline bool Succeeded(const LoadResult &result) { return result.outcome == LoadResult::Complete; }
inline bool Succeeded(const QString &problem) { return problem.isEmpty(); }

// Runs decode(copies...) on copies of targets (on the heap: a map store is 186 kB) and moves the
// copies into targets when the result it returns is a success. Returns that result.
template <typename Decode, typename... Targets>
auto DecodeAllOrNothing(Decode &&decode, Targets &...targets)
{
    auto copies = std::make_tuple(std::make_unique<Targets>(targets)...);
    auto result = std::apply([&](auto &...copy) { return decode(*copy...); }, copies);
    if (Succeeded(result))
        std::apply([&](auto &...copy) { ((targets = std::move(*copy)), ...); }, copies);
    return result;
}

} // namespace vantor
