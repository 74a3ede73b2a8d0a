// hintfuzz: feeds mutated hint template streams ("AShh") through
// TsAlphaHints.LoadFromStream until the time limit, then prints how many
// inputs ended which way, the slowest input and the GDI objects left. Every
// input is written to <folder>\current.bin before it is tried, so that one
// that crashes or hangs the process is still there afterwards; a watchdog
// ends the run when one input takes longer than the hang limit. A failed
// load must leave Templates as it was; one that does not is counted apart.
// Inputs whose magic was mutated go through the stream reader alone (the
// component would stop at its message box).
//
// Usage: hintfuzz [seconds [folder [seed [fixtures]]]]
//        (defaults: 180, .\hintfuzz-out, 1, tests\fixtures\skin\hints)
#include <windows.h>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <thread>
#include <vector>
#include "Forms.h"
#include "SysUtils.h"
#include "TestSupport.h"
#include "acAlphaHints.h"
#include "acComponentsStartup.h"
#include "acGraphicsStartup.h"

namespace {

constexpr double HangSeconds = 30;

struct TRandom {
    uint64_t State;
    uint32_t Next()
    {
        State = State * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<uint32_t>(State >> 33);
    }
    uint32_t Below(uint32_t n) { return n ? Next() % n : 0; }
};

double Seconds()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) / double(frequency.QuadPart);
}

void Save(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    FlushFileBuffers(file);
    CloseHandle(file);
}

std::string Load(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

const int32_t Interesting[] = {0, 1, -1, 63, 64, 255, 32767, 32768, 65535, 0x7FFFFFFF, INT32_MIN, -64};

std::string Mutate(std::string bytes, TRandom& r, std::string& name)
{
    if (bytes.empty())
        return bytes;
    switch (r.Below(6)) {
    case 0: {
        name = "flip bits";
        for (uint32_t n = 1 + r.Below(8); n > 0; --n)
            bytes[r.Below(uint32_t(bytes.size()))] ^= char(1u << r.Below(8));
        break;
    }
    case 1:
        name = "cut";
        bytes.resize(r.Below(uint32_t(bytes.size())));
        break;
    case 2: {
        name = "interesting int";
        if (bytes.size() >= 4) {
            const int32_t v = Interesting[r.Below(std::size(Interesting))];
            std::memcpy(&bytes[r.Below(uint32_t(bytes.size() - 3))], &v, 4);
        }
        break;
    }
    case 3: {
        name = "random byte";
        bytes[r.Below(uint32_t(bytes.size()))] = char(r.Below(256));
        break;
    }
    case 4: {
        name = "duplicate block";
        const uint32_t at = r.Below(uint32_t(bytes.size()));
        const uint32_t n = r.Below(uint32_t(bytes.size() - at)) + 1;
        bytes.insert(r.Below(uint32_t(bytes.size())), bytes.substr(at, n));
        break;
    }
    default: {
        name = "insert bytes";
        std::string junk;
        for (uint32_t n = 1 + r.Below(16); n > 0; --n)
            junk += char(r.Below(256));
        bytes.insert(r.Below(uint32_t(bytes.size())), junk);
    }
    }
    return bytes;
}

std::string Try(acAlphaHints::TsAlphaHints* Hints, const std::string& Bytes)
{
    TOwned<TMemoryStream> stream(New<TMemoryStream>());
    if (!Bytes.empty())
        stream->WriteBuffer(Bytes.data(), static_cast<Int64>(Bytes.size()));
    stream->SetPosition(0);
    const int before = Hints->GetTemplates()->Count();
    try {
        if (Bytes.size() < 4 || std::memcmp(Bytes.data(), "AShh", 4) != 0) {
            TOwned<TacHintTemplate> detached(New<TacHintTemplate>(nullptr));
            return ReadHintTemplate(stream.get(), detached.get()) ? "read with a wrong magic (WRONG)"
                                                                  : "unknown format";
        }
        TacHintTemplate* t = Hints->LoadFromStream(stream.get());
        if (!t)
            return "no template (WRONG)";
        // Loaded templates go again: the collection stays small.
        Hints->GetTemplates()->Delete(t->GetIndex());
        return "loaded";
    } catch (const EReadError& e) {
        if (Hints->GetTemplates()->Count() != before)
            return "read error with Templates changed (WRONG)";
        String m = e.Message();
        return "read error: " + std::string(m.begin(), m.end());
    } catch (const Exception& e) {
        String m = e.Message();
        return "other exception (WRONG): " + std::string(m.begin(), m.end());
    }
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const double seconds = argc > 1 ? _wtof(argv[1]) : 180;
    const std::wstring folder = argc > 2 ? argv[2] : L"hintfuzz-out";
    TRandom random{argc > 3 ? static_cast<uint64_t>(_wtoi64(argv[3])) : 1};
    const std::wstring fixtures = argc > 4 ? argv[4] : L"tests\\fixtures\\skin\\hints";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring current = folder + L"\\current.bin";

    SysUtils_Initialize();
    Graphics_Initialize();
    Controls_Initialize();
    Forms_Initialize();
    SkinGraphics_Initialize();
    acAlphaHints_Initialize();

    std::vector<std::string> corpus;
    for (const wchar_t* name : {L"corners.hint", L"single.hint"}) {
        std::string bytes = Load(fixtures + L"\\" + name);
        if (!bytes.empty())
            corpus.push_back(std::move(bytes));
    }
    TOwned<acAlphaHints::TsAlphaHints> hints(New<acAlphaHints::TsAlphaHints>(nullptr));
    {
        // The default template, written with its picture as a bitmap.
        TOwned<TMemoryStream> own(New<TMemoryStream>());
        hints->SaveToStream(own.get());
        corpus.emplace_back(static_cast<const char*>(own->Memory()), static_cast<std::size_t>(own->GetSize()));
    }
    std::printf("%zu seed streams\n", corpus.size());
    const DWORD gdiBefore = testing_support::GdiObjectCount();

    std::atomic<double> started{0};
    std::atomic<bool> running{true};
    std::thread watchdog([&] {
        while (running) {
            Sleep(500);
            double s = started;
            if (s > 0 && Seconds() - s > HangSeconds) {
                std::printf("HANG: an input took more than %.0f s; it is in %ls\n", HangSeconds, current.c_str());
                std::fflush(stdout);
                ExitProcess(2);
            }
        }
    });

    std::map<std::string, long> counts;
    double slowest = 0;
    std::string slowestName;
    const double deadline = Seconds() + seconds;
    long tried = 0;
    while (Seconds() < deadline) {
        ++tried;
        std::string bytes = corpus[random.Below(uint32_t(corpus.size()))];
        std::string name;
        for (uint32_t n = 1 + random.Below(3); n > 0; --n) {
            std::string step;
            bytes = Mutate(bytes, random, step);
            name += name.empty() ? step : " + " + step;
        }
        Save(current, bytes);
        const double start = Seconds();
        started = start;
        const std::string outcome = Try(hints.get(), bytes);
        const double took = Seconds() - start;
        started = 0;
        ++counts[outcome];
        if (took > slowest) {
            slowest = took;
            slowestName = name + " (" + std::to_string(bytes.size()) + " bytes, " + outcome + ")";
            Save(folder + L"\\slowest.bin", bytes);
        }
    }
    running = false;
    watchdog.join();

    std::printf("%ld inputs in %.0f s\n", tried, seconds);
    for (const auto& [outcome, count] : counts)
        std::printf("%8ld  %s\n", count, outcome.c_str());
    std::printf("slowest: %.3f s, %s\n", slowest, slowestName.c_str());
    hints.reset();
    const DWORD gdiAfter = testing_support::GdiObjectCount();
    std::printf("GDI objects: %lu before, %lu after, %ld left\n", gdiBefore, gdiAfter, long(gdiAfter) - long(gdiBefore));
    acAlphaHints_Finalize();
    SkinGraphics_Finalize();
    Forms_Finalize();
    Controls_Finalize();
    Graphics_Finalize();
    SysUtils_Finalize();
    return 0;
}
