// A real printer for tests: Wine's PostScript driver with the generic printer
// description that Wine's spooler carries, printing into a file.
#pragma once
#include <windows.h>
#include <string>

namespace testing_support {

// Registers the driver and a printer whose port is a file in Folder, and
// makes it the default printer; the destructor removes both and puts the
// previous default back. Each job overwrites the file.
class TFilePrinter {
public:
    explicit TFilePrinter(const std::wstring& Folder);
    ~TFilePrinter();
    TFilePrinter(const TFilePrinter&) = delete;
    TFilePrinter& operator=(const TFilePrinter&) = delete;

    const std::wstring& Name() const { return name_; }
    const std::wstring& OutputFile() const { return output_; }
    // What the last job wrote; empty when no job reached the file.
    std::string Printed() const;

private:
    std::wstring name_;
    std::wstring output_;
    std::wstring previousDefault_;
};

// The default printer's name; empty when there is none.
std::wstring DefaultPrinterName();
// Makes no printer the default (the registry value the spooler reads goes).
void ClearDefaultPrinter();

// How often Text stands in Data.
int CountOf(const std::string& Data, const std::string& Text);

} // namespace testing_support
