// adoserver: a stand-in for the database objects ("ADODB.Connection",
// "ADODB.RecordSet") over a table file of ours, for the grid's database
// import. Wine registers those names itself; registration keeps its owner
// and unregistration gives the names back.
//   adoserver /regserver | /unregserver
//
// The table file, UTF-8, a line each:
//   table: <name to the end of the line>
//   count: unknown          (optional: the record count is then -1)
//   fields: <name>\t<name>...
//   record: <value>\t<value>...   (an empty value has size 0)
// Every Open and Close is counted in HKCU\Software\Tavelin\AdoStandIn,
// value "Open", so that a caller can see whether it left anything open.
#include "Error.h"
#include "ServerMain.h"
#include "StandIn.h"
#include "Workbook.h"
#include <algorithm>

namespace xlserver {

namespace {

struct TableData {
    std::wstring name;
    bool countKnown = true;
    std::vector<std::wstring> fields;
    std::vector<std::vector<std::wstring>> records;
};

std::vector<std::wstring> SplitTabs(const std::wstring& text)
{
    std::vector<std::wstring> parts;
    std::size_t from = 0;
    for (;;) {
        const std::size_t tab = text.find(L'\t', from);
        parts.push_back(text.substr(from, tab == std::wstring::npos ? std::wstring::npos : tab - from));
        if (tab == std::wstring::npos)
            return parts;
        from = tab + 1;
    }
}

std::vector<TableData> ReadTables(const std::wstring& path)
{
    const std::wstring text = xlsx::FromUtf8(xlsx::ReadFileBytes(path));
    std::vector<TableData> tables;
    std::size_t from = 0;
    while (from < text.size()) {
        std::size_t end = text.find(L'\n', from);
        if (end == std::wstring::npos)
            end = text.size();
        std::wstring line = text.substr(from, end - from);
        from = end + 1;
        if (!line.empty() && line.back() == L'\r')
            line.pop_back();
        const std::size_t colon = line.find(L": ");
        if (line.empty() || colon == std::wstring::npos)
            continue;
        const std::wstring key = line.substr(0, colon), value = line.substr(colon + 2);
        if (key == L"table") {
            tables.push_back(TableData{value});
        } else if (tables.empty()) {
            Fail(L"\"" + path + L"\": a \"" + key + L"\" line before any table.");
        } else if (key == L"count") {
            tables.back().countKnown = value != L"unknown";
        } else if (key == L"fields") {
            tables.back().fields = SplitTabs(value);
        } else if (key == L"record") {
            auto values = SplitTabs(value);
            values.resize(tables.back().fields.size());
            tables.back().records.push_back(std::move(values));
        }
    }
    return tables;
}

// "SELECT * FROM name" or "SELECT * FROM [name]" with "]]" for a bracket.
std::wstring TableOfQuery(const std::wstring& query)
{
    const std::wstring prefix = L"SELECT * FROM ";
    if (query.size() <= prefix.size() ||
        CompareStringOrdinal(query.c_str(), static_cast<int>(prefix.size()), prefix.c_str(), -1, TRUE) != CSTR_EQUAL)
        Fail(L"The stand-in answers \"SELECT * FROM <table>\" only, not \"" + query + L"\".");
    const std::wstring rest = query.substr(prefix.size());
    if (rest.front() != L'[') {
        if (rest.find_first_of(L" ;'\"[]") != std::wstring::npos)
            Fail(L"Syntax error in the query \"" + query + L"\".");
        return rest;
    }
    std::wstring name;
    for (std::size_t i = 1; i < rest.size(); ++i) {
        if (rest[i] != L']') {
            name += rest[i];
        } else if (i + 1 < rest.size() && rest[i + 1] == L']') {
            name += L']';
            ++i;
        } else if (i + 1 == rest.size()) {
            return name;
        } else {
            Fail(L"Syntax error in the query \"" + query + L"\": text after the table name.");
        }
    }
    Fail(L"Syntax error in the query \"" + query + L"\": the bracket is not closed.");
}

void CountOpen(long change)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Tavelin\\AdoStandIn", 0, nullptr, 0, KEY_READ | KEY_WRITE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    DWORD open = 0, size = sizeof(open);
    RegQueryValueExW(key, L"Open", nullptr, nullptr, reinterpret_cast<BYTE*>(&open), &size);
    open = static_cast<DWORD>(static_cast<long>(open) + change);
    RegSetValueExW(key, L"Open", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&open), sizeof(open));
    RegCloseKey(key);
}

class ConnectionObject : public DispatchBase {
public:
    using DispatchBase::DispatchBase;

protected:
    std::vector<Member> Members() override
    {
        return {
            {L"Open", Kind::Method, 1, [this](const Args& a, Result&) { Open(a.String(0)); }},
            {L"ConnectionString", Kind::Method, 0, [this](const Args&, Result& r) { r.String(file_); }},
            {L"Close", Kind::Method, 0, [this](const Args&, Result&) { Close(); }},
        };
    }

private:
    void Open(const std::wstring& text)
    {
        if (open_)
            Fail(L"The connection is already open.");
        const std::size_t dbq = text.find(L"DBQ=");
        if (text.find(L"Driver={Microsoft Access Driver (*.mdb)}") == std::wstring::npos || dbq == std::wstring::npos)
            Fail(L"Data source name not found and no default driver specified.");
        std::wstring file = text.substr(dbq + 4);
        file = file.substr(0, file.find(L';'));
        if (GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES)
            Fail(L"Could not find file '" + file + L"'.");
        file_ = file;
        open_ = true;
        CountOpen(1);
    }

    void Close()
    {
        if (!open_)
            Fail(L"Operation is not allowed when the object is closed.");
        open_ = false;
        CountOpen(-1);
    }

    std::wstring file_;
    bool open_ = false;
};

class FieldObject : public DispatchBase {
public:
    FieldObject(std::shared_ptr<ServerState> server, std::wstring name, std::wstring value)
        : DispatchBase(std::move(server)), name_(std::move(name)), value_(std::move(value)) {}

protected:
    std::vector<Member> Members() override
    {
        return {
            {L"Name", Kind::Method, 0, [this](const Args&, Result& r) { r.String(name_); }},
            {L"ActualSize", Kind::Method, 0,
             [this](const Args&, Result& r) { r.Integer(static_cast<long>(value_.size() * sizeof(wchar_t))); }},
            {L"Value", Kind::Method, 0, [this](const Args&, Result& r) { Value(r); }},
        };
    }

private:
    void Value(Result& result)
    {
        if (!value_.empty())
            return result.String(value_);
        VARIANT null;
        V_VT(&null) = VT_NULL;
        result.Variant(null);
    }

    std::wstring name_, value_;
};

class RecordSetObject;

class FieldsObject : public DispatchBase {
public:
    FieldsObject(std::shared_ptr<ServerState> server, RecordSetObject* records);
    ~FieldsObject() override;

protected:
    std::vector<Member> Members() override;

private:
    RecordSetObject* records_;
};

class RecordSetObject : public DispatchBase {
public:
    using DispatchBase::DispatchBase;
    ~RecordSetObject() override
    {
        if (connection_)
            connection_->Release();
    }

    IDispatch* Field(long index)
    {
        OpenOnly();
        if (index < 0 || index >= static_cast<long>(table_.fields.size()))
            Fail(L"Item cannot be found in the collection corresponding to the requested name or ordinal.",
                 DISP_E_BADINDEX);
        std::wstring value;
        if (record_ < table_.records.size())
            value = table_.records[record_][static_cast<std::size_t>(index)];
        return new FieldObject(SharedServer(), table_.fields[static_cast<std::size_t>(index)], value);
    }

    long FieldCount()
    {
        OpenOnly();
        return static_cast<long>(table_.fields.size());
    }

protected:
    std::vector<Member> Members() override
    {
        return {
            {L"ActiveConnection", Kind::Put, 1, [this](const Args& a, Result&) { SetConnection(a.Value(0)); }},
            {L"Open", Kind::Method, 1, [this](const Args& a, Result&) { Open(a.String(0)); }},
            {L"Fields", Kind::Method, 0,
             [this](const Args&, Result& r) {
                 OpenOnly();
                 r.Object(new FieldsObject(SharedServer(), this));
             }},
            {L"Fields", Kind::Get, 1, [this](const Args& a, Result& r) { r.Object(Field(a.Integer(0))); }},
            {L"RecordCount", Kind::Method, 0,
             [this](const Args&, Result& r) {
                 OpenOnly();
                 r.Integer(table_.countKnown ? static_cast<long>(table_.records.size()) : -1);
             }},
            {L"Eof", Kind::Method, 0,
             [this](const Args&, Result& r) {
                 OpenOnly();
                 r.Boolean(record_ >= table_.records.size());
             }},
            {L"MoveNext", Kind::Method, 0,
             [this](const Args&, Result&) {
                 OpenOnly();
                 if (record_ >= table_.records.size())
                     Fail(L"Either BOF or EOF is True, or the current record has been deleted.");
                 ++record_;
             }},
            {L"Close", Kind::Method, 0, [this](const Args&, Result&) { Close(); }},
        };
    }

private:
    void OpenOnly() const
    {
        if (!open_)
            Fail(L"Operation is not allowed when the object is closed.");
    }

    void SetConnection(const VARIANT& value)
    {
        if (V_VT(&value) != VT_DISPATCH || !V_DISPATCH(&value))
            Fail(L"ActiveConnection takes a connection object.", DISP_E_TYPEMISMATCH);
        if (connection_)
            connection_->Release();
        connection_ = V_DISPATCH(&value);
        connection_->AddRef();
    }

    std::wstring ConnectionFile()
    {
        if (!connection_)
            Fail(L"The connection cannot be used to perform this operation.");
        DISPID id = 0;
        LPOLESTR name = const_cast<LPOLESTR>(L"ConnectionString");
        DISPPARAMS none{};
        VARIANT file;
        VariantInit(&file);
        if (FAILED(connection_->GetIDsOfNames(IID_NULL, &name, 1, 0, &id)) ||
            FAILED(connection_->Invoke(id, IID_NULL, 0, DISPATCH_METHOD | DISPATCH_PROPERTYGET, &none, &file,
                                       nullptr, nullptr)) ||
            V_VT(&file) != VT_BSTR) {
            VariantClear(&file);
            Fail(L"The connection cannot be used to perform this operation.");
        }
        std::wstring path(V_BSTR(&file), SysStringLen(V_BSTR(&file)));
        VariantClear(&file);
        if (path.empty())
            Fail(L"Operation is not allowed when the object is closed.");
        return path;
    }

    void Open(const std::wstring& query)
    {
        if (open_)
            Fail(L"Operation is not allowed when the object is open.");
        const std::wstring table = TableOfQuery(query);
        const std::vector<TableData> tables = ReadTables(ConnectionFile());
        const auto found = std::find_if(tables.begin(), tables.end(), [&](const TableData& t) { return t.name == table; });
        if (found == tables.end())
            Fail(L"The database engine cannot find the input table or query '" + table + L"'.");
        table_ = *found;
        record_ = 0;
        open_ = true;
        CountOpen(1);
    }

    void Close()
    {
        OpenOnly();
        open_ = false;
        CountOpen(-1);
    }

    IDispatch* connection_ = nullptr;
    TableData table_;
    std::size_t record_ = 0;
    bool open_ = false;
};

FieldsObject::FieldsObject(std::shared_ptr<ServerState> server, RecordSetObject* records)
    : DispatchBase(std::move(server)), records_(records)
{
    records_->AddRef();
}

FieldsObject::~FieldsObject() { records_->Release(); }

std::vector<DispatchBase::Member> FieldsObject::Members()
{
    return {
        {L"Count", Kind::Method, 0, [this](const Args&, Result& r) { r.Integer(records_->FieldCount()); }},
        {L"item", Kind::Get, 1, [this](const Args& a, Result& r) { r.Object(records_->Field(a.Integer(0))); }},
    };
}

} // namespace

} // namespace xlserver

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    using namespace xlserver;
    ServerProgram program{
        {{AdoConnectionProgId, AdoConnectionClsid, L"Tavelin database connection stand-in",
          [](std::shared_ptr<ServerState>& state) {
              state = std::make_shared<ServerState>();
              return static_cast<IDispatch*>(new ConnectionObject(state));
          }},
         {AdoRecordSetProgId, AdoRecordSetClsid, L"Tavelin database record set stand-in",
          [](std::shared_ptr<ServerState>& state) {
              state = std::make_shared<ServerState>();
              return static_cast<IDispatch*>(new RecordSetObject(state));
          }}},
        L"adoserver /regserver | /unregserver: registers or removes the database stand-in "
        L"(\"ADODB.Connection\", \"ADODB.RecordSet\"); COM starts it with /automation."};
    program.mayReplace = true;
    return RunServerProgram(program);
}
