// The printer object: a job on the platform's printer DC, and between jobs an
// information context of the same printer for measuring.
#include "Printers.h"
#include "PlatformProbe.h"
#include <winspool.h>
#include <memory>

namespace {

TOwned<TPrinter> thePrinter;

String DefaultPrinterName()
{
    DWORD size = 0;
    GetDefaultPrinterW(nullptr, &size);
    if (size == 0)
        return String();
    String name(size, L'\0');
    if (!GetDefaultPrinterW(name.data(), &size))
        return String();
    name.resize(wcslen(name.c_str()));
    return name;
}

// Closes an open printer handle.
struct TPrinterHandleTraits : TNullHandleTraits<HANDLE> {
    static void Close(HANDLE printer) noexcept { ClosePrinter(printer); }
};
using TPrinterHandle = TUniqueHandle<TPrinterHandleTraits>;

} // namespace

TPrinter::TPrinter() : canvas_(new TCanvas), printers_(new TStringList) {}

TPrinter::~TPrinter()
{
    if (printing_) {
        AbortDoc(jobDC_.Get());
        canvas_->SetHandle(nullptr);
    }
    canvas_->SetHandle(nullptr);
}

void TPrinter::CheckNotPrinting() const
{
    if (printing_)
        throw EPrinter(L"Printing in progress");
}

TStrings* TPrinter::GetPrinters()
{
    printers_->Clear();
    DWORD needed = 0, count = 0;
    const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    EnumPrintersW(flags, nullptr, 4, nullptr, 0, &needed, &count);
    if (needed == 0)
        return printers_.get();
    std::vector<BYTE> buffer(needed);
    if (!EnumPrintersW(flags, nullptr, 4, buffer.data(), needed, &needed, &count))
        return printers_.get();
    const auto* info = reinterpret_cast<const PRINTER_INFO_4W*>(buffer.data());
    for (DWORD i = 0; i < count; ++i)
        printers_->Add(info[i].pPrinterName);
    return printers_.get();
}

void TPrinter::SetPrinterIndex(int Value)
{
    CheckNotPrinting();
    if (Value < -1 || Value >= GetPrinters()->Count())
        throw EPrinter(L"Printer index out of range");
    printerIndex_ = Value;
    ReleaseInfo();
}

String TPrinter::GetPrinterName()
{
    if (printerIndex_ >= 0 && printerIndex_ < GetPrinters()->Count())
        return printers_->Get(printerIndex_);
    return DefaultPrinterName();
}

void TPrinter::SetOrientation(TPrinterOrientation Value)
{
    CheckNotPrinting();
    if (Value != orientation_) {
        orientation_ = Value;
        ReleaseInfo();
    }
}

void TPrinter::SetTitle(const String& Value)
{
    CheckNotPrinting();
    title_ = Value;
}

std::vector<BYTE> TPrinter::DeviceMode(const String& name) const
{
    HANDLE raw = nullptr;
    if (!OpenPrinterW(const_cast<wchar_t*>(name.c_str()), &raw, nullptr))
        throw EPrinter(L"Printer selected is not valid");
    TPrinterHandle printer(raw);
    wchar_t* device = const_cast<wchar_t*>(name.c_str());
    const LONG size = DocumentPropertiesW(nullptr, printer.Get(), device, nullptr, nullptr, 0);
    if (size <= 0)
        throw EPrinter(L"Printer selected is not valid");
    std::vector<BYTE> buffer(static_cast<std::size_t>(size));
    auto* mode = reinterpret_cast<DEVMODEW*>(buffer.data());
    if (DocumentPropertiesW(nullptr, printer.Get(), device, mode, nullptr, DM_OUT_BUFFER) < 0)
        throw EPrinter(L"Printer selected is not valid");
    mode->dmFields |= DM_ORIENTATION;
    mode->dmOrientation = orientation_ == poLandscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    DocumentPropertiesW(nullptr, printer.Get(), device, mode, mode, DM_IN_BUFFER | DM_OUT_BUFFER);
    return buffer;
}

HDC TPrinter::InfoHandle()
{
    const String name = GetPrinterName();
    if (name.empty())
        throw EPrinter(L"There is no default printer currently selected");
    if (infoDC_ && name == infoPrinter_) {
        if (!canvas_->HandleAllocated())
            canvas_->SetHandle(infoDC_.Get());
        return infoDC_.Get();
    }
    ReleaseInfo();
    std::vector<BYTE> mode = DeviceMode(name);
    infoDC_.Reset(CreateICW(nullptr, name.c_str(), nullptr, reinterpret_cast<DEVMODEW*>(mode.data())));
    if (!infoDC_)
        throw EPrinter(L"Printer selected is not valid");
    infoPrinter_ = name;
    canvas_->SetHandle(infoDC_.Get());
    return infoDC_.Get();
}

void TPrinter::ReleaseInfo()
{
    if (!printing_)
        canvas_->SetHandle(nullptr);
    infoDC_.Reset();
    infoPrinter_.clear();
}

HDC TPrinter::GetHandle() { return printing_ ? jobDC_.Get() : InfoHandle(); }

TCanvas* TPrinter::GetCanvas()
{
    GetHandle();
    return canvas_.get();
}

int TPrinter::GetPageWidth() { return GetDeviceCaps(GetHandle(), HORZRES); }
int TPrinter::GetPageHeight() { return GetDeviceCaps(GetHandle(), VERTRES); }
int TPrinter::GetPixelsPerInchX()
{
    const int probed = PlatformProbe().PrinterPixelsPerInch;
    return probed >= 0 ? probed : GetDeviceCaps(GetHandle(), LOGPIXELSX);
}

int TPrinter::GetPixelsPerInchY()
{
    const int probed = PlatformProbe().PrinterPixelsPerInch;
    return probed >= 0 ? probed : GetDeviceCaps(GetHandle(), LOGPIXELSY);
}

int TPrinter::GetLandscapeAngle()
{
    if (const int probed = PlatformProbe().PrinterLandscapeAngle)
        return probed;
    const String name = GetPrinterName();
    if (name.empty())
        return 90;
    const int angle = DeviceCapabilitiesW(name.c_str(), nullptr, DC_ORIENTATION, nullptr, nullptr);
    return angle == 270 ? 270 : 90;
}

void TPrinter::BeginDoc()
{
    CheckNotPrinting();
    const String name = GetPrinterName();
    if (name.empty())
        throw EPrinter(L"There is no default printer currently selected");
    std::vector<BYTE> mode = DeviceMode(name);
    TPrinterDC dc(CreateDCW(nullptr, name.c_str(), nullptr, reinterpret_cast<DEVMODEW*>(mode.data())));
    if (!dc)
        throw EPrinter(L"Printer selected is not valid");
    DOCINFOW info{};
    info.cbSize = sizeof(info);
    info.lpszDocName = title_.c_str();
    if (StartDocW(dc.Get(), &info) <= 0)
        throw EPrinter(L"The printer refused the print job");
    if (StartPage(dc.Get()) <= 0) {
        AbortDoc(dc.Get());
        throw EPrinter(L"The printer refused the print job");
    }
    canvas_->SetHandle(nullptr);
    jobDC_ = std::move(dc);
    canvas_->SetHandle(jobDC_.Get());
    printing_ = true;
    aborted_ = false;
    pageNumber_ = 1;
}

void TPrinter::NewPage()
{
    if (!printing_)
        throw EPrinter(L"Printer is not currently printing");
    // A new page starts with the DC's default objects on some drivers: the
    // canvas selects its own again when it next draws.
    canvas_->Refresh();
    EndPage(jobDC_.Get());
    StartPage(jobDC_.Get());
    ++pageNumber_;
}

void TPrinter::EndJob()
{
    canvas_->SetHandle(nullptr);
    jobDC_.Reset();
    printing_ = false;
    pageNumber_ = 0;
}

void TPrinter::EndDoc()
{
    if (!printing_)
        throw EPrinter(L"Printer is not currently printing");
    canvas_->Refresh();
    EndPage(jobDC_.Get());
    ::EndDoc(jobDC_.Get());
    EndJob();
}

void TPrinter::Abort()
{
    if (!printing_)
        throw EPrinter(L"Printer is not currently printing");
    canvas_->Refresh();
    AbortDoc(jobDC_.Get());
    EndJob();
    aborted_ = true;
}

TPrinter* Printer()
{
    if (!thePrinter)
        thePrinter.reset(new TPrinter);
    return thePrinter.get();
}

TOwned<TPrinter> SetPrinter(TOwned<TPrinter> NewPrinter)
{
    TOwned<TPrinter> old = std::move(thePrinter);
    thePrinter = std::move(NewPrinter);
    return old;
}

void Printers_Finalize() { thePrinter.reset(); }
