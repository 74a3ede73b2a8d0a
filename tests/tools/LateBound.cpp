#include "LateBound.h"
#include "Error.h"
#include "StandIn.h"
#include "Workbook.h"
#include "Xml.h"
#include "Zip.h"
#include <stdexcept>

namespace tools_test {

Variant Block(const std::vector<std::vector<std::wstring>>& rows, int rowLow, int colLow)
{
    const int count = static_cast<int>(rows.size());
    const int width = rows.empty() ? 0 : static_cast<int>(rows[0].size());
    Variant block = VarArrayCreate({rowLow, rowLow + count - 1, colLow, colLow + width - 1}, VT_VARIANT);
    for (int r = 0; r < count; ++r)
        for (int c = 0; c < width; ++c)
            VarArrayPut(block, rows[r][c], {rowLow + r, colLow + c});
    return block;
}

Variant RunningApplication()
{
    try {
        return GetActiveOleObject(xlserver::ProgId);
    } catch (const EOleSysError&) {
        return Variant();
    }
}

Variant CreateApplication() { return CreateOleObject(xlserver::ProgId); }

Answer Try(const std::function<void()>& call)
{
    try {
        call();
        return {};
    } catch (const EOleException& e) {
        return {DISP_E_EXCEPTION, e.Message()};
    } catch (const EOleSysError& e) {
        return {e.ErrorCode, e.Message()};
    } catch (const EOleError& e) {
        return {DISP_E_UNKNOWNNAME, e.Message()};
    }
}

std::map<std::wstring, std::wstring> SheetCells(const std::wstring& file, int index)
{
    const xlsx::ZipReader zip(xlsx::ReadFileBytes(file));
    const xlsx::XmlElement sheet =
        xlsx::ParseXml(zip.Read("xl/worksheets/sheet" + std::to_string(index) + ".xml"));
    std::map<std::wstring, std::wstring> cells;
    const xlsx::XmlElement* data = sheet.Child("sheetData");
    if (!data)
        throw std::runtime_error("the sheet XML has no sheetData");
    for (const xlsx::XmlElement* row : data->Children("row"))
        for (const xlsx::XmlElement* c : row->Children("c")) {
            const std::string* ref = c->Attribute("r");
            const std::string* type = c->Attribute("t");
            const xlsx::XmlElement* is = c->Child("is");
            const xlsx::XmlElement* t = is ? is->Child("t") : nullptr;
            if (!ref || !type || *type != "inlineStr" || !t)
                throw std::runtime_error("a cell of the sheet XML is not an inline string");
            cells[xlsx::FromUtf8(*ref)] = xlsx::FromUtf8(t->text);
        }
    return cells;
}

std::vector<std::wstring> SheetNames(const std::wstring& file)
{
    const xlsx::ZipReader zip(xlsx::ReadFileBytes(file));
    const xlsx::XmlElement book = xlsx::ParseXml(zip.Read("xl/workbook.xml"));
    std::vector<std::wstring> names;
    if (const xlsx::XmlElement* sheets = book.Child("sheets"))
        for (const xlsx::XmlElement* sheet : sheets->Children("sheet")) {
            const std::string* name = sheet->Attribute("name");
            if (!name)
                throw std::runtime_error("a sheet of the workbook XML has no name");
            names.push_back(xlsx::FromUtf8(*name));
        }
    return names;
}

xlserver::StandInRegistration* StandInSuite::registration_ = nullptr;

void StandInSuite::SetUpTestSuite()
{
    registration_ = new xlserver::StandInRegistration;
}

void StandInSuite::TearDownTestSuite()
{
    delete registration_;
    registration_ = nullptr;
}

void StandInSuite::SetUp()
{
    ASSERT_TRUE(registration_->Registered()) << "xlserver /regserver failed";
    ASSERT_TRUE(RunningApplication().IsEmpty()) << "an application is still running from before";
}

void StandInSuite::TearDown()
{
    EXPECT_TRUE(RunningApplication().IsEmpty()) << "the test left an application running";
}

} // namespace tools_test
