// Printing of the class library stand-in: the printer object over the
// platform's printer device context. A job runs from BeginDoc to EndDoc (or
// Abort) on the printer's canvas; between jobs the canvas and the page size
// come from an information context of the same printer and settings.
#pragma once

#include "Classes.h"
#include "Graphics.h"
#include "UniqueHandle.h"
#include <vector>

enum TPrinterOrientation { poPortrait, poLandscape };

TAVELIN_EXCEPTION(EPrinter, Exception)

class TPrinter : public TObject {
public:
    TPrinter();
    ~TPrinter() override;

    // Starts a job titled Title on the chosen printer, its first page open.
    // Raises EPrinter when a job runs already, when there is no printer, or
    // when the printer refuses the job (nothing is left open then).
    void BeginDoc();
    // Ends the page and opens the next one.
    void NewPage();
    // Ends the last page and the job.
    void EndDoc();
    // Drops the job; what was printed of it is discarded.
    void Abort();

    bool GetPrinting() const { return printing_; }
    bool GetAborted() const { return aborted_; }
    // Pages are counted from 1 while a job runs.
    int GetPageNumber() const { return pageNumber_; }

    // Draws on the job's page while printing, else measures on the printer's
    // information context. Raises EPrinter when there is no printer.
    TCanvas* GetCanvas();
    // The job's DC while printing, else the information context.
    HDC GetHandle();
    // The printable page in device pixels and the resolution in dots per inch.
    int GetPageWidth();
    int GetPageHeight();
    int GetPixelsPerInchX();
    int GetPixelsPerInchY();

    // The installed printers by name; PrinterIndex -1 is the default printer.
    TStrings* GetPrinters();
    int GetPrinterIndex() const { return printerIndex_; }
    void SetPrinterIndex(int Value);
    // The printer a job goes to: the chosen or the default one; empty when none.
    String GetPrinterName();

    // Settings of the next job; changing them while printing raises EPrinter.
    TPrinterOrientation GetOrientation() const { return orientation_; }
    void SetOrientation(TPrinterOrientation Value);
    const String& GetTitle() const { return title_; }
    void SetTitle(const String& Value);

    // The angle (90 or 270) by which the printer turns landscape pages, as its
    // driver reports it; the platform probe may say it instead.
    int GetLandscapeAngle();

private:
    struct TDCTraits : TNullHandleTraits<HDC> {
        static void Close(HDC dc) noexcept { DeleteDC(dc); }
    };
    using TPrinterDC = TUniqueHandle<TDCTraits>;

    void CheckNotPrinting() const;
    // The DEVMODE of the printer with the orientation applied.
    std::vector<BYTE> DeviceMode(const String& name) const;
    HDC InfoHandle();
    void ReleaseInfo();
    void EndJob();

    TOwned<TCanvas> canvas_;
    TOwned<TStringList> printers_;
    TPrinterDC jobDC_;
    TPrinterDC infoDC_;
    String infoPrinter_;
    String title_;
    TPrinterOrientation orientation_ = poPortrait;
    int printerIndex_ = -1;
    int pageNumber_ = 0;
    bool printing_ = false;
    bool aborted_ = false;
};

// The process's printer object, created on first use.
TPrinter* Printer();
// Puts another printer object in place and gives the previous one to the caller.
TOwned<TPrinter> SetPrinter(TOwned<TPrinter> NewPrinter);
void Printers_Finalize();
