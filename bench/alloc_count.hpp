// Counts the heap allocations of the benchmark binary: this binary replaces the global
// operator new, so every allocation made through it (the library's too) is counted.
#pragma once

#include <cstddef>

namespace ravlet::bench {

struct AllocCount {
    std::size_t calls = 0;
    std::size_t bytes = 0;
};

// The allocations made so far by this process.
AllocCount AllocationsSoFar();

// Adds the allocations made during its lifetime to `total`.
class AllocScope {
public:
    explicit AllocScope(AllocCount& total) : total_(total), start_(AllocationsSoFar()) {}
    ~AllocScope() {
        const AllocCount now = AllocationsSoFar();
        total_.calls += now.calls - start_.calls;
        total_.bytes += now.bytes - start_.bytes;
    }
    AllocScope(const AllocScope&) = delete;
    AllocScope& operator=(const AllocScope&) = delete;

private:
    AllocCount& total_;
    AllocCount start_;
};

}  // namespace ravlet::bench
