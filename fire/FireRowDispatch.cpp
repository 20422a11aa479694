#include "fire/FireRowKernels.h"

#if defined(EMBRIX_X86_FIRE_ROWS)
bool ProcessorRunsAvx2()
{
    // Also true only when the system saves the wide registers.
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
}
#endif

const FireRowKernels& FastestFireRows()
{
    // Constant-initialised, so no guard: the frame runs on one thread.
    static const FireRowKernels* chosen = nullptr;
    if (chosen == nullptr) {
#if defined(EMBRIX_X86_FIRE_ROWS)
        chosen = ProcessorRunsAvx2() ? &Avx2FireRows : &Sse2FireRows;
#else
        chosen = &PortableFireRows;
#endif
    }
    return *chosen;
}
