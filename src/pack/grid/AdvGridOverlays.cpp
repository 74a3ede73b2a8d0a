// The overlay windows and the masks of the focus frame.
//
// The masks trust nothing about their inputs: a merge of a mask of another
// depth or of a smaller size changes nothing, and copying between masks of
// different sizes copies only the part both have, since a row read past
// either end would walk off the pixels.
#include "AdvGridOverlays.h"
#include "GdiHandles.h"
#include "SysUtils.h"
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

// --- arrows ------------------------------------------------------------------------------

namespace {

constexpr POINT ArrowPoints[4][7] = {
    {{5, 0}, {10, 5}, {7, 5}, {7, 9}, {3, 9}, {3, 5}, {0, 5}},   // arrUp
    {{3, 0}, {7, 0}, {7, 4}, {9, 4}, {5, 8}, {1, 4}, {3, 4}},    // arrDown
    {{0, 3}, {0, 7}, {4, 7}, {4, 10}, {8, 5}, {4, 0}, {4, 3}},   // arrLeft: points right
    {{0, 5}, {4, 10}, {4, 7}, {8, 7}, {8, 3}, {4, 3}, {4, 0}},   // arrRight: points left
};

} // namespace

TArrowWindow::TArrowWindow(TComponent* AOwner) : TPanel(AOwner) {}

void TArrowWindow::Init(TWinControl* AOwner, TArrowDirection Direction)
{
    dir_ = Direction;
    SetColor(0x00FF00);
    SetVisible(false);
    SetParent(AOwner);
}

void TArrowWindow::CreateParams(TCreateParams& Params)
{
    TPanel::CreateParams(Params);
    Params.Style = WS_POPUP;
}

void TArrowWindow::CreateWnd()
{
    TPanel::CreateWnd();
    HRGN region = CreatePolygonRgn(ArrowPoints[dir_], 7, WINDING);
    // The window owns the region once it is set.
    if (region && !SetWindowRgn(GetHandle(), region, TRUE))
        DeleteObject(region);
}

void TArrowWindow::Paint()
{
    TCanvas* canvas = GetCanvas();
    canvas->GetBrush()->SetColor(GetColor());
    canvas->FillRect(GetClientRect());
}

// --- the focus window ------------------------------------------------------------------------

TGridFocusWindow::TGridFocusWindow(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetWidth(0);
    SetHeight(0);
    SetColor(0x0000FF);
}

void TGridFocusWindow::CreateParams(TCreateParams& Params)
{
    TCustomControl::CreateParams(Params);
    Params.Style = WS_POPUP | WS_DISABLED;
    Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    Params.WndParent = GetDesktopWindow();
}

// --- the alpha mask -----------------------------------------------------------------------------

TGridAlphaMask::TGridAlphaMask() { SetPixelFormat(pf32bit); }

void TGridAlphaMask::Assign(TPersistent* Source)
{
    if (auto* mask = dynamic_cast<TGridAlphaMask*>(Source)) {
        FOpacity = mask->FOpacity;
        SetPixelFormat(pf32bit);
        const int rows = std::min(GetHeight(), mask->GetHeight());
        const int bytes = std::min(GetWidth(), mask->GetWidth()) * 4;
        for (int y = 0; y < rows && bytes > 0; ++y)
            std::memcpy(GetScanLine(y), mask->GetScanLine(y), static_cast<size_t>(bytes));
    } else {
        TBitmap::Assign(Source);
    }
    SetPixelFormat(pf32bit);
}

void TGridAlphaMask::MergeMask(TBitmap* Mask, TBitmap* Bitmap, TColor)
{
    if (!Mask || !Bitmap || Bitmap->GetPixelFormat() != pf24bit || Mask->GetPixelFormat() != pf24bit)
        return;
    const int width = Bitmap->GetWidth();
    const int height = Bitmap->GetHeight();
    if (Mask->GetWidth() < width || Mask->GetHeight() < height)
        return;
    SetPixelFormat(pf32bit);
    SetSize(width, height);
    for (int y = 0; y < height; ++y) {
        const auto* source = static_cast<const Byte*>(Bitmap->GetScanLine(y));
        const auto* alpha = static_cast<const Byte*>(Mask->GetScanLine(y));
        auto* target = static_cast<Byte*>(GetScanLine(y));
        for (int x = 0; x < width; ++x) {
            const int a = alpha[3 * x + 2];
            for (int k = 0; k < 3; ++k)
                target[4 * x + k] = static_cast<Byte>(std::lround(source[3 * x + k] * a / 255.0));
            target[4 * x + 3] = static_cast<Byte>(a);
        }
    }
}

// --- mask routines -------------------------------------------------------------------------------

namespace {

Byte ClampToByte(int Low, int High, double X)
{
    if (X < Low)
        return static_cast<Byte>(Low);
    if (X >= High)
        return static_cast<Byte>(High);
    return static_cast<Byte>(static_cast<int>(X));
}

// Weights for offsets -S .. S (index k + S), S the kept half-width.
std::vector<double> BlurKernel(double Radius, int& S)
{
    constexpr int Max = 10;
    double w[2 * Max + 1];
    double sum = 0;
    for (int i = -Max; i <= Max; ++i) {
        w[i + Max] = std::exp(-(i / Radius) * (i / Radius) / 2);
        sum += w[i + Max];
    }
    for (double& v : w)
        v /= sum;
    S = Max;
    double dropped = 0;
    while (S > 1 && dropped + 2 * w[S + Max] < 1.0 / 510) {
        dropped += 2 * w[S + Max];
        --S;
    }
    std::vector<double> kernel(w + Max - S, w + Max + S + 1);
    double kept = 0;
    for (double v : kernel)
        kept += v;
    for (double& v : kernel)
        v /= kept;
    return kernel;
}

// Pixels are 3 bytes apart by Step bytes; N of them.
void BlurLine(Byte* First, ptrdiff_t Step, int N, const std::vector<double>& Kernel, int S, std::vector<Byte>& Buffer)
{
    Buffer.resize(static_cast<size_t>(N) * 3);
    for (int x = 0; x < N; ++x)
        for (int c = 0; c < 3; ++c) {
            double v = 0;
            for (int k = -S; k <= S; ++k) {
                const int at = std::clamp(x - k, 0, N - 1);
                v += Kernel[k + S] * First[at * Step + c];
            }
            // A sum meant as 255 may fall a hair short in floating point.
            Buffer[static_cast<size_t>(3 * x + c)] = ClampToByte(0, 255, v + 1e-9);
        }
    for (int x = 0; x < N; ++x)
        for (int c = 0; c < 3; ++c)
            First[x * Step + c] = Buffer[static_cast<size_t>(3 * x + c)];
}

} // namespace

void BlurBitmap(TBitmap* Bitmap, double Radius)
{
    if (!Bitmap || Bitmap->GetPixelFormat() != pf24bit)
        throw Exception(L"Blur only works for 24-bit bitmaps");
    // A radius of zero has no kernel: the bitmap stays as it is.
    if (!(Radius > 0))
        return;
    const int width = Bitmap->GetWidth();
    const int height = Bitmap->GetHeight();
    if (width <= 0 || height <= 0)
        return;
    int S = 0;
    const std::vector<double> kernel = BlurKernel(Radius, S);
    std::vector<Byte> buffer;
    constexpr int Band = 20;
    constexpr int Sample = 15;

    for (int y = 0; y < height; ++y) {
        auto* row = static_cast<Byte*>(Bitmap->GetScanLine(y));
        if (y <= Band || y >= height - Band || Sample >= height)
            BlurLine(row, 3, width, kernel, S, buffer);
        else
            std::memcpy(row, Bitmap->GetScanLine(Sample), static_cast<size_t>(width) * 3);
    }
    // Rows of a bottom-up DIB lie backwards in memory: step by the real distance.
    const ptrdiff_t stride = height > 1 ? static_cast<Byte*>(Bitmap->GetScanLine(1)) -
                                              static_cast<Byte*>(Bitmap->GetScanLine(0))
                                        : 0;
    for (int x = 0; x < width; ++x) {
        if (x <= Band || x >= width - Band || Sample >= width) {
            BlurLine(static_cast<Byte*>(Bitmap->GetScanLine(0)) + 3 * x, stride, height, kernel, S, buffer);
        } else {
            for (int y = 0; y < height; ++y) {
                auto* row = static_cast<Byte*>(Bitmap->GetScanLine(y));
                std::memcpy(row + 3 * x, row + 3 * Sample, 3);
            }
        }
    }
}

void CreateRoundRectMask(TBitmap* Bitmap, int Width, int Height, double BlurRadius, int Rounding, int PenWidth)
{
    Bitmap->SetPixelFormat(pf24bit);
    Bitmap->SetSize(Width, Height);
    TCanvas* canvas = Bitmap->GetCanvas();
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(clBlack);
    canvas->FillRect(TRect(0, 0, Width, Height));
    const int d = PenWidth / 2;
    canvas->GetPen()->SetColor(clWhite);
    if (PenWidth < 1) {
        canvas->GetPen()->SetWidth(1);
        canvas->GetBrush()->SetColor(clWhite);
    } else {
        canvas->GetPen()->SetWidth(PenWidth);
        canvas->GetBrush()->SetColor(clBlack);
    }
    canvas->RoundRect(d + 2, d + 2, Width - d - 2, Height - d - 2, Rounding, Rounding);
    canvas->GetPen()->SetWidth(1);
    if (BlurRadius > 0)
        BlurBitmap(Bitmap, BlurRadius);
}
