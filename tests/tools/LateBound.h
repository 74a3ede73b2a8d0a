// Driving the stand-in as the grid's export does, through the run-time library's
// late-bound calls; and the sheet XML of a saved workbook read back as its cells.
#pragma once
#include <gtest/gtest.h>
#include "ComObj.h"
#include "StandIn.h"
#include "TestSupport.h"
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace tools_test {

// A two-dimensional array of string variants, [rows][columns] from the given lower bounds.
Variant Block(const std::vector<std::vector<std::wstring>>& rows, int rowLow = 0, int colLow = 0);

// The application the way the grid gets it: attached to a running one (empty when
// none runs), or created.
Variant RunningApplication();
Variant CreateApplication();

// How a call was answered: S_OK, the dispatch error, DISP_E_UNKNOWNNAME for a name
// the object does not know, or DISP_E_EXCEPTION with the server's own message.
struct Answer {
    HRESULT code = S_OK;
    String message;
};
Answer Try(const std::function<void()>& call);

// Quits an application the test created, however the test ends.
class QuitGuard {
public:
    explicit QuitGuard(const Variant& app) : app_(app) {}
    ~QuitGuard() { Try([this] { app_.OleProcedure(L"Quit"); }); } // fails harmlessly once quit
    QuitGuard(const QuitGuard&) = delete;
    QuitGuard& operator=(const QuitGuard&) = delete;

private:
    Variant app_;
};

// Cell texts by reference ("AB4") as the sheet XML of worksheet `index` (from 1)
// holds them; every cell must be an inline string.
std::map<std::wstring, std::wstring> SheetCells(const std::wstring& file, int index);
// The sheet names in workbook order.
std::vector<std::wstring> SheetNames(const std::wstring& file);

// A suite with the stand-in registered for its length, whose tests start and
// end with no application running.
class StandInSuite : public testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    testing_support::TempDir dir_;

private:
    static xlserver::StandInRegistration* registration_;
};

} // namespace tools_test
