#include "analysis/parallel_for.h"

#include <algorithm>
#include <thread>
#include <vector>

namespace barywalk {

void ParallelFor(std::size_t count, int threads,
                 const std::function<void(std::size_t, std::size_t)>& body) {
  const std::size_t parts = threads > 1 ? static_cast<std::size_t>(threads) : 1;
  if (parts == 1 || count < parts) {
    body(0, count);
    return;
  }
  std::vector<std::thread> workers;
  const std::size_t per = (count + parts - 1) / parts;
  for (std::size_t p = 1; p < parts; ++p) {
    const std::size_t begin = std::min(count, p * per);
    const std::size_t end = std::min(count, begin + per);
    workers.emplace_back([&body, begin, end] { body(begin, end); });
  }
  body(0, std::min(count, per));
  for (std::thread& worker : workers) worker.join();
}

}  // namespace barywalk
