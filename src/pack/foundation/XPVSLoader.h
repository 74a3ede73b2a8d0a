// Run-time binding of the platform's visual-styles library. The pack has
// five loader units (AdvXPVS, ATXPVS, APXPVS, AdvTBXPVS, ACXPVS), one per
// control family; each binds the same list of functions by name into its own
// function variables when the program starts and lets the library go at the
// end. A function missing from the library stops the start with an
// assertion failure; a missing library leaves the variables unset.
#pragma once

#include <windows.h>
#include <uxtheme.h>
#include <cstddef>
#include <iterator>

// The functions every loader binds, in lookup order. APXPVS binds
// GetThemePartSize between the two parts.
#define XPVS_FUNCTIONS_HEAD(X)                                                             \
    X(OpenThemeData) X(CloseThemeData) X(DrawThemeBackground) X(DrawThemeText)             \
    X(GetThemeBackgroundContentRect) X(GetThemeBackgroundExtent) X(GetThemeTextExtent)      \
    X(GetThemeTextMetrics) X(GetThemeBackgroundRegion) X(HitTestThemeBackground)           \
    X(DrawThemeEdge) X(DrawThemeIcon) X(IsThemePartDefined)                                \
    X(IsThemeBackgroundPartiallyTransparent) X(GetThemeColor) X(GetThemeMetric)            \
    X(GetThemeString) X(GetThemeBool) X(GetThemeInt) X(GetThemeEnumValue)                  \
    X(GetThemePosition) X(GetThemeFont) X(GetThemeRect) X(GetThemeMargins)                 \
    X(GetThemeIntList) X(SetWindowTheme) X(GetThemeFilename) X(GetThemeSysColor)           \
    X(GetThemeSysColorBrush) X(GetThemeSysBool) X(GetThemeSysSize) X(GetThemeSysFont)      \
    X(GetThemeSysString) X(GetThemeSysInt) X(IsThemeActive) X(IsAppThemed)                 \
    X(GetWindowTheme) X(EnableThemeDialogTexture) X(IsThemeDialogTextureEnabled)           \
    X(GetThemeAppProperties) X(SetThemeAppProperties) X(GetCurrentThemeName)               \
    X(GetThemeDocumentationProperty)
#define XPVS_FUNCTIONS_TAIL(X) X(DrawThemeParentBackground) X(EnableTheming)

// One function variable per bound function, named after it and typed as the
// platform declares it.
#define XPVS_DECLARE(Name) extern decltype(&::Name) Name;
#define XPVS_DEFINE(Name) decltype(&::Name) Name = nullptr;
#define XPVS_SLOT(Name) {#Name, [](FARPROC address) { Name = reinterpret_cast<decltype(Name)>(address); }},

// The public part of a loader unit: its function variables and its state.
#define XPVS_UNIT_DECLARATIONS(Unit)      \
    namespace Unit {                      \
    XPVS_FUNCTIONS_HEAD(XPVS_DECLARE)     \
    XPVS_FUNCTIONS_TAIL(XPVS_DECLARE)     \
    bool Loaded();                        \
    HMODULE Library();                    \
    }                                     \
    void Unit##_Initialize();             \
    void Unit##_Finalize();

// The private part of an ordinary loader unit: its variables, its slot
// table and its start-up and shut-down.
#define XPVS_UNIT_DEFINITIONS(Unit, SourceName, FirstLine)                                  \
    namespace Unit {                                                                        \
    XPVS_FUNCTIONS_HEAD(XPVS_DEFINE)                                                        \
    XPVS_FUNCTIONS_TAIL(XPVS_DEFINE)                                                        \
    namespace {                                                                             \
    const xpvs::TSlot slots[] = {XPVS_FUNCTIONS_HEAD(XPVS_SLOT) XPVS_FUNCTIONS_TAIL(XPVS_SLOT)}; \
    xpvs::TUnit unit{SourceName, FirstLine, slots, std::size(slots)};                       \
    }                                                                                       \
    bool Loaded() { return unit.Loaded; }                                                   \
    HMODULE Library() { return unit.Library; }                                              \
    }                                                                                       \
    void Unit##_Initialize() { xpvs::Load(Unit::unit); }                                    \
    void Unit##_Finalize() { xpvs::Unload(Unit::unit); }

namespace xpvs {

// A function variable and how to set it.
struct TSlot {
    const char* Name;
    void (*Bind)(FARPROC Address);
};

// The state of one loader unit.
struct TUnit {
    const wchar_t* SourceName; // named in its assertion messages
    int FirstLine;             // line of the first lookup's check; each next one is 3 further
    const TSlot* Slots;
    std::size_t SlotCount;
    bool Loaded = false;
    HMODULE Library = nullptr;
};

// Loads the library and binds every slot; raises EAssertionFailed naming
// the check of the first function that is missing. Nothing happens when
// the unit is loaded already.
void Load(TUnit& Unit);
// Frees the library of a loaded unit and unsets its variables.
void Unload(TUnit& Unit);

// The library calls the loaders make. Tests replace them to stand for a
// system without the library or with an older one, and reset them after.
// A library that was loaded is freed through its owner type.
struct TLibraryCalls {
    HMODULE (*LoadLibrary)(LPCWSTR Name);
    FARPROC (*GetProcAddress)(HMODULE Module, LPCSTR Name);
};
TLibraryCalls& LibraryCalls();
void ResetLibraryCalls();

} // namespace xpvs
