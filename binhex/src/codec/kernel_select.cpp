// Picks the kernel once per process, on first use, from what the processor
// offers.
#include "kernel_ops.h"

namespace binhex {

bool kernel_available(Kernel kernel) noexcept {
    switch (kernel) {
    case Kernel::automatic:
    case Kernel::plain:
    case Kernel::wide:
        return true;
    case Kernel::avx2:
        return detail::avx2_kernel_supported();
    }
    return false;
}

Kernel automatic_kernel() noexcept {
    static const Kernel chosen = kernel_available(Kernel::avx2) ? Kernel::avx2 : Kernel::wide;
    return chosen;
}

const char* kernel_name(Kernel kernel) noexcept {
    switch (kernel) {
    case Kernel::automatic:
        return "automatic";
    case Kernel::plain:
        return "plain";
    case Kernel::wide:
        return "wide";
    case Kernel::avx2:
        return "avx2";
    }
    return "unknown";
}

namespace detail {

const KernelOps& kernel_ops(Kernel kernel) noexcept {
    switch (kernel) {
    case Kernel::plain:
        return plain_kernel_ops();
    case Kernel::avx2:
        return avx2_kernel_ops();
    case Kernel::automatic:
    case Kernel::wide:
        break;
    }
    return wide_kernel_ops();
}

} // namespace detail
} // namespace binhex
