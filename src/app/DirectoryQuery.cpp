#include "DirectoryQuery.h"
#define SECURITY_WIN32
#include <security.h>

namespace {

struct Split {
    String before, after;
};

// The text before the first dot and after it; without a dot the "before"
// part is empty and the "after" part is the whole text.
Split SplitAtDot(const String& text)
{
    std::size_t dot = text.find(L'.');
    if (dot == String::npos)
        return {String(), text};
    return {text.substr(0, dot), text.substr(dot + 1)};
}

// A value of a distinguished name, escaped as LDAP requires; a slash is
// escaped too, since inside a path it would end the server part.
String DnValue(const String& value)
{
    String out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        wchar_t c = value[i];
        bool edgeSpace = c == L' ' && (i == 0 || i + 1 == value.size());
        if (String(L",+\"\\<>;=/").find(c) != String::npos || edgeSpace || (c == L'#' && i == 0))
            out += L'\\';
        if (c == L'\0')
            out += L"\\00";
        else
            out += c;
    }
    return out;
}

String DomainDn(const std::vector<String>& labels)
{
    String dn;
    for (const String& label : labels)
        dn += (dn.empty() ? L"dc=" : L",dc=") + DnValue(label);
    return dn;
}

String ServerPart(const String& server)
{
    String out;
    for (wchar_t c : server) {
        if (c == L'\\' || c == L'/')
            out += L'\\';
        out += c;
    }
    return out;
}

// Inside the query's quotes a quote is written twice.
String Quoted(const String& text)
{
    String out;
    for (wchar_t c : text) {
        out += c;
        if (c == L'\'')
            out += c;
    }
    return out;
}

} // namespace

String GetUserNameText(int Format)
{
    char buffer[250] = {};
    ULONG size = sizeof buffer;
    if (!GetUserNameExA(static_cast<EXTENDED_NAME_FORMAT>(Format), buffer, &size))
        throw EOSError(L"The signed-in user has no name of that form: " + SysErrorMessage(GetLastError()));
    buffer[sizeof buffer - 1] = '\0';
    return AnsiToWide(buffer);
}

String UserDomain(const String& UserName)
{
    std::size_t slash = UserName.find(L'\\');
    return slash == String::npos ? String() : UserName.substr(0, slash);
}

String DirectoryQueryText(const String& Domain, bool Servers, bool Workstations)
{
    auto [l1, rest1] = SplitAtDot(Domain);
    auto [l2, rest2] = SplitAtDot(rest1);
    auto [l3, rest3] = SplitAtDot(rest2);

    // The rules apply in this order, a later match replacing an earlier one.
    String path;
    if (l2.empty())
        path = L"LDAP://" + DomainDn({l1, rest2});
    if (l1.empty() && l2.empty() && l3.empty() && !rest1.empty())
        path = L"LDAP://" + DomainDn({rest1});
    if (l3.empty() && !l2.empty())
        path = L"LDAP://" + ServerPart(Domain) + L"/" + DomainDn({l1, l2, rest2});
    if (!l3.empty()) {
        // Every further label is a domain component of its own.
        std::vector<String> labels{l1, l2, l3};
        for (std::size_t start = 0;;) {
            std::size_t dot = rest3.find(L'.', start);
            labels.push_back(rest3.substr(start, dot == String::npos ? String::npos : dot - start));
            if (dot == String::npos)
                break;
            start = dot + 1;
        }
        path = L"LDAP://" + ServerPart(Domain) + L"/" + DomainDn(labels);
    }

    String filter = L"' where objectclass='computer'";
    if (!Servers)
        filter += L" and operatingsystem<>'*server*'";
    else if (!Workstations)
        filter += L" and operatingsystem='*server*'";
    return L"select Name, operatingsystem from '" + Quoted(path) + filter;
}

int ListDirectoryComputers(TADOCommand* Command, TADOQuery* Query, const String& QueryText,
                           TStrings* Lines)
{
    Command->SetCommandText(QueryText);
    Query->Close();
    Query->SetRecordset(Command->Execute());
    Query->Open();

    TOwned<TStringList> names(New<TStringList>());
    TField* name = Query->FieldByName(L"Name");
    for (Query->First(); !Query->Eof(); Query->Next()) {
        String text = name->GetAsString();
        if (!text.empty())
            names->Add(text);
    }
    int count = Query->RecordCount();
    names->Sort();

    Lines->BeginUpdate();
    Lines->Clear();
    Lines->AddStrings(names.get());
    Lines->EndUpdate();
    return count;
}
