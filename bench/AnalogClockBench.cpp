// The analog clock's hand repaint (the cached face plus the hands, one blit)
// of a 180 x 180 clock against its full paint and against one plain BitBlt
// of the client area, in the same run.
#include <windows.h>
#include <cstdio>
#include "AdvGDIP.h"
#include "AdvTimePickerDropDown.h"
#include "BenchClock.h"
#include "Forms.h"
#include "GdiHandles.h"
#include "SysUtils.h"

int wmain()
{
    SysUtils_Initialize();
    Graphics_Initialize();
    Controls_Initialize();
    Forms_Initialize();
    AdvGDIP_Initialize();
    Application->Initialize();
    auto* form = New<TForm>(nullptr);
    form->SetBounds(40, 40, 300, 300);
    auto* watch = New<TAdvWatch>(form);
    watch->SetParent(form);
    watch->SetBounds(10, 10, 180, 180);
    watch->SetTime(EncodeTime(10, 8, 30, 0));
    form->Show();
    Application->ProcessMessages();
    watch->PaintAll();
    constexpr int Rounds = 200;
    // Seconds per call: the median of three runs of Rounds calls each.
    auto perCall = [&](auto&& Step) {
        std::vector<double> runs;
        for (int run = 0; run < 3; ++run) {
            const double start = bench::Seconds();
            for (int i = 0; i < Rounds; ++i)
                Step();
            GdiFlush();
            runs.push_back((bench::Seconds() - start) / Rounds);
        }
        return bench::Median(runs);
    };
    const double hands = perCall([&] { watch->RepaintHands(); });
    const double full = perCall([&] { watch->PaintAll(); });
    TMemoryDC source;
    TBitmapHandle bitmap(CreateBitmap(180, 180, 1, 32, nullptr));
    TSelectObject selected(source.Get(), bitmap.Get());
    const double blit = perCall([&] {
        TWindowDC dc(watch->Handle());
        BitBlt(dc.Get(), 0, 0, 180, 180, source.Get(), 0, 0, SRCCOPY);
    });
    std::printf("180 x 180 clock, median of 3 runs of %d calls\n", Rounds);
    std::printf("RepaintHands: %.3f ms\n", hands * 1000);
    std::printf("PaintAll:     %.3f ms\n", full * 1000);
    std::printf("one BitBlt of the client area: %.3f ms\n", blit * 1000);
    std::printf("ratio RepaintHands / PaintAll: %.2f\n", hands / full);
    std::printf("ratio RepaintHands / BitBlt:   %.1f\n", hands / blit);
    form->Free();
    AdvGDIP_Finalize();
    return 0;
}
