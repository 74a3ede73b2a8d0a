// The directory query for the signed-in user's domain: the exact texts for
// domains of one to five labels and every state of the two boxes, names that
// must not break out of the query, and the user's domain itself.
#include <gtest/gtest.h>
#include "DirectoryQuery.h"

namespace {

struct QueryCase {
    const wchar_t* domain;
    bool servers;
    bool workstations;
    const wchar_t* text;
};

// Both boxes checked: all computers; only "Servers": servers; "Servers"
// unchecked: workstations, whatever "Workstations" is.
const QueryCase kQueries[] = {
    {L"corp", true, true,
     L"select Name, operatingsystem from 'LDAP://dc=corp' where objectclass='computer'"},
    {L"corp", true, false,
     L"select Name, operatingsystem from 'LDAP://dc=corp' where objectclass='computer' and operatingsystem='*server*'"},
    {L"corp", false, true,
     L"select Name, operatingsystem from 'LDAP://dc=corp' where objectclass='computer' and operatingsystem<>'*server*'"},
    {L"corp", false, false,
     L"select Name, operatingsystem from 'LDAP://dc=corp' where objectclass='computer' and operatingsystem<>'*server*'"},
    {L"example.com", true, true,
     L"select Name, operatingsystem from 'LDAP://dc=example,dc=com' where objectclass='computer'"},
    {L"example.com", true, false,
     L"select Name, operatingsystem from 'LDAP://dc=example,dc=com' where objectclass='computer' and operatingsystem='*server*'"},
    {L"example.com", false, true,
     L"select Name, operatingsystem from 'LDAP://dc=example,dc=com' where objectclass='computer' and operatingsystem<>'*server*'"},
    {L"example.com", false, false,
     L"select Name, operatingsystem from 'LDAP://dc=example,dc=com' where objectclass='computer' and operatingsystem<>'*server*'"},
    {L"corp.example.com", true, true,
     L"select Name, operatingsystem from 'LDAP://corp.example.com/dc=corp,dc=example,dc=com' where objectclass='computer'"},
    {L"corp.example.com", true, false,
     L"select Name, operatingsystem from 'LDAP://corp.example.com/dc=corp,dc=example,dc=com' where objectclass='computer' and operatingsystem='*server*'"},
    {L"corp.example.com", false, true,
     L"select Name, operatingsystem from 'LDAP://corp.example.com/dc=corp,dc=example,dc=com' where objectclass='computer' and operatingsystem<>'*server*'"},
    {L"corp.example.com", false, false,
     L"select Name, operatingsystem from 'LDAP://corp.example.com/dc=corp,dc=example,dc=com' where objectclass='computer' and operatingsystem<>'*server*'"},
    {L"lab.corp.example.com", true, true,
     L"select Name, operatingsystem from 'LDAP://lab.corp.example.com/dc=lab,dc=corp,dc=example,dc=com' where objectclass='computer'"},
    {L"lab.corp.example.com", true, false,
     L"select Name, operatingsystem from 'LDAP://lab.corp.example.com/dc=lab,dc=corp,dc=example,dc=com' where objectclass='computer' and operatingsystem='*server*'"},
    {L"lab.corp.example.com", false, true,
     L"select Name, operatingsystem from 'LDAP://lab.corp.example.com/dc=lab,dc=corp,dc=example,dc=com' where objectclass='computer' and operatingsystem<>'*server*'"},
    {L"lab.corp.example.com", false, false,
     L"select Name, operatingsystem from 'LDAP://lab.corp.example.com/dc=lab,dc=corp,dc=example,dc=com' where objectclass='computer' and operatingsystem<>'*server*'"},
    {L"dev.lab.corp.example.com", true, true,
     L"select Name, operatingsystem from 'LDAP://dev.lab.corp.example.com/dc=dev,dc=lab,dc=corp,dc=example,dc=com' where objectclass='computer'"},
    {L"dev.lab.corp.example.com", true, false,
     L"select Name, operatingsystem from 'LDAP://dev.lab.corp.example.com/dc=dev,dc=lab,dc=corp,dc=example,dc=com' where objectclass='computer' and operatingsystem='*server*'"},
    {L"dev.lab.corp.example.com", false, true,
     L"select Name, operatingsystem from 'LDAP://dev.lab.corp.example.com/dc=dev,dc=lab,dc=corp,dc=example,dc=com' where objectclass='computer' and operatingsystem<>'*server*'"},
    {L"dev.lab.corp.example.com", false, false,
     L"select Name, operatingsystem from 'LDAP://dev.lab.corp.example.com/dc=dev,dc=lab,dc=corp,dc=example,dc=com' where objectclass='computer' and operatingsystem<>'*server*'"},};

TEST(DirectoryQuery, TextsForEveryDomainLengthAndBoxState)
{
    for (const auto& c : kQueries) {
        SCOPED_TRACE(testing::Message() << std::string(c.text, c.text + wcslen(c.text)));
        EXPECT_EQ(DirectoryQueryText(c.domain, c.servers, c.workstations), c.text);
    }
}

struct EscapeCase {
    const wchar_t* domain;
    const wchar_t* text;    // with both boxes checked
    const wchar_t* server;  // as the directory client reads the text back
    const wchar_t* base;
};

const EscapeCase kEscapes[] = {
    {L"o'neil.com", L"select Name, operatingsystem from 'LDAP://dc=o''neil,dc=com' where objectclass='computer'",
     L"", L"dc=o'neil,dc=com"},
    {L"a,b.example.com",
     L"select Name, operatingsystem from 'LDAP://a,b.example.com/dc=a\\,b,dc=example,dc=com' where objectclass='computer'",
     L"a,b.example.com", L"dc=a\\,b,dc=example,dc=com"},
    {L"x/y.example.com",
     L"select Name, operatingsystem from 'LDAP://x\\/y.example.com/dc=x\\/y,dc=example,dc=com' where objectclass='computer'",
     L"x/y.example.com", L"dc=x/y,dc=example,dc=com"},
    {L"(corp).example.com",
     L"select Name, operatingsystem from 'LDAP://(corp).example.com/dc=(corp),dc=example,dc=com' where objectclass='computer'",
     L"(corp).example.com", L"dc=(corp),dc=example,dc=com"},
    {L"example.com' where objectclass='*",
     L"select Name, operatingsystem from 'LDAP://dc=example,dc=com'' where objectclass\\=''*' where objectclass='computer'",
     L"", L"dc=example,dc=com' where objectclass\\='*"},
    {L"#x.=y+ .com",
     L"select Name, operatingsystem from 'LDAP://#x.=y+ .com/dc=\\#x,dc=\\=y\\+\\ ,dc=com' where objectclass='computer'",
     L"#x.=y+ .com", L"dc=\\#x,dc=\\=y\\+\\ ,dc=com"},
};

TEST(DirectoryQuery, NamesStayInsideTheQuery)
{
    for (const auto& c : kEscapes) {
        SCOPED_TRACE(testing::Message() << std::string(c.text, c.text + wcslen(c.text)));
        String text = DirectoryQueryText(c.domain, true, true);
        EXPECT_EQ(text, c.text);
        TDirectoryQuery read = ParseDirectoryQuery(text);
        EXPECT_EQ(read.Server, c.server);
        EXPECT_EQ(read.BaseDN, c.base);
        EXPECT_EQ(read.Filter, L"(objectclass=computer)");
        EXPECT_EQ(read.Attributes, (std::vector<String>{L"Name", L"operatingsystem"}));
    }
}

TEST(DirectoryQuery, TheUsersDomainIsTheTextBeforeTheBackslash)
{
    EXPECT_EQ(UserDomain(L"corp.example.com\\jdoe"), L"corp.example.com");
    EXPECT_EQ(UserDomain(L"a\\b\\c"), L"a");
    EXPECT_EQ(UserDomain(L"jdoe"), L"");

    // The DNS-domain form names a domain where the user signed into one, and
    // is refused and reported where not (as here); the plain logon form
    // always has its domain part.
    try {
        const String dns = GetUserNameText(12);
        EXPECT_FALSE(UserDomain(dns).empty()) << std::string(dns.begin(), dns.end());
    } catch (const EOSError& e) {
        EXPECT_FALSE(e.Message().empty());
    }
    String logon = GetUserNameText(2);
    EXPECT_FALSE(UserDomain(logon).empty()) << std::string(logon.begin(), logon.end());
}

} // namespace
