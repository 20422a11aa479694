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
#if defined(EMBRIX_X86_FIRE_ROWS)
    return ProcessorRunsAvx2() ? Avx2FireRows : Sse2FireRows;
#else
    return PortableFireRows;
#endif
}
