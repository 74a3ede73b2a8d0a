#include "APXPVS.h"

namespace APXPVS {
XPVS_FUNCTIONS_HEAD(XPVS_DEFINE)
XPVS_DEFINE(GetThemePartSize)
XPVS_FUNCTIONS_TAIL(XPVS_DEFINE)

namespace {
const xpvs::TSlot slots[] = {
    XPVS_FUNCTIONS_HEAD(XPVS_SLOT) XPVS_SLOT(GetThemePartSize) XPVS_FUNCTIONS_TAIL(XPVS_SLOT)};
xpvs::TUnit unit{L"APXPVS.pas", 1552, slots, std::size(slots)};
} // namespace

bool Loaded() { return unit.Loaded; }
HMODULE Library() { return unit.Library; }
} // namespace APXPVS

void APXPVS_Initialize() { xpvs::Load(APXPVS::unit); }
void APXPVS_Finalize() { xpvs::Unload(APXPVS::unit); }
