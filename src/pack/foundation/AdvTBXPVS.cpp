#include "AdvTBXPVS.h"

namespace AdvTBXPVS {
XPVS_FUNCTIONS_HEAD(XPVS_DEFINE)
XPVS_FUNCTIONS_TAIL(XPVS_DEFINE)

namespace {
const xpvs::TSlot slots[] = {XPVS_FUNCTIONS_HEAD(XPVS_SLOT) XPVS_FUNCTIONS_TAIL(XPVS_SLOT)};
xpvs::TUnit unit{L"AdvTBXPVS.pas", 1780, slots, std::size(slots)};
CRITICAL_SECTION guard;
bool guardReady = false;
int references = 0;

class TGuard {
public:
    TGuard() { EnterCriticalSection(&guard); }
    ~TGuard() { LeaveCriticalSection(&guard); }
    TGuard(const TGuard&) = delete;
    TGuard& operator=(const TGuard&) = delete;
};

void UnloadOnce()
{
    TGuard lock;
    --references;
    xpvs::Unload(unit);
}
} // namespace

bool Loaded() { return unit.Loaded; }
HMODULE Library() { return unit.Library; }
int ReferenceCount() { return references; }
} // namespace AdvTBXPVS

void AdvTBXPVS_Initialize()
{
    using namespace AdvTBXPVS;
    if (!guardReady) {
        InitializeCriticalSection(&guard);
        guardReady = true;
    }
    if (unit.Loaded)
        return;
    TGuard lock;
    // The library counts as loaded before its functions are looked up, so a
    // failed lookup still leaves a reference for the shut-down to release.
    struct TCountLoad {
        ~TCountLoad()
        {
            if (unit.Loaded)
                ++references;
        }
    } countLoad;
    xpvs::Load(unit);
}

void AdvTBXPVS_Finalize()
{
    using namespace AdvTBXPVS;
    if (!guardReady)
        return;
    while (references > 0)
        UnloadOnce();
    DeleteCriticalSection(&guard);
    guardReady = false;
}
