// Splitting a loop over both cores (or more) for the analyses.
#pragma once

#include <cstddef>
#include <functional>

namespace barywalk {

// Runs body(begin, end) over [0, count) split into contiguous parts on
// `threads` threads (the calling thread takes the first part).
void ParallelFor(std::size_t count, int threads,
                 const std::function<void(std::size_t, std::size_t)>& body);

}  // namespace barywalk
