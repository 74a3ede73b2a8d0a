// Listing a folder of 2,000 files through the shell items (a TacShellFolder
// per item, its display name and its properties) against the same walk with
// plain IShellFolder calls, in one run.
#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <cstdio>
#include <string>
#include "BenchClock.h"
#include "Forms.h"
#include "SysUtils.h"
#include "TestSupport.h"
#include "acComponentsStartup.h"
#include "acGraphicsStartup.h"
#include "acShellCtrls.h"

namespace {

constexpr int FileCount = 2000;

template <class F>
void ForEachItem(IShellFolder* Folder, F&& Visit)
{
    TComPtr<IEnumIDList> items;
    if (FAILED(Folder->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, items.ReleaseAndGetAddressOf())) ||
        !items)
        return;
    PItemIDList id = nullptr;
    while (items->Next(1, &id, nullptr) == S_OK) {
        TPidl owned(id);
        Visit(owned.Get());
    }
}

} // namespace

int wmain()
{
    SysUtils_Initialize();
    Graphics_Initialize();
    Controls_Initialize();
    Forms_Initialize();
    SkinGraphics_Initialize();
    acShellCtrls_Initialize();
    {
        testing_support::TempDir dir;
        for (int i = 0; i < FileCount; ++i)
            testing_support::WriteBytes(dir.File(L"file" + std::to_wstring(i) + L".txt"), "x");
        TPidl absolute;
        SHParseDisplayName(dir.Path().c_str(), nullptr, absolute.Put(), 0, nullptr);
        TComPtr<IShellFolder> shell;
        GetDesktopShellFolder()->BindToObject(absolute.Get(), nullptr, IID_IShellFolder,
                                              reinterpret_cast<void**>(shell.ReleaseAndGetAddressOf()));
        TOwned<TacShellFolder> folder(New<TacShellFolder>(nullptr, absolute.Get(), shell.Get()));

        size_t checksum = 0;
        auto throughItems = [&] {
            const double start = bench::Seconds();
            ForEachItem(shell.Get(), [&](PItemIDList id) {
                TOwned<TacShellFolder> item(New<TacShellFolder>(folder.get(), id, nullptr));
                checksum += item->DisplayName(seSystem).size();
                checksum += item->Properties().ToInt();
            });
            return bench::Seconds() - start;
        };
        auto plain = [&] {
            const double start = bench::Seconds();
            ForEachItem(shell.Get(), [&](PItemIDList id) {
                STRRET answer{};
                wchar_t* name = nullptr;
                if (SUCCEEDED(shell->GetDisplayNameOf(id, SHGDN_INFOLDER, &answer)) &&
                    SUCCEEDED(StrRetToStrW(&answer, id, &name))) {
                    checksum += wcslen(name);
                    CoTaskMemFree(name);
                }
                PCUITEMID_CHILD item = id;
                ULONG flags = 0xFC000;
                shell->GetAttributesOf(1, &item, &flags);
                ULONG more = 0;
                shell->GetAttributesOf(1, &item, &more);
                checksum += flags + more;
            });
            return bench::Seconds() - start;
        };
        throughItems();
        plain();
        const double items = bench::Best(5, throughItems);
        const double direct = bench::Best(5, plain);
        std::printf("listing %d files (names and attributes), best of 5:\n", FileCount);
        std::printf("  through TacShellFolder      %8.1f ms\n", items * 1e3);
        std::printf("  plain IShellFolder calls    %8.1f ms\n", direct * 1e3);
        std::printf("ratio TacShellFolder / plain: %.2f  (checksum %zu)\n", items / direct, checksum);
    }
    acShellCtrls_Finalize();
    SkinGraphics_Finalize();
    Forms_Finalize();
    Controls_Finalize();
    Graphics_Finalize();
    SysUtils_Finalize();
    return 0;
}
