// The LDAP dialect of the ADO stand-in: what a query text searches for, and
// the texts it refuses.
#include <gtest/gtest.h>
#include "ADODB.h"

namespace {

struct ParseCase {
    const wchar_t* text;
    const wchar_t* server;
    int port;
    const wchar_t* base;
    const wchar_t* filter;
};

const ParseCase kParseCases[] = {
    {L"select Name, operatingsystem from 'LDAP://dc=example,dc=com' where objectclass='computer'",
     L"", 0, L"dc=example,dc=com", L"(objectclass=computer)"},
    {L"select Name, operatingsystem from 'LDAP://corp.example.com/dc=corp,dc=example,dc=com' "
     L"where objectclass='computer' and operatingsystem='*server*'",
     L"corp.example.com", 0, L"dc=corp,dc=example,dc=com",
     L"(&(objectclass=computer)(operatingsystem=*server*))"},
    {L"select Name from 'LDAP://dc=example,dc=com' where objectclass='computer' and "
     L"operatingsystem<>'*server*'",
     L"", 0, L"dc=example,dc=com", L"(&(objectclass=computer)(!(operatingsystem=*server*)))"},
    {L"SELECT name FROM 'LDAP://127.0.0.1:3890/ou=PCs,dc=x' WHERE (cn='a' OR cn = 'b') AND NOT "
     L"cn='c';",
     L"127.0.0.1", 3890, L"ou=PCs,dc=x", L"(&(|(cn=a)(cn=b))(!(cn=c)))"},
    {L"select cn from 'LDAP://dc=x'", L"", 0, L"dc=x", L"(objectClass=*)"},
    {L"select cn from 'LDAP://dc=x' where cn='*'", L"", 0, L"dc=x", L"(cn=*)"},
    {L"select cn from 'LDAP://dc=x' where uSNChanged>=12000 and cn<='m*'", L"", 0, L"dc=x",
     L"(&(uSNChanged>=12000)(cn<=m\\2a))"},
    // A doubled quote is a quote of the value; an escaped slash belongs to the name.
    {L"select cn from 'LDAP://o''neil.example/dc=o''neil,dc=a\\/b' where cn='o''neil'",
     L"o'neil.example", 0, L"dc=o'neil,dc=a/b", L"(cn=o'neil)"},
    // Escapes of the name itself pass to the server unchanged.
    {L"select cn from 'LDAP://dc=a\\,b,dc=c\\\\d'", L"", 0, L"dc=a\\,b,dc=c\\\\d", L"(objectClass=*)"},
    // Filter syntax inside a value is escaped: it matches names that hold
    // those characters and cannot widen the search.
    {L"select cn from 'LDAP://dc=x' where objectclass='computer' and name='none)(|(name=*'", L"", 0,
     L"dc=x", L"(&(objectclass=computer)(name=none\\29\\28|\\28name=*))"},
    {L"select cn from 'LDAP://dc=x' where cn='back\\slash'", L"", 0, L"dc=x", L"(cn=back\\5cslash)"},
};

TEST(DirectoryDialect, QueryTextsBecomeTheirSearch)
{
    for (const auto& c : kParseCases) {
        SCOPED_TRACE(testing::Message() << std::string(c.text, c.text + wcslen(c.text)));
        TDirectoryQuery q = ParseDirectoryQuery(c.text);
        EXPECT_EQ(q.Server, c.server);
        EXPECT_EQ(q.Port, c.port);
        EXPECT_EQ(q.BaseDN, c.base);
        EXPECT_EQ(q.Filter, c.filter);
    }
    TDirectoryQuery q = ParseDirectoryQuery(kParseCases[0].text);
    EXPECT_EQ(q.Attributes, (std::vector<String>{L"Name", L"operatingsystem"}));
}

TEST(DirectoryDialect, TextsOutsideTheDialectAreRefused)
{
    const wchar_t* bad[] = {
        L"",
        L"select from 'LDAP://dc=x'",
        L"select cn, from 'LDAP://dc=x'",
        L"select cn from LDAP://dc=x",
        L"select cn from 'LDAP://dc=x",
        L"select cn from 'GC://dc=x'",
        L"select cn from 'LDAP://server/'",
        L"select cn from 'LDAP://server:99999/dc=x'",
        L"select cn from 'LDAP://dc=x' where",
        L"select cn from 'LDAP://dc=x' where (cn='a'",
        L"select cn from 'LDAP://dc=x' where cn < 'a'",
        L"select cn from 'LDAP://dc=x' where cn=other",
        L"select cn from 'LDAP://dc=x' where cn='a' order by cn",
        L"select cn from 'LDAP://dc=x'; select sn from 'LDAP://dc=y'",
    };
    for (const wchar_t* text : bad) {
        SCOPED_TRACE(testing::Message() << std::string(text, text + wcslen(text)));
        EXPECT_THROW(ParseDirectoryQuery(text), EOleException);
    }
}

} // namespace
