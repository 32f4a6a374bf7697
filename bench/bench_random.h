// The program's own linear congruential generator, so every benchmark run
// sees the same data.
#pragma once

#include <cstdint>

namespace dalvex {

class Lcg {
  public:
    double Next() {
        seed_ = seed_ * 134775813u + 1;
        return seed_ * (1.0 / 4294967296.0);
    }

  private:
    std::uint32_t seed_ = 2024;
};

}  // namespace dalvex
