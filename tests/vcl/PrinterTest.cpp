// The printer object on a real printer: Wine's PostScript driver printing
// into a file, read back for its pages, title and orientation.
#include <gtest/gtest.h>
#include "PlatformProbe.h"
#include "Printers.h"
#include "PrinterSupport.h"
#include "TestSupport.h"

using namespace testing_support;

namespace {

class PrinterTest : public testing::Test {
protected:
    TempDir folder_;
    TFilePrinter filePrinter_{folder_.Path()};
    TOwned<TPrinter> printer_{new TPrinter};
};

TEST_F(PrinterTest, JobWritesItsPagesTitleAndOrientation)
{
    struct TJobCase {
        TPrinterOrientation orientation;
        int pages;
        const char* orientationLine;
    };
    const TJobCase cases[] = {
        {poPortrait, 2, "%%Orientation: Portrait"},
        {poLandscape, 3, "%%Orientation: Landscape"},
    };
    for (const TJobCase& c : cases) {
        printer_->SetOrientation(c.orientation);
        printer_->SetTitle(L"Stock list");
        EXPECT_EQ(printer_->GetPrinterName(), filePrinter_.Name());
        printer_->BeginDoc();
        EXPECT_TRUE(printer_->GetPrinting());
        for (int page = 1; page <= c.pages; ++page) {
            if (page > 1)
                printer_->NewPage();
            EXPECT_EQ(printer_->GetPageNumber(), page);
            printer_->GetCanvas()->TextOut(100, 100, L"Page " + IntToStr(page));
        }
        printer_->EndDoc();
        EXPECT_FALSE(printer_->GetPrinting());
        const std::string ps = filePrinter_.Printed();
        EXPECT_NE(ps.find("%%Title: Stock list"), std::string::npos);
        EXPECT_NE(ps.find(c.orientationLine), std::string::npos);
        EXPECT_NE(ps.find("%%Pages: " + std::to_string(c.pages)), std::string::npos);
        EXPECT_EQ(CountOf(ps, "showpage"), c.pages);
    }
}

TEST_F(PrinterTest, PageSizeAndResolutionFollowTheOrientation)
{
    const int portraitWidth = printer_->GetPageWidth();
    const int portraitHeight = printer_->GetPageHeight();
    EXPECT_GT(printer_->GetPixelsPerInchX(), 0);
    EXPECT_GT(printer_->GetPixelsPerInchY(), 0);
    EXPECT_GT(portraitHeight, portraitWidth);
    printer_->SetOrientation(poLandscape);
    EXPECT_EQ(printer_->GetPageWidth(), portraitHeight);
    EXPECT_EQ(printer_->GetPageHeight(), portraitWidth);
    // Wine's driver turns landscape pages by 90 degrees; the probe can say otherwise.
    EXPECT_EQ(printer_->GetLandscapeAngle(), 90);
    PlatformProbe().PrinterLandscapeAngle = 270;
    EXPECT_EQ(printer_->GetLandscapeAngle(), 270);
    ResetPlatformProbe();
}

TEST_F(PrinterTest, StateChecksAndAbort)
{
    EXPECT_THROW(printer_->NewPage(), EPrinter);
    EXPECT_THROW(printer_->EndDoc(), EPrinter);
    printer_->BeginDoc();
    EXPECT_THROW(printer_->BeginDoc(), EPrinter);
    EXPECT_THROW(printer_->SetOrientation(poLandscape), EPrinter);
    EXPECT_THROW(printer_->SetTitle(L"x"), EPrinter);
    printer_->Abort();
    EXPECT_TRUE(printer_->GetAborted());
    EXPECT_FALSE(printer_->GetPrinting());
    EXPECT_EQ(CountOf(filePrinter_.Printed(), "showpage"), 0);
    // The object is usable again after an abort.
    printer_->BeginDoc();
    EXPECT_FALSE(printer_->GetAborted());
    printer_->EndDoc();
    EXPECT_EQ(CountOf(filePrinter_.Printed(), "showpage"), 1);
}

TEST_F(PrinterTest, JobsLeaveNoGdiObjects)
{
    // A first job loads what the driver keeps for the process.
    printer_->BeginDoc();
    printer_->EndDoc();
    const DWORD before = GdiObjectCount();
    for (int i = 0; i < 3; ++i) {
        printer_->BeginDoc();
        printer_->GetCanvas()->GetFont()->SetSize(20);
        printer_->GetCanvas()->Rectangle(10, 10, 200, 200);
        printer_->NewPage();
        printer_->GetCanvas()->TextOut(10, 10, L"x");
        printer_->EndDoc();
    }
    printer_.reset();
    EXPECT_EQ(GdiObjectCount(), before);
}

TEST(PrinterWithoutPrinter, RaisesAndStartsNothing)
{
    const std::wstring previous = DefaultPrinterName();
    ClearDefaultPrinter();
    TOwned<TPrinter> printer(new TPrinter);
    EXPECT_EQ(printer->GetPrinterName(), L"");
    EXPECT_THROW(printer->BeginDoc(), EPrinter);
    EXPECT_FALSE(printer->GetPrinting());
    EXPECT_THROW(printer->GetCanvas(), EPrinter);
    if (!previous.empty())
        SetDefaultPrinterW(previous.c_str());
}

} // namespace
