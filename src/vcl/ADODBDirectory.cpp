// The directory client behind the ADO stand-in: finds the server, binds and
// runs a paged subtree search through the platform's LDAP client.
#include "ADODB.h"
#include <winldap.h>
#include <winber.h>
#include <dsgetdc.h>
#include <lmcons.h>
#include <lmapibuf.h>
#include <cwctype>

namespace {

struct LdapUnbind {
    void operator()(LDAP* ld) const { ldap_unbind(ld); }
};
struct MessageFree {
    void operator()(LDAPMessage* m) const { ldap_msgfree(m); }
};
struct ControlFree {
    void operator()(LDAPControlW* c) const { ldap_control_freeW(c); }
};
struct ControlsFree {
    void operator()(LDAPControlW** c) const { ldap_controls_freeW(c); }
};
struct BervalFree {
    void operator()(berval* b) const { ber_bvfree(b); }
};
struct ValuesFree {
    void operator()(PWCHAR* v) const { ldap_value_freeW(v); }
};
using LdapPtr = std::unique_ptr<LDAP, LdapUnbind>;
using MessagePtr = std::unique_ptr<LDAPMessage, MessageFree>;
using ValuesPtr = std::unique_ptr<PWCHAR, ValuesFree>;

// The wide LDAP functions take writable pointers but never write through them.
PWCHAR W(const String& s) { return const_cast<PWCHAR>(s.c_str()); }

[[noreturn]] void DirectoryError(const String& what, ULONG code)
{
    const wchar_t* text = ldap_err2stringW(code);
    throw EOleException(what + L": " + (text && *text ? String(text) : String(L"error")) + L" (LDAP " +
                        IntToStr(code) + L")");
}

// The DNS name of the domain a distinguished name lies in: its dc= values
// joined by dots ("ou=PCs,dc=corp,dc=example" gives "corp.example").
String DomainOfDN(const String& dn)
{
    String domain;
    std::size_t i = 0;
    while (i < dn.size()) {
        String type, value;
        while (i < dn.size() && dn[i] != L'=' && dn[i] != L',')
            type += dn[i++];
        if (i < dn.size() && dn[i] == L'=')
            ++i;
        while (i < dn.size() && dn[i] != L',' && dn[i] != L'+') {
            if (dn[i] == L'\\' && i + 1 < dn.size()) {
                auto hex = [](wchar_t c) { return std::iswxdigit(c) != 0; };
                if (i + 2 < dn.size() && hex(dn[i + 1]) && hex(dn[i + 2])) {
                    value += static_cast<wchar_t>(std::stoi(dn.substr(i + 1, 2), nullptr, 16));
                    i += 3;
                    continue;
                }
                ++i;
            }
            value += dn[i++];
        }
        while (i < dn.size() && dn[i] != L',')
            ++i;  // further values of a multi-valued name
        if (i < dn.size())
            ++i;
        while (!type.empty() && type.front() == L' ')
            type.erase(type.begin());
        if (SameText(type, L"dc") && !value.empty())
            domain += (domain.empty() ? L"" : L".") + value;
    }
    return domain;
}

// A path without a server goes to a directory server of the domain its
// object lies in: the platform's domain-controller locator first (DNS
// service records), else the domain's own DNS name, whose address records
// name its directory servers too.
String LocateDirectoryServer(const String& baseDN)
{
    String domain = DomainOfDN(baseDN);
    PDOMAIN_CONTROLLER_INFOW info = nullptr;
    DWORD rc = DsGetDcNameW(nullptr, domain.empty() ? nullptr : domain.c_str(), nullptr, nullptr,
                            DS_DIRECTORY_SERVICE_REQUIRED | DS_RETURN_DNS_NAME, &info);
    if (rc == ERROR_SUCCESS && info) {
        String server = info->DomainControllerName ? info->DomainControllerName : L"";
        NetApiBufferFree(info);
        while (!server.empty() && server.front() == L'\\')
            server.erase(server.begin());
        if (!server.empty())
            return server;
    }
    if (!domain.empty())
        return domain;
    throw EOleException(L"No directory server was found for \"" + baseDN + L"\": " + SysErrorMessage(rc));
}

LdapPtr Connect(const String& host, int port, int timeout)
{
    LdapPtr ld(ldap_initW(W(host), port ? static_cast<ULONG>(port) : LDAP_PORT));
    if (!ld)
        DirectoryError(L"Cannot open a directory session for \"" + host + L"\"", LdapGetLastError());
    ULONG version = LDAP_VERSION3;
    ldap_set_optionW(ld.get(), LDAP_OPT_PROTOCOL_VERSION, &version);
    ldap_set_optionW(ld.get(), LDAP_OPT_REFERRALS, LDAP_OPT_OFF);
    // The host is a server already, not a domain to look up again.
    ldap_set_optionW(ld.get(), LDAP_OPT_AREC_EXCLUSIVE, LDAP_OPT_ON);
    l_timeval wait{timeout, 0};
    ULONG rc = ldap_connect(ld.get(), timeout > 0 ? &wait : nullptr);
    if (rc != LDAP_SUCCESS)
        DirectoryError(L"The directory server \"" + host + L"\" cannot be reached", rc);
    return ld;
}

// Binds as the signed-in user through the platform's integrated sign-in when
// the server offers it. A server that offers no such mechanism could not
// accept those credentials anyway; it is read anonymously.
void Bind(LDAP* ld, const String& host)
{
    String mechanisms = L"supportedSASLMechanisms";
    PWCHAR attrs[] = {W(mechanisms), nullptr};
    String rootEntry, anyObject = L"(objectClass=*)";
    LDAPMessage* raw = nullptr;
    ULONG rc = ldap_search_sW(ld, W(rootEntry), LDAP_SCOPE_BASE, W(anyObject), attrs, 0, &raw);
    MessagePtr root(raw);
    if (rc != LDAP_SUCCESS)
        DirectoryError(L"The directory server \"" + host + L"\" cannot be reached", rc);

    bool integrated = false;
    if (LDAPMessage* entry = ldap_first_entry(ld, root.get())) {
        ValuesPtr values(ldap_get_valuesW(ld, entry, W(mechanisms)));
        for (PWCHAR* v = values.get(); v && *v; ++v)
            integrated = integrated || SameText(*v, L"GSS-SPNEGO") || SameText(*v, L"GSSAPI");
    }
    if (integrated) {
        // Domain servers may refuse a sign-in that is neither signed nor sealed.
        ldap_set_optionW(ld, LDAP_OPT_SIGN, LDAP_OPT_ON);
        ldap_set_optionW(ld, LDAP_OPT_ENCRYPT, LDAP_OPT_ON);
        rc = ldap_bind_sW(ld, nullptr, nullptr, LDAP_AUTH_NEGOTIATE);
    } else {
        rc = ldap_simple_bind_sW(ld, nullptr, nullptr);
    }
    if (rc != LDAP_SUCCESS)
        DirectoryError(L"The directory server \"" + host + L"\" refused the sign-in", rc);
}

std::vector<std::optional<String>> ReadRecord(LDAP* ld, LDAPMessage* entry,
                                              const std::vector<String>& attributes)
{
    std::vector<std::optional<String>> record;
    record.reserve(attributes.size());
    for (const String& name : attributes) {
        // Single values are all a field holds; a further value is left out.
        ValuesPtr values(ldap_get_valuesW(ld, entry, W(name)));
        if (values && values.get()[0])
            record.emplace_back(values.get()[0]);
        else
            record.emplace_back();
    }
    return record;
}

[[noreturn]] void SearchError(const String& host, ULONG code)
{
    if (code == LDAP_SIZELIMIT_EXCEEDED)
        DirectoryError(L"The directory server \"" + host +
                           L"\" holds more objects than it returns in one answer; the command's "
                           L"\"Page Size\" asks for them in pages",
                       code);
    DirectoryError(L"The directory search on \"" + host + L"\" failed", code);
}

} // namespace

TADORecordsetPtr RunDirectoryQuery(const TDirectoryQuery& Query, int PageSize, int CommandTimeout,
                                   int ConnectionTimeout)
{
    String host = Query.Server.empty() ? LocateDirectoryServer(Query.BaseDN) : Query.Server;
    LdapPtr ld = Connect(host, Query.Port, ConnectionTimeout);
    Bind(ld.get(), host);

    std::vector<PWCHAR> attrs;
    for (const String& a : Query.Attributes)
        attrs.push_back(W(a));
    attrs.push_back(nullptr);
    l_timeval limit{CommandTimeout, 0};

    auto records = std::make_shared<TADORecordset>(Query.Attributes);
    std::unique_ptr<berval, BervalFree> cookie;
    for (;;) {
        PLDAPControlW page = nullptr;
        if (PageSize > 0) {
            ULONG rc = ldap_create_page_controlW(ld.get(), static_cast<ULONG>(PageSize), cookie.get(),
                                                 TRUE, &page);
            if (rc != LDAP_SUCCESS)
                DirectoryError(L"Cannot ask \"" + host + L"\" for pages", rc);
        }
        std::unique_ptr<LDAPControlW, ControlFree> pageOwner(page);
        PLDAPControlW controls[] = {page, nullptr};

        LDAPMessage* raw = nullptr;
        ULONG rc = ldap_search_ext_sW(ld.get(), W(Query.BaseDN), LDAP_SCOPE_SUBTREE, W(Query.Filter),
                                      attrs.data(), 0, page ? controls : nullptr, nullptr,
                                      CommandTimeout > 0 ? &limit : nullptr, 0, &raw);
        MessagePtr result(raw);
        if (rc != LDAP_SUCCESS)
            SearchError(host, rc);
        for (LDAPMessage* e = ldap_first_entry(ld.get(), raw); e; e = ldap_next_entry(ld.get(), e))
            records->AddRecord(ReadRecord(ld.get(), e, Query.Attributes));
        if (!page)
            break;

        ULONG code = 0;
        PLDAPControlW* serverControls = nullptr;
        rc = ldap_parse_resultW(ld.get(), raw, &code, nullptr, nullptr, nullptr, &serverControls, FALSE);
        std::unique_ptr<PLDAPControlW, ControlsFree> serverOwner(serverControls);
        if (rc != LDAP_SUCCESS || code != LDAP_SUCCESS)
            SearchError(host, rc != LDAP_SUCCESS ? rc : code);
        berval* next = nullptr;
        ULONG estimate = 0;
        rc = ldap_parse_page_controlW(ld.get(), serverControls, &estimate, &next);
        cookie.reset(next);
        if (rc != LDAP_SUCCESS)
            DirectoryError(L"The directory server \"" + host + L"\" sent no further page", rc);
        if (!cookie || cookie->bv_len == 0)
            break;
    }
    return records;
}
