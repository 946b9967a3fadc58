// Stands in for the x86-64 kernel on other processors: it is never available,
// and asking for it gives the portable one.
#include "kernel_ops.h"

namespace binhex::detail {

const KernelOps& avx2_kernel_ops() noexcept {
    return wide_kernel_ops();
}

bool avx2_kernel_supported() noexcept {
    return false;
}

} // namespace binhex::detail
