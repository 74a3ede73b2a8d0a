// Wine's PostScript driver needs a printer description file; the spooler
// keeps a generic one as resource 1 of type "PPDFILE", written out here.
#include "PrinterSupport.h"
#include "TestSupport.h"
#include <gtest/gtest.h>
#include <winspool.h>
#include <vector>

namespace testing_support {

namespace {

const wchar_t DeviceKey[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";

std::wstring WriteGenericDescription(const std::wstring& folder)
{
    HMODULE spooler = GetModuleHandleW(L"winspool.drv");
    if (!spooler)
        spooler = LoadLibraryW(L"winspool.drv");
    HRSRC res = spooler ? FindResourceW(spooler, MAKEINTRESOURCEW(1), L"PPDFILE") : nullptr;
    HGLOBAL data = res ? LoadResource(spooler, res) : nullptr;
    const char* bytes = data ? static_cast<const char*>(LockResource(data)) : nullptr;
    if (!bytes) {
        ADD_FAILURE() << "the spooler carries no generic printer description";
        return std::wstring();
    }
    std::string text(bytes, SizeofResource(spooler, res));
    // The resource may end in padding.
    while (!text.empty() && text.back() == '\0')
        text.pop_back();
    const std::wstring path = folder + L"\\generic.ppd";
    WriteBytes(path, text);
    return path;
}

} // namespace

std::wstring DefaultPrinterName()
{
    DWORD size = 0;
    GetDefaultPrinterW(nullptr, &size);
    if (size == 0)
        return std::wstring();
    std::wstring name(size, L'\0');
    if (!GetDefaultPrinterW(name.data(), &size))
        return std::wstring();
    name.resize(wcslen(name.c_str()));
    return name;
}

void ClearDefaultPrinter()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, DeviceKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueW(key, L"Device");
        RegCloseKey(key);
    }
}

TFilePrinter::TFilePrinter(const std::wstring& Folder)
{
    previousDefault_ = DefaultPrinterName();
    // The spooler and the driver keep what they read of a printer (its port,
    // its description) by its name for the process: every printer of a test
    // gets a name of its own, or a later job would go to an earlier port.
    static int printers = 0;
    name_ = L"Tavelin Test PS " + std::to_wstring(GetCurrentProcessId()) + L" " + std::to_wstring(++printers);
    output_ = Folder + L"\\printed.ps";
    const std::wstring description = WriteGenericDescription(Folder);

    DRIVER_INFO_3W driver{};
    driver.cVersion = 3;
    driver.pName = name_.data();
    wchar_t wineps[] = L"wineps.drv";
    driver.pDriverPath = wineps;
    driver.pConfigFile = wineps;
    driver.pDataFile = const_cast<wchar_t*>(description.c_str());
    wchar_t raw[] = L"RAW";
    driver.pDefaultDataType = raw;
    EXPECT_TRUE(AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE*>(&driver),
                                    APD_COPY_NEW_FILES | APD_COPY_FROM_DIRECTORY))
        << "AddPrinterDriverEx failed: " << GetLastError();

    PRINTER_INFO_2W info{};
    info.pPrinterName = name_.data();
    info.pPortName = output_.data();
    info.pDriverName = name_.data();
    wchar_t processor[] = L"WinPrint";
    info.pPrintProcessor = processor;
    info.pDatatype = raw;
    info.Attributes = PRINTER_ATTRIBUTE_DIRECT | PRINTER_ATTRIBUTE_LOCAL;
    HANDLE printer = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    EXPECT_TRUE(printer != nullptr) << "AddPrinter failed: " << GetLastError();
    if (printer)
        ClosePrinter(printer);
    EXPECT_TRUE(SetDefaultPrinterW(name_.c_str())) << "SetDefaultPrinter failed: " << GetLastError();
}

TFilePrinter::~TFilePrinter()
{
    HANDLE printer = nullptr;
    PRINTER_DEFAULTSW access{};
    access.DesiredAccess = PRINTER_ALL_ACCESS;
    if (OpenPrinterW(name_.data(), &printer, &access)) {
        DeletePrinter(printer);
        ClosePrinter(printer);
    }
    DeletePrinterDriverExW(nullptr, nullptr, name_.data(), DPD_DELETE_UNUSED_FILES, 0);
    if (previousDefault_.empty())
        ClearDefaultPrinter();
    else
        SetDefaultPrinterW(previousDefault_.c_str());
    DeleteFileW(output_.c_str());
}

std::string TFilePrinter::Printed() const
{
    if (GetFileAttributesW(output_.c_str()) == INVALID_FILE_ATTRIBUTES)
        return std::string();
    return FileBytes(output_);
}

int CountOf(const std::string& Data, const std::string& Text)
{
    int count = 0;
    for (std::size_t at = Data.find(Text); at != std::string::npos; at = Data.find(Text, at + Text.size()))
        ++count;
    return count;
}

} // namespace testing_support
